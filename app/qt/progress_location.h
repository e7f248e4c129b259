// Where the Linux program keeps its progress file: $XDG_DATA_HOME/zembra/ZbXxYy.zb, by default
// ~/.local/share/zembra/ZbXxYy.zb.
#pragma once

#include <filesystem>

namespace zembra {

// The file for the given environment values (either may be null). XDG_DATA_HOME counts only
// when it is an absolute path; otherwise the default under the home folder is used. Empty when
// neither is an absolute path: a relative one would put the file wherever the program started.
std::filesystem::path ProgressFileFor(const char* xdgDataHome, const char* home);

// The file for this process's environment; the home folder from the password database when
// HOME is not set.
std::filesystem::path ProgressFilePath();

// Whether `folder` is fit to hold the progress file: a folder owned by this user that neither
// its group nor others may write (else another user could plant a link that a save follows). A
// link in its place counts when the link itself is this user's too.
bool IsPrivateFolder(const std::filesystem::path& folder);

// Creates `folder` and the missing folders above it for their owner only (mode 0700). Folders
// that exist are left as they are. False when the folder does not exist afterwards.
bool CreatePrivateFolders(const std::filesystem::path& folder);

}  // namespace zembra
