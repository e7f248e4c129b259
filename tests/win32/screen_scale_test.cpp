// The real dialog at the screen scale the suite runs at (96 dots per inch, and 120, 144 and 192
// through the runs that tests/win32/CMakeLists.txt adds): every text whole inside its control,
// nothing outside its frame, the pictures at the scale and smooth, and a move to a screen of
// another scale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "data/word_bank.h"
#include "framework/win32/dialog_images.h"
#include "framework/win32/dpi_layout.h"
#include "framework/win32/screen_dpi.h"
#include "tests/win32/dialog_driver.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"
#include "ui/poster.h"

namespace zembra::testing {
namespace {

using win32::kStandardDpi;
using win32::ScaleToDpi;

// The scale the run was started for (ZEMBRA_EXPECTED_DPI), so that a run that silently came up
// at another scale fails instead of testing that one.
int ExpectedDpi() {
    const char* asked = std::getenv("ZEMBRA_EXPECTED_DPI");
    return asked != nullptr ? std::atoi(asked) : win32::WindowDpi(nullptr);
}

RECT RectInDialog(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// What does not fit of a control's text in its own font, or nothing. A static breaks its text
// into lines at its width, so a text that is too wide needs a second line, which its height
// hides; a push button draws one line inside its two-pixel bevel.
std::string TextOverflow(HWND control, const std::wstring& text, bool button) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT client{};
    GetClientRect(control, &client);
    if (button) InflateRect(&client, -2, -2);
    RECT needed{0, 0, client.right - client.left, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_EXPANDTABS | (button ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (needed.right <= client.right - client.left && needed.bottom <= client.bottom - client.top) return {};
    return "needs " + std::to_string(needed.right) + " x " + std::to_string(needed.bottom) + ", has " +
           std::to_string(client.right - client.left) + " x " + std::to_string(client.bottom - client.top);
}

// Every shown control of the table that shows text, with the text it shows now; and the combo
// box's list, whose entries must fit beside its scroll bar.
void ExpectEveryShownTextFits(const DialogDriver& d) {
    for (const ControlTemplate& c : MainDialogTemplate().controls) {
        const bool button = c.kind == ControlKind::PushButton || c.kind == ControlKind::DefaultPushButton;
        if (c.id == -1 || !d.Visible(c.id) || !(button || c.kind == ControlKind::TextStatic)) continue;
        const std::wstring text = d.Text(c.id);
        const std::string overflow = TextOverflow(d.Item(c.id), text, button);
        EXPECT_EQ(overflow, "") << "control " << c.id << " " << ::testing::PrintToString(text);
    }
    HWND combo = d.Item(ids::kCategoryCombo);
    RECT client{};
    GetClientRect(combo, &client);
    const int room = client.right - GetSystemMetrics(SM_CXVSCROLL) - 4;
    HDC dc = GetDC(combo);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t entry[32] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        SIZE extent{};
        GetTextExtentPoint32W(dc, entry, static_cast<int>(wcslen(entry)), &extent);
        EXPECT_LE(extent.cx, room) << "combo entry " << i;
    }
    SelectObject(dc, old);
    ReleaseDC(combo, dc);
}

// The group boxes without id, in template order: the whole dialog, the counters, the poster.
std::vector<HWND> Frames(const DialogDriver& d) {
    std::vector<HWND> frames;
    d.MakeEveryControl();
    HWND child = GetWindow(d.Dialog(), GW_CHILD);
    for (const ControlTemplate& c : MainDialogTemplate().controls) {
        if (c.kind == ControlKind::GroupBox && c.id == -1) frames.push_back(child);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    return frames;
}

// Every shown control inside the frame it stands in on the template, every frame inside the
// client area: what would be cut off or cover a frame's line otherwise.
void ExpectEveryShownControlInsideItsFrame(const DialogDriver& d) {
    RECT client{};
    GetClientRect(d.Dialog(), &client);
    const std::vector<HWND> frames = Frames(d);
    ASSERT_EQ(frames.size(), 3u);
    const RECT drill = RectInDialog(d.Dialog(), d.Item(ids::kDrillFrame));
    const RECT board = RectInDialog(d.Dialog(), frames[1]);
    const RECT posters = RectInDialog(d.Dialog(), frames[2]);
    for (HWND frame : {frames[0], d.Item(ids::kDrillFrame), frames[1], frames[2]}) {
        EXPECT_TRUE(Inside(RectInDialog(d.Dialog(), frame), client)) << Describe(RectInDialog(d.Dialog(), frame));
    }
    for (const ControlTemplate& c : MainDialogTemplate().controls) {
        if (c.id == -1 || c.kind == ControlKind::GroupBox || !d.Visible(c.id)) continue;
        const RECT rect = RectInDialog(d.Dialog(), d.Item(c.id));
        const RECT& frame = c.kind == ControlKind::BitmapStatic ? posters : c.rect.x > 320 ? board : drill;
        EXPECT_TRUE(Inside(rect, frame)) << "control " << c.id << " at " << Describe(rect) << " outside "
                                         << Describe(frame);
    }
}

// The picture a static shows, as pixels.
win32::PixelImage ShownPicture(HWND control, bool icon) {
    if (icon) return win32::PixelsOfIcon(reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0)));
    return win32::PixelsOfBitmap(reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
}

std::size_t PartlyTransparentPixels(const win32::PixelImage& image) {
    std::size_t count = 0;
    for (std::uint32_t pixel : image.pixels) count += (pixel >> 24) != 0 && (pixel >> 24) != 255;
    return count;
}

// A bitmap enlarged without smoothing has only the colours of its resource; smoothed, it has
// colours in between at every edge.
double ShareOfNewColours(const win32::PixelImage& shown, const win32::PixelImage& source) {
    const std::set<std::uint32_t> own(source.pixels.begin(), source.pixels.end());
    std::size_t fresh = 0;
    for (std::uint32_t pixel : shown.pixels) fresh += own.count(pixel) == 0;
    return static_cast<double>(fresh) / static_cast<double>(shown.pixels.size());
}

// The shown poster and the marks at `dpi`: the pictures' size and their smoothness.
void ExpectPicturesAt(DialogDriver& d, int dpi) {
    win32::DialogImages resources(GetModuleHandleW(nullptr));
    const Poster& poster = ChoosePoster(d.Logic().RunCounter());
    const win32::PixelImage shown = ShownPicture(d.Item(poster.control), false);
    EXPECT_EQ(shown.width, ScaleToDpi(poster.width, dpi));
    EXPECT_EQ(shown.height, ScaleToDpi(poster.height, dpi));
    RECT client{};
    GetClientRect(d.Item(poster.control), &client);
    EXPECT_EQ(client.right, shown.width);
    EXPECT_EQ(client.bottom, shown.height);
    if (dpi != kStandardDpi) {
        EXPECT_GT(ShareOfNewColours(shown, resources.Source(poster.bitmap, false)), 0.05);
    }

    for (const auto& [mark, resource] :
         {std::pair{ids::kRightMark, ids::kTickIcon}, {ids::kWrongMark, ids::kCrossIcon}}) {
        SCOPED_TRACE("mark " + std::to_string(mark));
        const win32::PixelImage icon = ShownPicture(d.Item(mark), true);
        const int size = ScaleToDpi(32, dpi);  // the system's icon size at that scale
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
        GetClientRect(d.Item(mark), &client);
        EXPECT_EQ(client.right, size);
        // Resized from another size, the edges are smoothed into partial transparency.
        if (resources.Source(resource, true).width != size) {
            EXPECT_GT(PartlyTransparentPixels(icon), 0u);
        }
    }
}

class ScreenScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        // All rows mastered but one, so the counters show their widest numbers.
        std::vector<std::string> marks(kBankRows, "1");
        marks[static_cast<std::size_t>(m_row)] = "";
        WriteBytes(m_dir / "ZbXxYy.zb", ProgressFile(m_runCounter, marks));
    }

