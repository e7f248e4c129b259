#include "app/win32/lists_folder.h"

#include <windows.h>
// After windows.h, which the lean build leaves without COM.
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>
#include <cwctype>
#include <string>
#include <string_view>

namespace zembra::win32 {
namespace {

// A drive's path ("C:\...") or a share's ("\\server\share\..."), which is where a roaming folder
// redirected by a domain lies; the toolchain's path::is_absolute takes a share's for a relative one.
bool IsAbsolute(std::wstring_view path) {
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() < 3) return false;
    if (std::iswalpha(path[0]) && path[1] == L':') return separator(path[2]);
    return separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

}  // namespace

std::filesystem::path ListsFolderFor(const wchar_t* roamingAppData, const wchar_t* appDataVariable) {
    for (const wchar_t* value : {roamingAppData, appDataVariable}) {
        if (value != nullptr && IsAbsolute(value)) return std::filesystem::path(value) / L"Zembra" / L"lists";
    }
    return {};
}

std::filesystem::path ListsFolderPath() {
    PWSTR known = nullptr;
    std::wstring roaming;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known))) roaming = known;
    CoTaskMemFree(known);  // also when the call failed
    return ListsFolderFor(roaming.c_str(), _wgetenv(L"APPDATA"));
}

}  // namespace zembra::win32
