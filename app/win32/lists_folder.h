// Where the Windows program keeps the pupil's word lists: %APPDATA%\Zembra\lists, the user's
// roaming data folder, which follows the user to another computer of the same domain.
#pragma once

#include <filesystem>

namespace zembra::win32 {

// The folder for the given roaming data folder (the system's known folder, else the APPDATA
// value; either may be null). A value counts only when it is an absolute path: a relative one
// would put the lists wherever the program started. Empty when neither counts, which leaves the
// program without lists.
std::filesystem::path ListsFolderFor(const wchar_t* roamingAppData, const wchar_t* appDataVariable);

// The folder for this user. It may not exist yet: the first import makes it.
std::filesystem::path ListsFolderPath();

}  // namespace zembra::win32
