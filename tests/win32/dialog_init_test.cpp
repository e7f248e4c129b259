// The dialog-initialisation data: the program's own resource, and the reader on cut data.
#include <gtest/gtest.h>

#include <vector>

#include "framework/win32/dialog_init.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"

namespace zembra::win32 {
namespace {

std::span<const std::uint8_t> ProgramResource() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(ids::kDialog), MAKEINTRESOURCEW(kDialogInitResourceType));
    if (resource == nullptr) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
    return {bytes, SizeofResource(module, resource)};
}

TEST(DialogInitTest, TheProgramsResourceAddsTheCategoryListToTheComboBox) {
    const auto data = ProgramResource();
    EXPECT_EQ(data.size(), 241u);
    const std::vector<DialogInitRecord> records = ParseDialogInit(data);
    const auto entries = CategoryComboEntries();
    ASSERT_EQ(records.size(), entries.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].control, ids::kCategoryCombo);
        EXPECT_EQ(records[i].message, 0x0403u);
        EXPECT_EQ(records[i].text, entries[i]) << i;
    }
}

TEST(DialogInitTest, ReadingStopsAtTheEndMarkOrWhereARecordIsCut) {
    const std::vector<std::uint8_t> two{0x4E, 0x04, 0x03, 0x04, 3, 0, 0, 0, 'a', 'b', 0,  //
                                        0x4E, 0x04, 0x01, 0x04, 2, 0, 0, 0, 'c', 0,       //
                                        0,    0,                                          //
                                        0x4E, 0x04, 0x03, 0x04, 2, 0, 0, 0, 'd', 0};
    const auto records = ParseDialogInit(two);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].text, "ab");
    EXPECT_EQ(records[1].message, 0x0401u);
    EXPECT_EQ(records[1].text, "c");

    const std::span<const std::uint8_t> all(two);
    EXPECT_EQ(ParseDialogInit(all.first(18)).size(), 1u);  // the second text is cut
    EXPECT_EQ(ParseDialogInit(all.first(14)).size(), 1u);  // the second header is cut
    const std::vector<std::uint8_t> tooLong{0x4E, 0x04, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 'x', 0};
    EXPECT_TRUE(ParseDialogInit(tooLong).empty());
    EXPECT_TRUE(ParseDialogInit({}).empty());
}

}  // namespace
}  // namespace zembra::win32
