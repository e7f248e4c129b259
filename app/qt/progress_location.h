// Where the Linux program keeps its progress file: $XDG_DATA_HOME/zembra/ZbXxYy.zb, by default
// ~/.local/share/zembra/ZbXxYy.zb.
#pragma once

#include <filesystem>

namespace zembra {

// The file for the given environment values (either may be null). XDG_DATA_HOME counts only
// when it is an absolute path; otherwise the default under the home folder is used.
std::filesystem::path ProgressFileFor(const char* xdgDataHome, const char* home);

// The file for this process's environment; the home folder from the password database when
// HOME is not set.
std::filesystem::path ProgressFilePath();

// Creates `folder` and the missing folders above it for their owner only (mode 0700). Folders
// that exist are left as they are. False when the folder does not exist afterwards.
bool CreatePrivateFolders(const std::filesystem::path& folder);

}  // namespace zembra
