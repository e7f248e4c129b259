// The program as the build made it. ZEMBRA_PROGRAM_FILE is the build machine's path; under Wine
// its root is drive Z:.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

namespace zembra::testing {

inline std::wstring ProgramFile() {
    const std::string unixPath = ZEMBRA_PROGRAM_FILE;
    const int length = static_cast<int>(unixPath.size());
    std::wstring path(unixPath.size(), L'\0');
    path.resize(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), length, path.data(), length)));
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return L"Z:" + path;
}

}  // namespace zembra::testing
