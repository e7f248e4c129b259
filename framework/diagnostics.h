// Diagnostic lines on standard output, never shown to the pupil.
#pragma once

#include <string_view>

namespace zembra {

// Writes a GBK line to standard output in the platform's text encoding (GbkForStandardOutput).
// Flushed at once.
void WriteDiagnostic(std::string_view gbk);

}  // namespace zembra
