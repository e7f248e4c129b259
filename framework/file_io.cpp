// The parts of the file access that are the same on every platform: the names of temporary files
// and the clearing away of those that crashed saves left behind.
#include <charconv>
#include <string>
#include <string_view>
#include <system_error>

#include "framework/file_io.h"

namespace zembra {
namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";

// Parses target.PID.ATTEMPT.tmp; the process id when `name` has that form, else nothing.
bool ParseTemporaryName(std::string_view name, std::string_view target, unsigned long& process) {
    if (name.size() <= target.size() + kTemporarySuffix.size() || !name.starts_with(target) ||
        !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    name = name.substr(target.size(), name.size() - target.size() - kTemporarySuffix.size());
    // Now ".PID.ATTEMPT": two runs of digits, each after a dot.
    unsigned long attempt = 0;
    const char* end = name.data() + name.size();
    if (name.front() != '.') return false;
    const auto [afterId, idError] = std::from_chars(name.data() + 1, end, process);
    if (idError != std::errc() || afterId == name.data() + 1 || afterId == end || *afterId != '.') return false;
    const auto [afterAttempt, attemptError] = std::from_chars(afterId + 1, end, attempt);
    return attemptError == std::errc() && afterAttempt != afterId + 1 && afterAttempt == end;
}

// How often a replace is tried while another copy of the program holds the file (50 ms apart).
constexpr int kReplaceAttempts = 20;
// How many names a temporary file may try while leftovers of crashed saves take the first ones.
constexpr unsigned kTemporaryNames = 1000;

// Replaces `target` by `temporary`, waiting a little while another copy of the program holds it.
bool ReplaceWhenFree(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    for (int attempt = 1;; ++attempt) {
        const ReplaceStatus status = ReplaceFileAtomically(temporary, target);
        if (status != ReplaceStatus::Busy || attempt == kReplaceAttempts) return status == ReplaceStatus::Replaced;
        PauseBeforeRetry();
    }
}

std::string_view View(const std::u8string& text) { return {reinterpret_cast<const char*>(text.data()), text.size()}; }

}  // namespace

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, unsigned attempt) {
    std::filesystem::path result = target;
    result += "." + std::to_string(CurrentProcessId()) + "." + std::to_string(attempt) + std::string(kTemporarySuffix);
    return result;
}

bool WriteInPlaceOf(const std::filesystem::path& target, const std::string& bytes,
                    std::optional<FileIdentity>& written) {
    for (unsigned attempt = 0; attempt < kTemporaryNames; ++attempt) {
        const std::filesystem::path temporary = TemporaryPathBeside(target, attempt);
        RawFile file;
        const OpenStatus status = file.CreateNew(temporary);
        if (status == OpenStatus::Exists) continue;  // a leftover of a crash: take another name
        if (status != OpenStatus::Opened) return false;
        const bool ok = file.MatchPermissions(target) && file.Write(bytes.data(), bytes.size()) && file.Flush();
        written = file.Identity();
        const bool closed = file.Close();
        if (ok && closed && ReplaceWhenFree(temporary, target)) return true;
        RemoveFileIfPresent(temporary);
        return false;
    }
    return false;
}

void RemoveLeftoverTemporaries(const std::filesystem::path& target) {
    const std::u8string targetName = target.filename().u8string();
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::u8string name = entries->path().filename().u8string();
        unsigned long process = 0;
        if (!ParseTemporaryName(View(name), View(targetName), process)) continue;
        // Another copy's save in progress keeps its file; this process saves one file at a time.
        if (process != CurrentProcessId() && !ProcessHasEnded(process)) continue;
        std::error_code statusError;
        if (!entries->is_regular_file(statusError) || entries->is_symlink(statusError)) continue;
        RemoveFileIfPresent(entries->path());
    }
}

}  // namespace zembra
