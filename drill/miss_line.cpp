#include "drill/miss_line.h"

#include "ui/text_colour.h"
#include "ui/texts.h"

namespace zembra {
namespace {

// Each mark is told by its shape as well as its colour, for pupils who do not tell red from green:
// in the typed text a character wrong or too many is struck out, a wrong capital or a swap
// underlined; in the answer every character the typed text did not have right is underlined. The
// marked characters are bold.
TextRun TypedRun(std::string_view text, const SlipSpan& span) {
    TextRun run{std::string(text.substr(span.begin, span.length)), kTypedTextColour};
    if (span.kind == SlipKind::Same) return run;
    run.colour = kTypedSlipColour;
    run.bold = true;
    run.strikeOut = span.kind == SlipKind::Wrong || span.kind == SlipKind::Extra;
    run.underline = !run.strikeOut;
    return run;
}

TextRun AnswerRun(std::string_view text, const SlipSpan& span) {
    TextRun run{std::string(text.substr(span.begin, span.length)), kRed};
    if (span.kind == SlipKind::Same) return run;
    run.colour = kAnswerSlipColour;
    run.bold = true;
    run.underline = true;
    return run;
}

}  // namespace

MissLine MakeMissLine(const AnswerAlignment& alignment) {
    MissLine line;
    line.text.append(texts::kMissTypedPrefix)
        .append(alignment.typed)
        .append(texts::kMissAnswerPrefix)
        .append(alignment.answer);
    for (const SlipSpan& span : alignment.TypedSpans()) line.runs.push_back(TypedRun(alignment.typed, span));
    line.runs.push_back({texts::kMissArrow, kTypedTextColour});
    for (const SlipSpan& span : alignment.AnswerSpans()) line.runs.push_back(AnswerRun(alignment.answer, span));
    return line;
}

}  // namespace zembra
