#include <windows.h>

#include <string>

#include "framework/file_faults.h"
#include "framework/file_io.h"

namespace zembra {
namespace {

OpenStatus StatusOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return OpenStatus::NotFound;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return OpenStatus::Busy;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return OpenStatus::Exists;
        default:
            return OpenStatus::Failed;
    }
}

HANDLE Handle(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

// Opens or creates `path` as CreateFileW does; on success `file` holds the handle.
OpenStatus Open(const std::filesystem::path& path, DWORD access, DWORD share, DWORD disposition, std::intptr_t& file) {
    if (FileOperationFails(FileOperation::Open)) return OpenStatus::Failed;
    HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return StatusOf(GetLastError());
    // A named pipe or a device at the path may never end: only a file on a disk is read.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return OpenStatus::NotAFile;
    }
    file = reinterpret_cast<std::intptr_t>(handle);
    return OpenStatus::Opened;
}

std::optional<FileIdentity> IdentityFrom(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    const auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
    return FileIdentity{
        info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
        join(info.nFileSizeHigh, info.nFileSizeLow),
        static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime))};
}

// The attributes a user sets that a replaced file keeps. Read-only is not among them: a read-only
// file is not replaced at all.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

OpenStatus RawFile::OpenExisting(const std::filesystem::path& path) {
    Close();
    return Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, m_file);
}

OpenStatus RawFile::OpenReadOnly(const std::filesystem::path& path) {
    Close();
    return Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, m_file);
}

OpenStatus RawFile::CreateNew(const std::filesystem::path& path) {
    Close();
    return Open(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, m_file);
}

long RawFile::Read(char* buffer, std::size_t size) {
    if (FileOperationFails(FileOperation::Read)) return -1;
    DWORD read = 0;
    if (!ReadFile(Handle(m_file), buffer, static_cast<DWORD>(size), &read, nullptr)) return -1;
    return static_cast<long>(read);
}

bool RawFile::Write(const char* data, std::size_t size) {
    if (FileOperationFails(FileOperation::Write)) return false;
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(Handle(m_file), data, static_cast<DWORD>(size), &written, nullptr)) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool RawFile::Flush() {
    if (FileOperationFails(FileOperation::Flush)) return false;
    return FlushFileBuffers(Handle(m_file)) != 0;
}

bool RawFile::MatchPermissions(const std::filesystem::path& model) {
    const DWORD attributes = GetFileAttributesW(model.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if ((attributes & kKeptAttributes) == 0) return true;
    FILE_BASIC_INFO info{};  // times of zero stay as they are
    info.FileAttributes = attributes & kKeptAttributes;
    return SetFileInformationByHandle(Handle(m_file), FileBasicInfo, &info, sizeof info) != 0;
}

bool RawFile::Close() {
    if (m_file == kNoFile) return true;
    const bool ok = CloseHandle(Handle(m_file)) != 0;
    m_file = kNoFile;
    return !FileOperationFails(FileOperation::Close) && ok;
}

std::optional<FileIdentity> RawFile::Identity() const {
    if (m_file == kNoFile) return std::nullopt;
    return IdentityFrom(Handle(m_file));
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::optional<FileIdentity> identity = IdentityFrom(handle);
    CloseHandle(handle);
    return identity;
}

ReplaceStatus ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (FileOperationFails(FileOperation::Rename)) return ReplaceStatus::Failed;
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return ReplaceStatus::Replaced;
    }
    // A target that another program holds open is refused with either error.
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION
               ? ReplaceStatus::Busy
               : ReplaceStatus::Failed;
}

bool RemoveFileIfPresent(const std::filesystem::path& path) {
    if (FileOperationFails(FileOperation::Remove)) return false;
    return DeleteFileW(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool IsWriteProtected(const std::filesystem::path& path) {
    // Asks the system itself: an open for writing that neither creates nor truncates, shared with
    // everyone so that a file another program holds counts as busy, not as protected.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
    HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return path;
    std::wstring target(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()), 0);
    if (length >= target.size()) {
        target.resize(length);
        length = GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()), 0);
    }
    CloseHandle(handle);
    if (length == 0 || length >= target.size()) return path;
    target.resize(length);
    return target;
}

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessHasEnded(unsigned long id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

void PauseBeforeRetry() { Sleep(50); }

}  // namespace zembra