    std::filesystem::path File() const { return m_dir / "ZbXxYy.zb"; }

    TempDir m_dir;
    int m_row = 1495;  // the widest prompt and the widest answer of the bank
    int m_runCounter = 3;
};

TEST_F(ScreenScaleTest, RunsPerMonitorAwareAtTheScaleItWasStartedFor) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        EXPECT_EQ(d.Host().Dpi(), ExpectedDpi());
        EXPECT_EQ(win32::WindowDpi(d.Dialog()), ExpectedDpi());
        // The test program carries the program's manifest. (Wine tells per-monitor awareness
        // apart from the others, not its second version from the first.)
        EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
        d.Press(VK_ESCAPE);
    }});
}

// The widest prompt, then the widest answer in the result line after a wrong one far from it (so
// that the answer is shown plain, as the dialog manager draws it); the widest
// category name after choosing it (第三人称单数), with the widest counters.
TEST_F(ScreenScaleTest, EveryShownTextFitsItsControl) {
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kTotalCount), L"1754");
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1753");
            ExpectEveryShownTextFits(d);
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) {
            d.Type(L"x");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            ASSERT_TRUE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kResultLine), L"on the one hand, on the other hand  ");
            ExpectEveryShownTextFits(d);
            SendMessageW(d.Item(ids::kCategoryCombo), CB_SETCURSEL, 3, 0);
            SendMessageW(d.Dialog(), WM_COMMAND, MAKEWPARAM(ids::kCategoryCombo, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(d.Item(ids::kCategoryCombo)));
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kCategoryCaption), L"第三人称单数");
            ExpectEveryShownTextFits(d);
            d.Press(VK_ESCAPE);
        },
    });
}

TEST_F(ScreenScaleTest, EveryShownControlStaysInsideItsFrame) {
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) {
            ExpectEveryShownControlInsideItsFrame(d);
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) { d.Press(VK_RETURN); },
        [](DialogDriver& d) {
            ASSERT_TRUE(d.Visible(ids::kWrongMark));
            ExpectEveryShownControlInsideItsFrame(d);
            d.Press(VK_ESCAPE);
        },
    });
}

