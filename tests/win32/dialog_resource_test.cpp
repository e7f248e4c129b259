// The dialog template read back from the program's resources, against the table it was generated
// from, and the reader on data that is cut or of the older kind.
#include <gtest/gtest.h>

#include <vector>

#include "framework/win32/dialog_resource.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"

namespace zembra::win32 {
namespace {

TEST(DialogResourceTest, TheProgramsTemplateIsTheTable) {
    const auto dialog = LoadDialogResource(GetModuleHandleW(nullptr), ids::kDialog);
    ASSERT_TRUE(dialog);
    const DialogTemplate& table = MainDialogTemplate();
    EXPECT_EQ(dialog->rect.width, table.width);
    EXPECT_EQ(dialog->rect.height, table.height);
    EXPECT_EQ(dialog->fontFace, L"微软雅黑");
    EXPECT_EQ(dialog->fontPoints, table.fontPoints);
    EXPECT_EQ(dialog->fontWeight, FW_NORMAL);
    EXPECT_FALSE(dialog->fontItalic);
    ASSERT_EQ(dialog->items.size(), table.controls.size());
    for (std::size_t i = 0; i < dialog->items.size(); ++i) {
        const DialogItemResource& item = dialog->items[i];
        const ControlTemplate& control = table.controls[i];
        SCOPED_TRACE("control " + std::to_string(control.id));
        EXPECT_EQ(item.id, control.id);
        EXPECT_EQ(item.rect.x, control.rect.x);
        EXPECT_EQ(item.rect.y, control.rect.y);
        // The resource compiler keeps no size for an icon static, which takes its icon's size.
        if (control.kind != ControlKind::IconStatic) {
            EXPECT_EQ(item.rect.width, control.rect.width);
            EXPECT_EQ(item.rect.height, control.rect.height);
        }
        const bool picture = control.kind == ControlKind::IconStatic || control.kind == ControlKind::BitmapStatic;
        EXPECT_EQ(item.IsPicture(), picture);
        EXPECT_EQ(item.image, picture ? control.image : 0);
        // The dialog manager loads the icons; a poster's bitmap is named in its creation data.
        EXPECT_EQ(item.imageInTitle, control.kind == ControlKind::IconStatic);
        EXPECT_EQ(item.WindowName(), control.kind == ControlKind::IconStatic ? L"#" + std::to_wstring(control.image)
                                                                             : std::wstring(item.title));
    }
}

// The template of some of the items is whole, and those items are the same in it.
TEST(DialogResourceTest, ATemplateOfSomeItemsHoldsThemAlone) {
    const std::span<const std::uint8_t> bytes = DialogResourceBytes(GetModuleHandleW(nullptr), ids::kDialog);
    const auto dialog = ParseDialogTemplate(bytes);
    ASSERT_TRUE(dialog);
    std::vector<bool> keep(dialog->items.size());
    for (std::size_t i = 0; i < keep.size(); ++i) keep[i] = i % 3 != 1;
    const std::vector<DWORD> kept = TemplateWithItems(bytes, *dialog, keep);
    const auto part = ParseDialogTemplate({reinterpret_cast<const std::uint8_t*>(kept.data()), kept.size() * 4});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->fontFace, dialog->fontFace);
    EXPECT_EQ(part->rect.width, dialog->rect.width);
    std::size_t at = 0;
    for (std::size_t i = 0; i < keep.size(); ++i) {
        if (!keep[i]) continue;
        ASSERT_LT(at, part->items.size());
        const DialogItemResource& expected = dialog->items[i];
        const DialogItemResource& item = part->items[at++];
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.style, expected.style);
        EXPECT_EQ(item.ClassName(), expected.ClassName());
        EXPECT_EQ(item.title, expected.title);
        EXPECT_EQ(item.image, expected.image);
        EXPECT_EQ(item.rect.y, expected.rect.y);
    }
    EXPECT_EQ(at, part->items.size());
    // None kept: the dialog alone.
    const std::vector<DWORD> none = TemplateWithItems(bytes, *dialog, std::vector<bool>(keep.size(), false));
    const auto empty = ParseDialogTemplate({reinterpret_cast<const std::uint8_t*>(none.data()), none.size() * 4});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->items.empty());
}

TEST(DialogResourceTest, CutOrOlderTemplatesAreRefused) {
    HRSRC resource = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids::kDialog), RT_DIALOG);
    ASSERT_NE(resource, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, resource)));
    const std::vector<std::uint8_t> whole(bytes, bytes + SizeofResource(nullptr, resource));
    EXPECT_TRUE(ParseDialogTemplate(whole));
    for (std::size_t cut : {whole.size() / 2, std::size_t{30}, std::size_t{3}, std::size_t{0}}) {
        EXPECT_FALSE(ParseDialogTemplate(std::span(whole).first(cut))) << cut << " bytes";
    }
    // The older template starts with its style, not with version 1 and 0xFFFF.
    std::vector<std::uint8_t> older = whole;
    older[2] = 0;
    older[3] = 0;
    EXPECT_FALSE(ParseDialogTemplate(older));
}

}  // namespace
}  // namespace zembra::win32
