// The result line after a miss whose slips are worth showing: what it says to a screen reader, and
// how it is drawn, the typed text with its wrong and extra characters marked, then the answer with
// the characters it lacked marked.
#pragma once

#include <string>
#include <vector>

#include "drill/answer_alignment.h"
#include "framework/text_run.h"

namespace zembra {

struct MissLine {
    // "答错了。你写的是 recieve，正确的是 receive" (GBK), no markup.
    std::string text;
    // typed → answer, each span in its style (ui/text_colour.h).
    std::vector<TextRun> runs;
};

// For a shown alignment.
MissLine MakeMissLine(const AnswerAlignment& alignment);

}  // namespace zembra
