#include <windows.h>

#include <string>

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
    HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return StatusOf(GetLastError());
    file = reinterpret_cast<std::intptr_t>(handle);
    return OpenStatus::Opened;
}

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
    DWORD read = 0;
    if (!ReadFile(Handle(m_file), buffer, static_cast<DWORD>(size), &read, nullptr)) return -1;
    return static_cast<long>(read);
}

bool RawFile::Write(const char* data, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(Handle(m_file), data, static_cast<DWORD>(size), &written, nullptr)) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool RawFile::Flush() { return FlushFileBuffers(Handle(m_file)) != 0; }

bool RawFile::Close() {
    if (m_file == kNoFile) return true;
    const bool ok = CloseHandle(Handle(m_file)) != 0;
    m_file = kNoFile;
    return ok;
}

bool ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFileIfPresent(const std::filesystem::path& path) {
    return DeleteFileW(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, unsigned attempt) {
    std::filesystem::path result = target;
    result += L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(attempt) + L".tmp";
    return result;
}

void PauseBeforeRetry() { Sleep(50); }

}  // namespace zembra
