// What the parent is told after choosing a file to import: how many rows were taken and, for the
// lines left out, the first few line numbers with why and how many more; or, for a file refused
// whole, why, with nothing changed.
#pragma once

#include <string>

#include "drill/word_lists.h"

namespace zembra {

// The lines left out that the message names one by one; the rest are counted.
inline constexpr int kProblemsNamed = 5;

// The GBK message for an import's outcome.
std::string ImportReport(const ImportOutcome& outcome);

}  // namespace zembra
