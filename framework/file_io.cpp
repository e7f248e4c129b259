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

std::string_view View(const std::u8string& text) { return {reinterpret_cast<const char*>(text.data()), text.size()}; }

}  // namespace

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, unsigned attempt) {
    std::filesystem::path result = target;
    result += "." + std::to_string(CurrentProcessId()) + "." + std::to_string(attempt) + std::string(kTemporarySuffix);
    return result;
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
