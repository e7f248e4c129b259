// Where the Windows program keeps the word lists: the roaming data folder from the system, else
// from APPDATA (a share's path where a domain redirects it), and none when neither names an
// absolute folder.
#include "app/win32/lists_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace zembra::win32 {
namespace {

struct FolderCase {
    const char* name;
    friend void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }
    const wchar_t* roamingAppData;
    const wchar_t* appDataVariable;
    const wchar_t* expected;
};

class ListsFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ListsFolderTest, IsZembraListsInTheRoamingDataFolder) {
    const FolderCase& c = GetParam();
    EXPECT_EQ(ListsFolderFor(c.roamingAppData, c.appDataVariable).wstring(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Win32, ListsFolderTest,
                         ::testing::Values(FolderCase{"KnownFolderFirst", LR"(C:\Users\pupil\AppData\Roaming)",
                                                      LR"(D:\elsewhere)",
                                                      LR"(C:\Users\pupil\AppData\Roaming\Zembra\lists)"},
                                           FolderCase{"VariableWithoutKnownFolder", nullptr, LR"(D:\Profiles\pupil)",
                                                      LR"(D:\Profiles\pupil\Zembra\lists)"},
                                           FolderCase{"VariableWhenKnownFolderEmpty", L"", LR"(\\server\home\pupil)",
                                                      LR"(\\server\home\pupil\Zembra\lists)"},
                                           FolderCase{"RelativeValuesCountForNothing", L"Roaming", LR"(\Roaming)", L""},
                                           FolderCase{"DriveRelativeCountsForNothing", L"C:Roaming", nullptr, L""},
                                           FolderCase{"Neither", nullptr, nullptr, L""}),
                         [](const auto& test) { return std::string(test.param.name); });

// Wine sets APPDATA to the roaming folder of its user, as Windows does.
TEST(ListsFolder, ThisUsersIsUnderAppData) {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(ListsFolderPath(), std::filesystem::path(appData) / L"Zembra" / L"lists");
}

}  // namespace
}  // namespace zembra::win32
