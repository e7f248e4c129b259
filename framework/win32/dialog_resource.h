// An extended dialog template (resource type RT_DIALOG) read back as data: the dialog's size and
// font, and each control's id, styles, class, title, rectangle and image, with the place of its
// bytes in the template. The host needs it to lay the dialog out again at another screen scale, to
// find the image resource of each picture, and to have the dialog manager create only some of the
// controls, making the others itself when they are first needed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

namespace zembra::win32 {

struct DialogUnitRect {
    int x, y, width, height;
};

struct DialogItemResource {
    int id;
    DWORD style;
    DWORD exStyle;
    int classAtom;           // the predefined class (0x80 button ... 0x85 combo box), 0 for a named one
    std::wstring className;  // a named class, else empty
    std::wstring title;      // the title as text; empty when it is an ordinal or absent
    // A picture's resource id: the title as an ordinal, which the dialog manager loads, or, for a
    // picture static without one, the 16-bit creation data, which names the picture that the host
    // loads when the control is shown. Else 0.
    int image;
    bool imageInTitle;  // the dialog manager loads `image` as it creates the control
    DialogUnitRect rect;
    // The item's bytes in the template (from its double-word boundary to the end of its creation
    // data).
    std::size_t offset;
    std::size_t length;

    // An icon or bitmap static, which takes the size of its picture.
    bool IsPicture() const;
    // The class name to create the control with: the predefined class's name, or the named class.
    std::wstring ClassName() const;
    // The window name the dialog manager gives the control: its text, or "#n" for the ordinal n.
    std::wstring WindowName() const;
};

struct DialogResource {
    DialogUnitRect rect;
    std::wstring fontFace;
    int fontPoints = 0;
    int fontWeight = 0;
    bool fontItalic = false;
    BYTE fontCharSet = DEFAULT_CHARSET;
    std::vector<DialogItemResource> items;
};

// Nothing when the data is not a whole extended template.
std::optional<DialogResource> ParseDialogTemplate(std::span<const std::uint8_t> data);

// The template `data` (as parsed into `dialog`) with only the items for which `keep` is true, in
// their order: for the dialog manager to create those alone. Double-word aligned, as the dialog
// manager needs it.
std::vector<DWORD> TemplateWithItems(std::span<const std::uint8_t> data, const DialogResource& dialog,
                                     const std::vector<bool>& keep);

// The bytes of the template `id` of `module` (empty when there is none), and the same parsed.
std::span<const std::uint8_t> DialogResourceBytes(HMODULE module, int id);
std::optional<DialogResource> LoadDialogResource(HMODULE module, int id);

}  // namespace zembra::win32
