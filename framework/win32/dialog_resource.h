// An extended dialog template (resource type RT_DIALOG) read back as data: the dialog's size and
// font, and each control's id, style, class, rectangle and image. The host needs it to lay the
// dialog out again at another screen scale and to find the image resource of each picture.
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
    int classAtom;           // the predefined class (0x80 button ... 0x85 combo box), 0 for a named one
    std::wstring className;  // a named class, else empty
    int image;               // a picture's resource id (the title as an ordinal), else 0
    DialogUnitRect rect;

    // An icon or bitmap static, which takes the size of its picture.
    bool IsPicture() const;
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

// The template `id` of `module`, parsed.
std::optional<DialogResource> LoadDialogResource(HMODULE module, int id);

}  // namespace zembra::win32
