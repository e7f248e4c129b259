// Where the Linux program keeps its progress file, and the private folder made for it.
#include "app/qt/progress_location.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/qt/progress_lock.h"
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

// A process that takes the lock of `progressFile` and holds it until it is killed. A record lock
// belongs to a process, so the other side of the test must be another process.
pid_t HoldLockInChild(const fs::path& progressFile) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        const ProgressLock lock(progressFile);
        const char answer = lock.Acquired() ? 'y' : 'n';
        [[maybe_unused]] const ssize_t written = write(ready[1], &answer, 1);
        for (;;) pause();
    }
    char answer = 0;
    EXPECT_EQ(read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    close(ready[0]);
    close(ready[1]);
    return child;
}

void Kill(pid_t child) {
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

TEST(ProgressLock, IsHeldElsewhereUntilItsHolderIsKilled) {
    testing::TempDir dir;
    const fs::path file = dir / "ZbXxYy.zb";
    const pid_t holder = HoldLockInChild(file);
    {
        const ProgressLock second(file);
        EXPECT_FALSE(second.Acquired());
        EXPECT_EQ(second.Holder(), holder);
    }
    Kill(holder);
    // The lock file stays; its lock went with the process.
    EXPECT_TRUE(fs::exists(ProgressLock::LockFileFor(file)));
    const ProgressLock next(file);
    EXPECT_TRUE(next.Acquired());
    EXPECT_EQ(next.Holder(), 0);
    // The progress file itself is neither made nor touched.
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(ModeOf(ProgressLock::LockFileFor(file)) & 077, 0u);
}

TEST(ProgressLock, EachProgressFileHasItsOwn) {
    testing::TempDir dir;
    fs::create_directory(dir / "a");
    fs::create_directory(dir / "b");
    const pid_t holder = HoldLockInChild(dir / "a" / "ZbXxYy.zb");
    EXPECT_TRUE(ProgressLock(dir / "b" / "ZbXxYy.zb").Acquired());
    Kill(holder);
}

// Where no lock can be made the program runs as it did without one, rather than not at all.
TEST(ProgressLock, CountsAsAcquiredWhereNoLockFileCanBeMade) {
    testing::TempDir dir;
    const ProgressLock lock(dir / "missing" / "ZbXxYy.zb");
    EXPECT_TRUE(lock.Acquired());
    EXPECT_EQ(lock.Holder(), 0);
}

}  // namespace
}  // namespace zembra
