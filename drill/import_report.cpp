#include "drill/import_report.h"

#include <cstdarg>
#include <cstdio>

#include "ui/texts.h"

namespace zembra {
namespace {

[[gnu::format(printf, 2, 3)]] void Append(std::string& text, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    char line[256];
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length > 0)
        text.append(
            line, static_cast<std::size_t>(length) < sizeof line ? static_cast<std::size_t>(length) : sizeof line - 1);
}

const char* Why(ListLineFault fault) {
    switch (fault) {
        case ListLineFault::NoEnglish:
            return texts::kLineNoEnglish;
        case ListLineFault::NoChinese:
            return texts::kLineNoChinese;
        case ListLineFault::NoGbkForm:
            return texts::kLineNoGbkForm;
        case ListLineFault::TooLong:
            return texts::kLineTooLong;
        case ListLineFault::PastRowLimit:
            break;
    }
    return texts::kLinePastRowLimit;
}

const char* WhyRefused(const ImportOutcome& outcome) {
    if (outcome.fault == ImportOutcome::Fault::Unreadable) return texts::kListUnreadable;
    if (outcome.fault == ImportOutcome::Fault::NotStored) return texts::kListNotStored;
    switch (outcome.reading.refusal) {
        case ListRefusal::TooLarge:
            return texts::kListTooLarge;
        case ListRefusal::NotText:
            return texts::kListNotText;
        case ListRefusal::NoUsableLine:
        case ListRefusal::None:
            break;
    }
    return texts::kListNoRows;
}

}  // namespace

std::string ImportReport(const ImportOutcome& outcome) {
    std::string text;
    if (!outcome.Imported()) {
        Append(text, texts::kListRefusedFormat, WhyRefused(outcome));
        return text;
    }
    Append(text, texts::kImportedFormat, static_cast<int>(outcome.reading.rows.size()));
    const auto& problems = outcome.reading.problems;
    const int count = static_cast<int>(problems.size());
    if (count == 0) return text;
    Append(text, texts::kLinesLeftOutFormat, count);
    for (int i = 0; i < count && i < kProblemsNamed; ++i) {
        const ListLineProblem& problem = problems[static_cast<std::size_t>(i)];
        Append(text, texts::kLineProblemFormat, problem.line, Why(problem.fault));
    }
    if (count > kProblemsNamed) Append(text, texts::kMoreLinesFormat, count - kProblemsNamed);
    return text;
}

}  // namespace zembra
