#include "framework/diagnostics.h"

#include <cstdio>

#include "framework/code_page.h"

namespace zembra {

void WriteDiagnostic(std::string_view gbk) {
#ifdef _WIN32
    const std::string_view bytes = gbk;
#else
    const std::string converted = GbkToUtf8(gbk);
    const std::string_view bytes = converted;
#endif
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace zembra
