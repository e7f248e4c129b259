#include "drill/import_report.h"

#include "drill/formatted.h"
#include "ui/texts.h"

namespace zembra {
namespace {

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
        text += Formatted(texts::kListRefusedFormat, WhyRefused(outcome));
        return text;
    }
    text += Formatted(texts::kImportedFormat, static_cast<int>(outcome.reading.rows.size()));
    const auto& problems = outcome.reading.problems;
    const int count = static_cast<int>(problems.size());
    if (count == 0) return text;
    text += Formatted(texts::kLinesLeftOutFormat, count);
    for (int i = 0; i < count && i < kProblemsNamed; ++i) {
        const ListLineProblem& problem = problems[static_cast<std::size_t>(i)];
        text += Formatted(texts::kLineProblemFormat, problem.line, Why(problem.fault));
    }
    if (count > kProblemsNamed) text += Formatted(texts::kMoreLinesFormat, count - kProblemsNamed);
    return text;
}

}  // namespace zembra