// The layout is the one of 96 dots per inch, scaled: the dialog manager's own at 96 DPI (the
// base units measured here are checked against it there).
TEST_F(ScreenScaleTest, TheLayoutIsThe96DpiLayoutScaled) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        const auto dialog = win32::LoadDialogResource(GetModuleHandleW(nullptr), ids::kDialog);
        ASSERT_TRUE(dialog);
        const int dpi = d.Host().Dpi();
        const win32::BaseUnits here = win32::TemplateBaseUnits(*dialog, dpi);
        RECT units{0, 0, 4, 8};
        MapDialogRect(d.Dialog(), &units);
        EXPECT_EQ(units.right, here.x);
        EXPECT_EQ(units.bottom, here.y);

        const win32::BaseUnits base = win32::TemplateBaseUnits(*dialog, kStandardDpi);
        RECT client{};
        GetClientRect(d.Dialog(), &client);
        EXPECT_EQ(client.right, ScaleToDpi(MulDiv(478, base.x, 4), dpi));
        EXPECT_EQ(client.bottom, ScaleToDpi(MulDiv(218, base.y, 8), dpi));
        // The controls made late are made where the layout of the scale puts them.
        d.MakeEveryControl();
        HWND child = GetWindow(d.Dialog(), GW_CHILD);
        for (const ControlTemplate& c : MainDialogTemplate().controls) {
            const RECT rect = RectInDialog(d.Dialog(), child);
            const RECT expected = win32::ScaleRectToDpi(
                win32::DialogUnitsToPixels({c.rect.x, c.rect.y, c.rect.width, c.rect.height}, base), dpi);
            EXPECT_EQ(rect.left, expected.left) << c.id;
            EXPECT_EQ(rect.top, expected.top) << c.id;
            if (c.kind != ControlKind::IconStatic && c.kind != ControlKind::BitmapStatic &&
                c.kind != ControlKind::DropDownCombo) {
                EXPECT_EQ(rect.right, expected.right) << c.id;
                EXPECT_EQ(rect.bottom, expected.bottom) << c.id;
            }
            child = GetWindow(child, GW_HWNDNEXT);
        }
        d.Press(VK_ESCAPE);
    }});
}

TEST_F(ScreenScaleTest, ThePosterAndTheMarksAreDrawnSmoothlyAtTheScale) {
    m_runCounter = 26;  // another poster than the start one
    SetUp();
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) {
            // Both marks shown for the look only; the drill never shows both.
            d.Host().ShowItem(ids::kRightMark, true);
            d.Host().ShowItem(ids::kWrongMark, true);
            ExpectPicturesAt(d, d.Host().Dpi());
            d.Press(VK_ESCAPE);
        },
    });
}

// A move to a screen of twice the scale and back, as Windows reports it. Under Wine only the
// program's part can be seen (its fonts, layout and pictures); the dialog manager of Windows
// scales the dialog font and the window besides.
TEST_F(ScreenScaleTest, AMoveToAScreenOfAnotherScaleRedrawsFontsLayoutAndPictures) {
    DialogDriver driver(File());
    int dpi = 0;
    RECT client{};
    const auto fontHeight = [](const DialogDriver& d, int id) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(d.Item(id), WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfHeight;
    };
    const auto moveTo = [](const DialogDriver& d, int newDpi) {
        RECT suggested{};
        GetWindowRect(d.Dialog(), &suggested);
        SendMessageW(d.Dialog(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
    };
    driver.Run({
        [&](DialogDriver& d) {
            dpi = d.Host().Dpi();
            GetClientRect(d.Dialog(), &client);
            d.Host().ShowItem(ids::kRightMark, true);
            moveTo(d, 2 * dpi);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Host().Dpi(), 2 * dpi);
            EXPECT_EQ(fontHeight(d, ids::kPromptLine), -(2 * dpi * 180 / 720));
            EXPECT_EQ(fontHeight(d, ids::kTotalLabel), -(2 * dpi * 120 / 720));
            RECT now{};
            GetClientRect(d.Dialog(), &now);
            EXPECT_NEAR(now.right, 2 * client.right, 1);
            EXPECT_NEAR(now.bottom, 2 * client.bottom, 1);
            const Poster& poster = ChoosePoster(d.Logic().RunCounter());
            const win32::PixelImage shown = ShownPicture(d.Item(poster.control), false);
            EXPECT_EQ(shown.width, ScaleToDpi(poster.width, 2 * dpi));
            EXPECT_EQ(ShownPicture(d.Item(ids::kRightMark), true).width, ScaleToDpi(32, 2 * dpi));
            // A picture shown later comes at the new scale too.
            d.Host().ShowItem(ids::kWrongMark, true);
            EXPECT_EQ(ShownPicture(d.Item(ids::kWrongMark), true).width, ScaleToDpi(32, 2 * dpi));
            moveTo(d, dpi);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(fontHeight(d, ids::kPromptLine), -(dpi * 180 / 720));
            RECT now{};
            GetClientRect(d.Dialog(), &now);
            EXPECT_EQ(now.right, client.right);
            EXPECT_EQ(now.bottom, client.bottom);
            ExpectPicturesAt(d, dpi);
            d.Press(VK_ESCAPE);
        },
    });
}

}  // namespace
}  // namespace zembra::testing
