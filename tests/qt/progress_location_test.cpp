// Where the Linux program keeps its progress file, and the private folder made for it.
#include "app/qt/progress_location.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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
        LocationCase{"DataHomeRelative", "data", "/home/pupil", "/home/pupil/.local/share/zembra/ZbXxYy.zb"},
        // No home folder at all, or a relative one: no file rather than one where the program started.
        LocationCase{"NoHome", nullptr, nullptr, ""}, LocationCase{"HomeRelative", "", "pupil", ""}),
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

// Only a folder of this user's that no one else may write holds the progress file.
struct FolderCase {
    const char* name;
    mode_t mode;
    bool link;  // the folder is reached through a link of this user's
    bool isPrivate;
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

class DataFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DataFolder, IsPrivateOnlyWhenNoOneElseMayWriteIt) {
    testing::TempDir dir;
    fs::create_directory(dir / "real");
    fs::permissions(dir / "real", fs::perms(GetParam().mode));
    if (GetParam().link) fs::create_directory_symlink("real", dir / "zembra");
    EXPECT_EQ(IsPrivateFolder(dir / (GetParam().link ? "zembra" : "real")), GetParam().isPrivate);
}

INSTANTIATE_TEST_SUITE_P(Modes, DataFolder,
                         ::testing::Values(FolderCase{"OwnerOnly", 0700, false, true},
                                           FolderCase{"ReadableByAll", 0755, false, true},
                                           FolderCase{"GroupWritable", 0770, false, false},
                                           FolderCase{"WritableByAll", 0777, false, false},
                                           FolderCase{"StickyButWritableByAll", 01777, false, false},
                                           FolderCase{"LinkToAPrivateFolder", 0700, true, true},
                                           FolderCase{"LinkToAnOpenFolder", 0777, true, false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(DataFolder, AFileOrNothingIsNoFolder) {
    testing::TempDir dir;
    testing::WriteBytes(dir / "zembra", "");
    EXPECT_FALSE(IsPrivateFolder(dir / "zembra"));
    EXPECT_FALSE(IsPrivateFolder(dir / "missing"));
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
        ASSERT_GE(second.HolderFd(), 0) << "a pidfd of the holder";
        EXPECT_EQ(second.Failure(), 0);
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

// Where no lock can be made the program runs as it did without one, rather than not at all, and
// says why.
TEST(ProgressLock, CountsAsAcquiredWhereNoLockFileCanBeMade) {
    testing::TempDir dir;
    const fs::path file = dir / "ZbXxYy.zb";
    const fs::path lockFile = ProgressLock::LockFileFor(file);
    const auto failureWith = [&](auto make) {
        make();
        const ProgressLock lock(file);
        EXPECT_TRUE(lock.Acquired());
        EXPECT_EQ(lock.Holder(), 0);
        const int failure = lock.Failure();
        fs::remove_all(lockFile);
        return failure;
    };
    EXPECT_EQ(failureWith([] {}), 0);
    EXPECT_EQ(failureWith([&] { fs::create_directory(lockFile); }), EISDIR);
    EXPECT_EQ(failureWith([&] { fs::create_symlink("elsewhere", lockFile); }), ELOOP);
    EXPECT_EQ(ProgressLock(dir / "missing" / "ZbXxYy.zb").Failure(), ENOENT);
}

}  // namespace
}  // namespace zembra
