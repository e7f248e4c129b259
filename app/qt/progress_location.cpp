#include "app/qt/progress_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace zembra {

std::filesystem::path ProgressFileFor(const char* xdgDataHome, const char* home) {
    std::filesystem::path data;
    if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute()) {
        data = xdgDataHome;
    } else if (home && std::filesystem::path(home).is_absolute()) {
        data = std::filesystem::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return data / "zembra" / "ZbXxYy.zb";
}

std::filesystem::path ProgressFilePath() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        if (const passwd* user = getpwuid(getuid())) home = user->pw_dir;
    }
    return ProgressFileFor(std::getenv("XDG_DATA_HOME"), home);
}

bool IsPrivateFolder(const std::filesystem::path& folder) {
    struct stat link {};
    struct stat status {};
    if (lstat(folder.c_str(), &link) != 0 || stat(folder.c_str(), &status) != 0) return false;
    const uid_t user = geteuid();
    return S_ISDIR(status.st_mode) && status.st_uid == user && link.st_uid == user &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool CreatePrivateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return true;
    if (folder.has_parent_path() && folder.parent_path() != folder) CreatePrivateFolders(folder.parent_path());
    // mkdir applies the umask, which can only take bits away from 0700.
    if (mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return false;
    return std::filesystem::is_directory(folder, error);
}

}  // namespace zembra
