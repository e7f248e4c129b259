// Where the Linux program keeps its progress file, and the private folder made for it.
#include "app/qt/progress_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace zembra {
namespace {

namespace fs = std::filesystem;

struct LocationCase {
    const char* name;
    const char* xdgDataHome;
    const char* home;
    const char* expected;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const LocationCase& c, std::ostream* out) { *out << c.name; }

class ProgressLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(ProgressLocation, FollowsTheDataHome) {
    const LocationCase& c = GetParam();
    EXPECT_EQ(ProgressFileFor(c.xdgDataHome, c.home), fs::path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, ProgressLocation,
    ::testing::Values(
        LocationCase{"DataHomeSet", "/data/pupil", "/home/pupil", "/data/pupil/zembra/ZbXxYy.zb"},
        LocationCase{"DataHomeUnset", nullptr, "/home/pupil", "/home/pupil/.local/share/zembra/ZbXxYy.zb"},
        LocationCase{"DataHomeEmpty", "", "/home/pupil", "/home/pupil/.local/share/zembra/ZbXxYy.zb"},
        // A relative XDG_DATA_HOME is invalid and ignored.
        LocationCase{"DataHomeRelative", "data", "/home/pupil", "/home/pupil/.local/share/zembra/ZbXxYy.zb"}),
    [](const ::testing::TestParamInfo<LocationCase>& test) { return std::string(test.param.name); });

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(PrivateFolders, MissingFoldersAreMadeForTheOwnerOnly) {
    testing::TempDir dir;
    const mode_t oldMask = umask(022);
    const fs::path folder = dir.Path() / "share" / "zembra";
    EXPECT_TRUE(CreatePrivateFolders(folder));
    umask(oldMask);
    EXPECT_EQ(ModeOf(dir.Path() / "share"), 0700u);
    EXPECT_EQ(ModeOf(folder), 0700u);
}

TEST(PrivateFolders, ExistingFolderIsLeftAsItIs) {
    testing::TempDir dir;
    const fs::path folder = dir.Path() / "zembra";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms(0755));
    EXPECT_TRUE(CreatePrivateFolders(folder));
    EXPECT_EQ(ModeOf(folder), 0755u);
}

TEST(PrivateFolders, FailsWhereAFileStandsInTheWay) {
    testing::TempDir dir;
    testing::WriteBytes(dir.Path() / "share", "not a folder");
    EXPECT_FALSE(CreatePrivateFolders(dir.Path() / "share" / "zembra"));
}

}  // namespace
}  // namespace zembra
