// The dialog-initialisation resource that comes with a dialog template (resource type 240, same
// id as the template): records that add strings to list and combo boxes when the dialog opens.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

namespace zembra::win32 {

constexpr WORD kDialogInitResourceType = 240;

struct DialogInitRecord {
    int control;
    unsigned message;  // as stored: the 16-bit codes 0x0401 (list box) and 0x0403 (combo box)
    std::string text;  // GBK, without its terminating zero
};

// Each record: 16-bit control id, 16-bit message, 32-bit byte length (text with its zero), text.
// A zero control id ends the list; so does data that stops in the middle of a record.
std::vector<DialogInitRecord> ParseDialogInit(std::span<const std::uint8_t> data);

// The records of the dialog-initialisation resource `resourceId` of `module`; none when there is
// no such resource.
std::vector<DialogInitRecord> LoadDialogInit(HMODULE module, int resourceId);

// Reads the dialog-initialisation resource `resourceId` of `module`, if there is one, and adds its
// strings to the controls of `dialog`.
void ApplyDialogInit(HWND dialog, HMODULE module, int resourceId);

}  // namespace zembra::win32
