// Writes the Win32 resource script of the main dialog from the template table in
// ui/main_dialog_template.cpp: the DIALOGEX 102 with its 100 controls (a bitmap static names its
// bitmap in its creation data, which the Win32 host reads, not in its title), the DLGINIT 102 that fills
// the category combo box, the icon and bitmap resources of ui/images.h, and a header of named ids.
// Built and run on the build machine; the script it writes is compiled by windres.
//
//   make_resource_script OUT.rc OUT_IDS.h
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "framework/code_page.h"
#include "ui/control_ids.h"
#include "ui/images.h"
#include "ui/main_dialog_template.h"
#include "ui/poster.h"

namespace zembra {
namespace {

constexpr int kDialogInitType = 240;  // the resource type the dialog initialisation data uses
constexpr int kComboAddString = 0x0403;

std::string Number(int value) { return std::to_string(value); }

// The symbolic name of a control id as the script and its header spell it.
std::string ControlName(int id) {
    switch (id) {
        case kNoControlId:
            return "IDC_STATIC";
        case ids::kCategoryCaption:
            return "IDC_CATEGORY_CAPTION";
        case ids::kPromptLine:
            return "IDC_PROMPT_LINE";
        case ids::kAnswerHolder:
            return "IDC_ANSWER_HOLDER";
        case ids::kAnswerBox:
            return "IDC_ANSWER_BOX";
        case ids::kDrillFrame:
            return "IDC_DRILL_FRAME";
        case ids::kSubmit:
            return "IDC_SUBMIT";
        case ids::kRetry:
            return "IDC_RETRY";
        case ids::kNext:
            return "IDC_NEXT";
        case ids::kResultLine:
            return "IDC_RESULT_LINE";
        case ids::kRightMark:
            return "IDC_RIGHT_MARK";
        case ids::kWrongMark:
            return "IDC_WRONG_MARK";
        case ids::kNoticeBoardCaption:
            return "IDC_NOTICE_BOARD_CAPTION";
        case ids::kTotalCount:
            return "IDC_TOTAL_COUNT";
        case ids::kMasteredCount:
            return "IDC_MASTERED_COUNT";
        case ids::kTotalLabel:
            return "IDC_TOTAL_LABEL";
        case ids::kMasteredLabel:
            return "IDC_MASTERED_LABEL";
        case ids::kResetAll:
            return "IDC_RESET_ALL";
        case ids::kCategoryCombo:
            return "IDC_CATEGORY_COMBO";
        case ids::kFilterLabel:
            return "IDC_FILTER_LABEL";
        case ids::kDictation:
            return "IDC_DICTATION";
        case ids::kImportList:
            return "IDC_IMPORT_LIST";
        case ids::kRemoveList:
            return "IDC_REMOVE_LIST";
        default:
            break;
    }
    if (id > ids::kAnswerHolder && id <= ids::kLastLetterStatic) return "IDC_LETTER_" + Number(id);
    if (id > ids::kAnswerBox && id <= ids::kLastAnswerEdit) return "IDC_ANSWER_EDIT_" + Number(id);
    for (const Poster& poster : kPosterOrder) {
        if (poster.control == id) return "IDC_POSTER_" + Number(id);
    }
    return "IDC_" + Number(id);
}

std::string ImageName(int image) {
    if (image == ids::kAppIcon) return "IDI_APP";
    if (image == ids::kTickIcon) return "IDI_TICK";
    if (image == ids::kCrossIcon) return "IDI_CROSS";
    return "IDB_POSTER_" + Number(image);
}

// A GBK text as a quoted string of the UTF-8 script.
std::string Quoted(std::string_view gbk) {
    std::string out = "\"";
    for (char c : GbkToUtf8(gbk)) {
        if (c == '"')
            out += "\"\"";
        else
            out += c;
    }
    return out + "\"";
}

// The same text as the exact GBK bytes, for raw data that must not be converted.
std::string QuotedBytes(std::string_view gbk) {
    std::string out = "\"";
    char hex[8];
    for (char c : gbk) {
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
        out += hex;
    }
    return out + "\\0\"";
}

std::string Rect(const DialogRect& r) {
    return Number(r.x) + ", " + Number(r.y) + ", " + Number(r.width) + ", " + Number(r.height);
}

// Appends `flag` or `NOT flag` where the control differs from its statement's default.
void AddStyle(std::string& styles, bool wanted, bool byDefault, const char* flag) {
    if (wanted == byDefault) return;
    if (!styles.empty()) styles += " | ";
    if (!wanted) styles += "NOT ";
    styles += flag;
}

std::string ControlStatement(const ControlTemplate& c) {
    const std::string id = ControlName(c.id);
    const std::string rect = Rect(c.rect);
    std::string line;
    std::string styles;
    bool tabByDefault = false;
    switch (c.kind) {
        case ControlKind::TextStatic: {
            const char* keyword = c.align == Align::Centre ? "CTEXT" : c.align == Align::Right ? "RTEXT" : "LTEXT";
            line = std::string(keyword) + "         " + Quoted(c.text) + ", " + id + ", " + rect;
            break;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            line = std::string(c.kind == ControlKind::PushButton ? "PUSHBUTTON   " : "DEFPUSHBUTTON") + " " +
                   Quoted(c.text) + ", " + id + ", " + rect;
            tabByDefault = true;
            break;
        case ControlKind::CheckBox:
            line = "AUTOCHECKBOX  " + Quoted(c.text) + ", " + id + ", " + rect;
            tabByDefault = true;
            break;
        case ControlKind::GroupBox:
            line = "GROUPBOX      " + Quoted(c.text) + ", " + id + ", " + rect;
            break;
        case ControlKind::Edit:
            line = "EDITTEXT      " + id + ", " + rect;
            styles = c.align == Align::Centre ? "ES_CENTER" : c.align == Align::Right ? "ES_RIGHT" : "";
            if (c.autoHScroll) styles += std::string(styles.empty() ? "" : " | ") + "ES_AUTOHSCROLL";
            AddStyle(styles, c.border, true, "WS_BORDER");
            tabByDefault = true;
            break;
        case ControlKind::IconStatic:
            line = "ICON          " + ImageName(c.image) + ", " + id + ", " + rect;
            break;
        case ControlKind::BitmapStatic:
            // The title names no bitmap, so the dialog manager loads none; the creation data names
            // it for the host, which loads it when the picture is first shown.
            line = "CONTROL       \"\", " + id + ", \"Static\", SS_BITMAP, " + rect;
            break;
        case ControlKind::DropDownCombo:
            line = "COMBOBOX      " + id + ", " + rect;
            styles = "CBS_DROPDOWN | WS_VSCROLL";
            tabByDefault = true;
            break;
    }
    // Every text static starts a group; the statement's own default differs between compilers,
    // so the flag is always written.
    if (c.Group()) styles += std::string(styles.empty() ? "" : " | ") + "WS_GROUP";
    AddStyle(styles, c.visible, true, "WS_VISIBLE");
    AddStyle(styles, c.tabStop, tabByDefault, "WS_TABSTOP");
    if (c.kind == ControlKind::BitmapStatic) {
        // CONTROL takes its style before the rectangle; the flags go with it there.
        if (!styles.empty()) line.replace(line.find("SS_BITMAP"), 9, "SS_BITMAP | " + styles);
        return line + "\n        BEGIN\n            " + ImageName(c.image) + "\n        END";
    }
    if (!styles.empty()) line += ", " + styles;
    return line;
}

void WriteHeader(std::ostream& out) {
    const DialogTemplate& dialog = MainDialogTemplate();
    out << "// Named ids of the main dialog's resource script. Generated from ui/main_dialog_template.cpp\n"
           "// by tools/make_resource_script; edit the table, not this file.\n"
           "#pragma once\n\n"
           "#define IDD_MAIN "
        << dialog.resourceId
        << "\n"
           "#define RT_DLGINIT "
        << kDialogInitType
        << "\n"
           "#define DLGINIT_CB_ADDSTRING 0x"
        << std::hex << kComboAddString << std::dec << "\n\n";
    for (const Image& image : MainDialogImages()) out << "#define " << ImageName(image.id) << ' ' << image.id << '\n';
    out << "\n#ifndef IDC_STATIC\n#define IDC_STATIC -1\n#endif\n";
    for (const ControlTemplate& c : dialog.controls) {
        if (c.id != kNoControlId) out << "#define " << ControlName(c.id) << ' ' << c.id << '\n';
    }
}

void WriteScript(std::ostream& out, const std::string& headerName) {
    const DialogTemplate& dialog = MainDialogTemplate();
    out << "// The main dialog, its category list, the application icon and the images its controls show.\n"
           "// Generated from ui/main_dialog_template.cpp by tools/make_resource_script; edit the table,\n"
           "// not this file.\n"
           "#pragma code_page(65001)\n\n"
           "#include <windows.h>\n"
           "#include \""
        << headerName << "\"\n\n";

    for (const Image& image : MainDialogImages()) {
        out << ImageName(image.id) << (image.icon ? " ICON \"" : " BITMAP \"") << image.file << "\"\n";
    }

    out << "\nIDD_MAIN DIALOGEX 0, 0, " << dialog.width << ", " << dialog.height
        << "\n"
           "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU\n"
           "EXSTYLE WS_EX_APPWINDOW\n"
           "CAPTION "
        << Quoted(dialog.title)
        << "\n"
           "FONT "
        << dialog.fontPoints << ", " << Quoted(dialog.fontFace)
        << ", 400, 0, 0x1\n"
           "BEGIN\n";
    for (const ControlTemplate& c : dialog.controls) out << "    " << ControlStatement(c) << '\n';
    out << "END\n\n";

    out << "// The base initialisation adds these to the category combo box, in this order. Each record:\n"
           "// control, message, byte length of the text with its zero, then the GBK text.\n"
           "IDD_MAIN RT_DLGINIT\n"
           "BEGIN\n";
    for (const ComboBoxList& list : MainDialogComboLists()) {
        for (std::string_view entry : list.entries) {
            out << "    " << ControlName(list.control) << ", DLGINIT_CB_ADDSTRING, " << entry.size() + 1 << "L, "
                << QuotedBytes(entry) << ",  // " << GbkToUtf8(entry) << '\n';
        }
    }
    out << "    0\n"
           "END\n";
}

}  // namespace
}  // namespace zembra

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_resource_script OUT.rc OUT_IDS.h\n";
        return 2;
    }
    const std::string header = argv[2];
    std::ofstream ids(header, std::ios::binary);
    zembra::WriteHeader(ids);
    std::ofstream script(argv[1], std::ios::binary);
    zembra::WriteScript(script, header.substr(header.find_last_of("/\\") + 1));
    ids.close();
    script.close();
    if (!ids || !script) {
        std::cerr << "make_resource_script: cannot write " << argv[1] << " or " << header << '\n';
        return 1;
    }
    return 0;
}
