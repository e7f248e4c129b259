// A temporary folder for a test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace zembra::testing {

class TempDir {
public:
    // A new folder in `parent`, by default the system's folder for temporary files.
    explicit TempDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace zembra::testing
