#include "framework/diagnostics.h"

#include <cstdio>

#include "framework/code_page.h"

namespace zembra {

void WriteDiagnostic(std::string_view gbk) {
    const std::string bytes = GbkForStandardOutput(gbk);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace zembra
