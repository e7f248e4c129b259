// The real dialog under the real dialog manager: start-up, Enter routing, Tab, the ways it ends,
// the posters, fonts, colours, the combo box, the Yes/No boxes and the texts, driven with posted
// keyboard and mouse messages through the real modal loop.
#include <windows.h>
// After windows.h: the common dialogs' control ids.
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "data/word_bank.h"
#include "drill/read_aloud.h"
#include "drill/review_schedule.h"
#include "framework/code_page.h"
#include "framework/local_day.h"
#include "framework/win32/wide_text.h"
#include "tests/support/temp_dir.h"
#include "tests/win32/dialog_driver.h"
#include "ui/control_ids.h"
#include "ui/main_dialog_template.h"
#include "ui/poster.h"
#include "ui/texts.h"

namespace zembra::testing {
namespace {

// A file in which every row is mastered except `row`, so that `row` is the one asked.
std::string OnlyUnmastered(int row, int runCounter = 3) {
    std::vector<std::string> marks(kBankRows, "1");
    marks[static_cast<std::size_t>(row)] = "";
    return ProgressFile(runCounter, marks);
}

std::string FreshlySaved() { return ProgressFile(2, std::vector<std::string>(kBankRows, "")); }

class MainDialogTest : public ::testing::Test {
protected:
    std::filesystem::path File() const { return m_dir / "ZbXxYy.zb"; }

    TempDir m_dir;
};

TEST_F(MainDialogTest, StartsWithTheFocusOnNextAndTheCountersShown) {
    DialogDriver driver(File());
    const INT_PTR end = driver.Run({[](DialogDriver& d) {
        EXPECT_EQ(d.FocusId(), ids::kNext);
        EXPECT_TRUE(d.Enabled(ids::kSubmit));
        EXPECT_TRUE(d.Visible(ids::kAnswerBox));
        EXPECT_FALSE(d.Visible(ids::kRightMark));
        EXPECT_FALSE(d.Visible(ids::kWrongMark));
        EXPECT_EQ(d.Text(ids::kTotalCount), L"1754");
        EXPECT_EQ(d.Text(ids::kMasteredCount), L"0");
        // The row's hidden controls: the letter statics hold the answer only, the edits nothing.
        for (int id = ids::kAnswerHolder + 1; id <= ids::kLastAnswerEdit; ++id) {
            if (id == ids::kAnswerBox) continue;
            EXPECT_FALSE(d.Visible(id)) << id;
            EXPECT_EQ(d.Text(id), L"") << id;
        }
        EXPECT_FALSE(d.Visible(ids::kAnswerHolder));
        // Visible as the system has it: a shown control of a hidden dialog is not.
        EXPECT_TRUE(d.Host().IsItemVisible(ids::kAnswerBox));
        ShowWindow(d.Dialog(), SW_HIDE);
        EXPECT_FALSE(d.Host().IsItemVisible(ids::kAnswerBox));
        ShowWindow(d.Dialog(), SW_SHOW);

        // The application icon as window icons and as the drag icon of the minimised window.
        const auto icon =
            reinterpret_cast<LRESULT>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids::kAppIcon)));
        EXPECT_NE(icon, 0);
        EXPECT_EQ(SendMessageW(d.Dialog(), WM_GETICON, ICON_BIG, 0), icon);
        EXPECT_EQ(SendMessageW(d.Dialog(), WM_GETICON, ICON_SMALL, 0), icon);
        EXPECT_EQ(SendMessageW(d.Dialog(), WM_QUERYDRAGICON, 0, 0), icon);
        d.Press(VK_ESCAPE);
    }});
    EXPECT_EQ(end, IDCANCEL);
}

TEST_F(MainDialogTest, OpensCentredInTheWorkAreaWithAFixedFrame) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        RECT area{}, frame{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(d.Dialog(), &frame);
        EXPECT_LE(std::abs((frame.left + frame.right) - (area.left + area.right)), 1);
        EXPECT_LE(std::abs((frame.top + frame.bottom) - (area.top + area.bottom)), 1);
        const auto style = static_cast<DWORD>(GetWindowLongW(d.Dialog(), GWL_STYLE));
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_POPUP), WS_CAPTION | WS_SYSMENU | WS_POPUP);
        EXPECT_TRUE(GetWindowLongW(d.Dialog(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_EQ(GetWindow(d.Dialog(), GW_OWNER), nullptr);
        d.Press(VK_ESCAPE);
    }});
}

// The generated resource script against the table: every control, its class, rectangle, tab
// stop, group flag and the answer box's horizontal scrolling.
TEST_F(MainDialogTest, ControlsAreCreatedAsTheTemplateTableSays) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        // The controls made late, asked for last first, each take their template place in the
        // z-order all the same.
        d.MakeEveryControl();
        int frames = 0;
        HWND child = GetWindow(d.Dialog(), GW_CHILD);
        for (const ControlTemplate& c : MainDialogTemplate().controls) {
            ASSERT_NE(child, nullptr) << "fewer windows than controls";
            SCOPED_TRACE("control " + std::to_string(c.id));
            EXPECT_EQ(GetDlgCtrlID(child), c.id);
            if (c.id == -1) ++frames;
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            const wchar_t* expected = c.kind == ControlKind::Edit            ? L"Edit"
                                      : c.kind == ControlKind::DropDownCombo ? L"ComboBox"
                                      : c.kind == ControlKind::PushButton || c.kind == ControlKind::DefaultPushButton ||
                                              c.kind == ControlKind::GroupBox || c.kind == ControlKind::CheckBox
                                          ? L"Button"
                                          : L"Static";
            EXPECT_EQ(_wcsicmp(className, expected), 0)
                << "class " << std::string(className, className + wcslen(className));
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            EXPECT_EQ((style & WS_TABSTOP) != 0, c.tabStop);
            EXPECT_EQ((style & WS_GROUP) != 0, c.Group());
            // The drill disables 听一听 while a row is asked, 听写 until a voice is found (Wine has
            // none), and 删除词表 while no list is chosen; nothing else starts disabled.
            EXPECT_EQ((style & WS_DISABLED) != 0,
                      c.id == ids::kListen || c.id == ids::kDictation || c.id == ids::kRemoveList);
            if (c.kind != ControlKind::IconStatic && c.kind != ControlKind::BitmapStatic) {
                // The dialog manager converts the position and the size each on its own.
                RECT position{c.rect.x, c.rect.y, 0, 0};
                RECT size{0, 0, c.rect.width, c.rect.height};
                MapDialogRect(d.Dialog(), &position);
                MapDialogRect(d.Dialog(), &size);
                RECT actual{};
                GetWindowRect(child, &actual);
                MapWindowPoints(nullptr, d.Dialog(), reinterpret_cast<POINT*>(&actual), 2);
                EXPECT_EQ(actual.left, position.left);
                EXPECT_EQ(actual.top, position.top);
                EXPECT_EQ(actual.right - actual.left, size.right);
                if (c.kind != ControlKind::DropDownCombo) {  // a combo box's height includes its list
                    EXPECT_EQ(actual.bottom - actual.top, size.bottom);
                }
            }
            if (c.kind == ControlKind::Edit) {
                EXPECT_EQ((style & ES_AUTOHSCROLL) != 0, c.autoHScroll);
            }
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr) << "more windows than controls";
        EXPECT_EQ(frames, 3);
        const LONG answerBox = GetWindowLongW(d.Item(ids::kAnswerBox), GWL_STYLE);
        EXPECT_EQ(answerBox & ES_CENTER, ES_CENTER);
        EXPECT_EQ(SendMessageW(d.Dialog(), DM_GETDEFID, 0, 0), MAKELRESULT(ids::kSubmit, DC_HASDEFID));
        const LONG combo = GetWindowLongW(d.Item(ids::kCategoryCombo), GWL_STYLE);
        EXPECT_EQ(combo & 0x3, CBS_DROPDOWN);
        EXPECT_EQ(combo & (CBS_SORT | CBS_AUTOHSCROLL), 0);
        d.Press(VK_ESCAPE);
    }});
}

// A control that starts hidden and that a screen reader is told nothing of has no window until it
// is first shown or asked for; the host holds its text and enabled state meanwhile, and the window
// made late has them, its font and its template place in the z-order.
TEST_F(MainDialogTest, HiddenControlsGetTheirWindowsWhenFirstShownOrAskedFor) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        win32::DialogHost& host = d.Host();
        for (int id = ids::kAnswerHolder; id <= ids::kLastAnswerEdit; ++id) {
            if (id == ids::kAnswerBox) continue;
            EXPECT_EQ(GetDlgItem(d.Dialog(), id), nullptr) << id;
        }
        EXPECT_EQ(host.GetItemText(ids::kAnswerHolder), "ruler");
        EXPECT_FALSE(host.IsItemVisible(ids::kAnswerHolder));
        const int edit = ids::kAnswerBox + 5;
        host.SetItemText(edit, "\xD6\xD0");  // 中
        host.EnableItem(edit, false);
        EXPECT_EQ(host.GetItemText(edit), "\xD6\xD0");
        EXPECT_FALSE(host.IsItemEnabled(edit));
        EXPECT_EQ(GetDlgItem(d.Dialog(), edit), nullptr);

        host.ShowItem(edit, true);
        HWND window = GetDlgItem(d.Dialog(), edit);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(d.Item(edit), window);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_FALSE(IsWindowEnabled(window));
        EXPECT_EQ(DialogDriver::TextOf(window), L"中");
        EXPECT_EQ(SendMessageW(window, WM_GETFONT, 0, 0), SendMessageW(d.Item(ids::kAnswerBox), WM_GETFONT, 0, 0));
        // Beneath the answer box, the nearest earlier control with a window, above 提交.
        EXPECT_EQ(GetWindow(window, GW_HWNDPREV), d.Item(ids::kAnswerBox));
        EXPECT_EQ(GetWindow(window, GW_HWNDNEXT), d.Item(ids::kSubmit));

        // Asked for, a control is made hidden, with the text it holds.
        HWND holder = d.Item(ids::kAnswerHolder);
        ASSERT_NE(holder, nullptr);
        EXPECT_FALSE(IsWindowVisible(holder));
        EXPECT_EQ(DialogDriver::TextOf(holder), L"ruler");
        EXPECT_EQ(GetWindow(holder, GW_HWNDNEXT), d.Item(ids::kAnswerBox));
        d.Press(VK_ESCAPE);
    }});
}

TEST_F(MainDialogTest, TextsReadBackAsUtf16) {
    WriteBytes(File(), OnlyUnmastered(886));
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        EXPECT_EQ(DialogDriver::TextOf(d.Dialog()), L"Zembra\u2014小学英语词汇大全");
        EXPECT_EQ(d.Text(ids::kCategoryCaption), L"常用短语");
        EXPECT_EQ(d.Text(ids::kPromptLine), L"在东方/南方/西方/北方");
        EXPECT_EQ(d.Text(ids::kAnswerHolder), L"in the east/south/west/north");
        EXPECT_EQ(d.Text(ids::kNext), L"下一题");
        EXPECT_EQ(d.Text(ids::kSubmit), L"提交");
        EXPECT_EQ(d.Text(ids::kRetry), L"重写");
        EXPECT_EQ(d.Text(ids::kNoticeBoardCaption), L"布告栏");
        EXPECT_EQ(d.Text(ids::kTotalLabel), L"总计:");
        EXPECT_EQ(d.Text(ids::kMasteredLabel), L"掌握:");
        EXPECT_EQ(d.Text(ids::kResetAll), L"再来一遍");
        EXPECT_EQ(d.Text(ids::kFilterLabel), L"筛选:");
        EXPECT_EQ(d.Text(ids::kImportList), L"导入词表(&I)…");
        EXPECT_EQ(d.Text(ids::kRemoveList), L"删除词表(&R)");
        EXPECT_EQ(d.Text(ids::kMasteredCount), L"1753");
        d.Press(VK_ESCAPE);
    }});
}

TEST_F(MainDialogTest, EnterSubmitsWhileSubmitIsEnabledAndAsksTheNextRowOtherwise) {
    DialogDriver driver(File());
    std::wstring prompt;
    driver.Run({
        [&](DialogDriver& d) { d.Press(VK_RETURN); },  // presses the focused 下一题
        [&](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kAnswerBox);
            EXPECT_TRUE(d.Enabled(ids::kSubmit));
            prompt = d.Text(ids::kPromptLine);
            d.Type(L"zzz");
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            // Submitted, and only that: the same row is still asked.
            EXPECT_FALSE(d.Enabled(ids::kSubmit));
            EXPECT_TRUE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kResultLine), d.Text(ids::kAnswerHolder) + L"  ");
            EXPECT_EQ(d.Text(ids::kPromptLine), prompt);
            EXPECT_EQ(d.Text(ids::kAnswerBox), L"zzz");
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            // The next row, and only that: not submitted again.
            EXPECT_TRUE(d.Enabled(ids::kSubmit));
            EXPECT_FALSE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kResultLine), L"");
            EXPECT_EQ(d.Text(ids::kAnswerBox), L"");
            EXPECT_EQ(d.FocusId(), ids::kAnswerBox);
            EXPECT_EQ(d.Logic().MasteredCount(), 0);
            d.Press(VK_ESCAPE);
        },
    });
}

// The next row empties the answer box also when what was typed has been erased already: the box
// is then as the drill set it, unmodified.
TEST_F(MainDialogTest, AnAnswerTypedAndErasedIsClearedForTheNextRow) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) { d.Type(L"ru\b\b"); },
        [](DialogDriver& d) {
            ASSERT_EQ(d.Text(ids::kAnswerBox), L"");
            ASSERT_NE(SendMessageW(d.Item(ids::kAnswerBox), EM_GETMODIFY, 0, 0), 0);
            d.Press(VK_RETURN, 2);  // submits the empty answer, then asks row 3 again
        },
        [](DialogDriver& d) {
            ASSERT_TRUE(d.Enabled(ids::kSubmit));
            EXPECT_EQ(d.Text(ids::kAnswerBox), L"");
            EXPECT_EQ(SendMessageW(d.Item(ids::kAnswerBox), EM_GETMODIFY, 0, 0), 0);
            d.Press(VK_ESCAPE);
        },
    });
}

TEST_F(MainDialogTest, AHeldEnterAlternatesBetweenSubmittingAndAskingTheNextRow) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) { d.Press(VK_RETURN, 3); },  // submit, next, submit
        [](DialogDriver& d) {
            EXPECT_FALSE(d.Enabled(ids::kSubmit));
            EXPECT_TRUE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kResultLine), L"ruler  ");
            d.Press(VK_ESCAPE);
        },
    });
}

// An Enter that an input method is composing with reaches the loop as VK_PROCESSKEY; it is the
// input method's, whatever the state of 提交.
TEST_F(MainDialogTest, AnEnterComposingInAnInputMethodNeitherSubmitsNorAsksTheNextRow) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) {
            d.Type(L"rul");
            d.Press(VK_PROCESSKEY);
        },
        [](DialogDriver& d) {
            EXPECT_TRUE(d.Enabled(ids::kSubmit));
            EXPECT_FALSE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kAnswerBox), L"rul");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            ASSERT_FALSE(d.Enabled(ids::kSubmit));
            d.Press(VK_PROCESSKEY);
        },
        [](DialogDriver& d) {
            EXPECT_FALSE(d.Enabled(ids::kSubmit));
            EXPECT_TRUE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kAnswerBox), L"rul");
            d.Press(VK_ESCAPE);
        },
    });
}

TEST_F(MainDialogTest, TabMovesOnlyBetweenNextAndSubmit) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { d.Press(VK_TAB); },
        [](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kSubmit);
            d.Press(VK_TAB);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kNext);
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kAnswerBox);
            d.Press(VK_TAB);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kSubmit);
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) { d.Press(VK_RETURN); },  // submits: 提交 is disabled now
        [](DialogDriver& d) {
            ASSERT_FALSE(d.Enabled(ids::kSubmit));
            d.Press(VK_TAB);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kNext);
            d.Press(VK_TAB);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.FocusId(), ids::kNext);
            d.Press(VK_ESCAPE);
        },
    });
}

// Wine's one SAPI 5 voice names no language and cannot speak (its ISpVoice::Speak is a stub): the
// program's way without a voice. 听一听 stays disabled with its tip, one line says why, and the
// drill is as before.
TEST_F(MainDialogTest, WithoutAVoiceListenStaysDisabledWithItsTipAndTheDrillGoesOn) {
    WriteBytes(File(), OnlyUnmastered(0));
    DialogDriver driver(File());
    // Wine's SetVoice and Speak both answer E_NOTIMPL.
    const std::string line = Utf8ToGbk("本机没有英语语音：");
    const std::string notImplemented = "(SAPI 5, 0x80004001)\n";
    driver.Run({
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Host().ToolTipOf(ids::kListen), L"本机没有英语语音");
            EXPECT_NE(d.Diagnostics().find(line), std::string::npos) << GbkToUtf8(d.Diagnostics());
            EXPECT_NE(d.Diagnostics().find(notImplemented), std::string::npos) << GbkToUtf8(d.Diagnostics());
            EXPECT_FALSE(d.Enabled(ids::kListen));
            EXPECT_TRUE(d.Visible(ids::kListen));
            EXPECT_EQ(d.Text(ids::kListen), L"听一听(&L)");
            // 听写 waits for a voice as well.
            EXPECT_FALSE(d.Enabled(ids::kDictation));
            EXPECT_EQ(d.Host().ToolTipOf(ids::kDictation), L"本机没有英语语音");
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) { d.Type(L"pen"), d.Press(VK_RETURN); },
        [&](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(ids::kRightMark));
            EXPECT_FALSE(d.Enabled(ids::kSubmit));
            EXPECT_FALSE(d.Enabled(ids::kListen));
            EXPECT_EQ(d.Diagnostics().find(line), d.Diagnostics().rfind(line));
            d.Press(VK_ESCAPE);
        },
    });
}

// An English voice that is found but cannot say a text (no audio device, a broken engine): the
// first answer's speech fails, and 听一听 is disabled with its tip instead of enabled and silent.
TEST_F(MainDialogTest, AVoiceThatFailsToSpeakLeavesListenDisabledWithItsTip) {
    struct FailingVoice final : win32::SapiEngine {
        HRESULT Open() override { return S_OK; }
        std::vector<win32::VoiceToken> Voices(win32::VoiceCategory category) override {
            if (category == win32::VoiceCategory::Desktop) return {};
            return {{L"409", true}};
        }
        HRESULT UseVoice(win32::VoiceCategory, std::size_t) override { return S_OK; }
        HRESULT Speak(const wchar_t* text, DWORD) override { return text ? E_FAIL : S_OK; }
    };
    WriteBytes(File(), OnlyUnmastered(0));
    DialogDriver driver(File(), std::make_unique<FailingVoice>());
    driver.Run({
        [](DialogDriver& d) {
            EXPECT_EQ(d.Host().ToolTipOf(ids::kListen), L"");  // a voice was found
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) { d.Type(L"pen"), d.Press(VK_RETURN); },
        [](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(ids::kRightMark));
            EXPECT_FALSE(d.Enabled(ids::kListen));
            EXPECT_EQ(d.Host().ToolTipOf(ids::kListen), L"本机没有英语语音");
            EXPECT_NE(d.Diagnostics().find("the voice failed to speak (SAPI 5, 0x80004005)"), std::string::npos);
            d.Press(VK_ESCAPE);
        },
    });
}

TEST_F(MainDialogTest, EscapeEndsWithoutSaving) {
    std::vector<std::string> marks(kBankRows, "");
    marks[0] = "1";
    marks[5] = "0";
    marks[9] = "x";
    const std::string before = ProgressFile(7, marks) + "extra line\r\n";
    WriteBytes(File(), before);
    DialogDriver driver(File());
    const INT_PTR end = driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) {
            d.Type(d.Text(ids::kAnswerHolder));  // a right answer, so the marks change
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(ids::kRightMark));
            d.Press(VK_ESCAPE);
        },
    });
    EXPECT_EQ(end, IDCANCEL);
    EXPECT_EQ(ReadBytes(File()), before);
}

// Shutdown, sign-out or an update's restart sends no close request. The question saves nothing
// and holds nothing up; the end itself saves as the close box does, before it returns, and once,
// and answers an open question (再来一遍's) No.
TEST_F(MainDialogTest, TheSessionsEndSavesOnceBeforeItReturnsAndItsQuestionSavesNothing) {
    std::vector<std::string> marks(kBankRows, "");
    marks[0] = "1";
    marks[5] = "0";
    marks[9] = "x";
    const std::string before = ProgressFile(7, marks);
    WriteBytes(File(), before);
    DialogDriver driver(File());
    const INT_PTR end = driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) {
            d.Type(d.Text(ids::kAnswerHolder));
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            ASSERT_TRUE(d.Visible(ids::kRightMark));
            d.Click(ids::kResetAll);
        },
        [&](DialogDriver& d) {
            ASSERT_NE(d.MessageBoxWindow(), nullptr);
            EXPECT_EQ(SendMessageW(d.Dialog(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
            EXPECT_EQ(SendMessageW(d.Dialog(), WM_ENDSESSION, FALSE, 0), 0);  // the shutdown was called off
            EXPECT_EQ(ReadBytes(File()), before);
            marks = Rescheduled(marks);
            marks[static_cast<std::size_t>(d.Logic().CurrentRow())] = FirstMastery();
            EXPECT_EQ(SendMessageW(d.Dialog(), WM_ENDSESSION, TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF)), 0);
            EXPECT_EQ(ReadBytes(File()), ProgressFile(8, marks));
            EXPECT_EQ(d.MessageBoxWindow(), nullptr);
            SendMessageW(d.Dialog(), WM_CLOSE, 0, 0);
        },
    });
    EXPECT_EQ(end, IDCANCEL);
    EXPECT_EQ(ReadBytes(File()), ProgressFile(8, marks));
}

struct CloseRequest {
    const char* name;
    UINT message;
    WPARAM wParam;
};

class CloseRequestTest : public MainDialogTest, public ::testing::WithParamInterface<CloseRequest> {};

TEST_P(CloseRequestTest, SavesAndEnds) {
    DialogDriver driver(File());
    const INT_PTR end =
        driver.Run({[](DialogDriver& d) { PostMessageW(d.Dialog(), GetParam().message, GetParam().wParam, 0); }});
    EXPECT_EQ(end, IDCANCEL);
    const std::string saved = ReadBytes(File());
    EXPECT_EQ(saved.size(), 3511u);
    EXPECT_EQ(saved, FreshlySaved());
}

INSTANTIATE_TEST_SUITE_P(Win32, CloseRequestTest,
                         ::testing::Values(CloseRequest{"WmClose", WM_CLOSE, 0},
                                           CloseRequest{"CloseBox", WM_SYSCOMMAND, SC_CLOSE}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(MainDialogTest, TheNextStartFindsTheSavedMarksAndACounterOneHigher) {
    std::vector<std::string> marks(kBankRows, "1");
    marks[3] = "";
    marks[4] = "";
    WriteBytes(File(), ProgressFile(5, marks));
    {
        DialogDriver driver(File());
        driver.Run({
            [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
            [](DialogDriver& d) {
                d.Type(d.Text(ids::kAnswerHolder));
                d.Press(VK_RETURN);
            },
            [](DialogDriver& d) { PostMessageW(d.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        });
    }
    DialogDriver next(File());
    next.Run({[](DialogDriver& d) {
        EXPECT_EQ(d.Logic().RunCounter(), 6);
        EXPECT_EQ(d.Text(ids::kMasteredCount), L"1753");
        d.Press(VK_ESCAPE);
    }});
}

// A virus scanner or a backup program holds the file without sharing while the dialog starts:
// the start-up cannot read it and shows no progress, and the close, once the file is free again,
// keeps every mark the file held.
TEST_F(MainDialogTest, AFileHeldWithoutSharingAtStartUpKeepsItsMarks) {
    std::vector<std::string> marks(kBankRows, "1");
    marks[3] = "";
    WriteBytes(File(), ProgressFile(5, marks));
    HANDLE held = CreateFileW(File().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DialogDriver driver(File());
    driver.Run({
        [&held](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"0");
            CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
            PostMessageW(d.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(ReadBytes(File()), ProgressFile(6, marks));
}

struct PosterCase {
    int runCounter;
    int control;
};

class PosterTest : public MainDialogTest, public ::testing::WithParamInterface<PosterCase> {};

TEST_P(PosterTest, ExactlyOnePosterIsShownAtItsBitmapsSize) {
    WriteBytes(File(), ProgressFile(GetParam().runCounter, {}));
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        int shown = 0;
        for (const Poster& poster : kPosterOrder) {
            // A poster's bitmap is loaded when the poster is shown; the hidden ones hold none.
            if (!d.Visible(poster.control)) {
                EXPECT_EQ(SendMessageW(d.Item(poster.control), STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << poster.control;
                continue;
            }
            ++shown;
            EXPECT_EQ(poster.control, GetParam().control);
            const auto bitmap =
                reinterpret_cast<HBITMAP>(SendMessageW(d.Item(poster.control), STM_GETIMAGE, IMAGE_BITMAP, 0));
            ASSERT_NE(bitmap, nullptr);
            BITMAP info{};
            GetObjectW(bitmap, sizeof info, &info);
            RECT client{};
            GetClientRect(d.Item(poster.control), &client);
            EXPECT_EQ(client.right, info.bmWidth);
            EXPECT_EQ(client.bottom, info.bmHeight);
        }
        EXPECT_EQ(shown, 1);
        d.Press(VK_ESCAPE);
    }});
}

INSTANTIATE_TEST_SUITE_P(Win32, PosterTest,
                         ::testing::Values(PosterCase{1, 1086}, PosterCase{9, 1086}, PosterCase{10, 1096},
                                           PosterCase{15, 1101}, PosterCase{16, 1086}, PosterCase{17, 1095},
                                           PosterCase{32, 1086}, PosterCase{0, 1086}, PosterCase{-5, 1086}),
                         [](const auto& test) {
                             const int n = test.param.runCounter;
                             return "Counter" + (n < 0 ? "Minus" + std::to_string(-n) : std::to_string(n));
                         });

TEST_F(MainDialogTest, OnlyTheResultLineAndTheCountersDrawRed) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        HDC dc = CreateCompatibleDC(nullptr);
        for (const ControlTemplate& c : MainDialogTemplate().controls) {
            if (c.id == -1) continue;
            SetTextColor(dc, RGB(1, 2, 3));
            const LRESULT brush = SendMessageW(d.Dialog(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(d.Item(c.id)));
            EXPECT_NE(brush, 0) << c.id;
            const bool red = c.id == 1073 || c.id == 1079 || c.id == 1080;
            EXPECT_EQ(GetTextColor(dc), red ? RGB(255, 0, 0) : GetSysColor(COLOR_WINDOWTEXT)) << c.id;
        }
        DeleteDC(dc);
        d.Press(VK_ESCAPE);
    }});
}

TEST_F(MainDialogTest, ControlsDrawInTheirFonts) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(d.Dialog(), WM_GETFONT, 0, 0));
        LOGFONTW dialogFace{};
        ASSERT_NE(GetObjectW(dialogFont, sizeof dialogFace, &dialogFace), 0);
        EXPECT_STREQ(dialogFace.lfFaceName, L"微软雅黑");
        EXPECT_EQ(dialogFace.lfHeight, -MulDiv(9, dpi, 72));

        d.MakeEveryControl();  // the controls made late take the fonts they were given too
        HWND child = GetWindow(d.Dialog(), GW_CHILD);
        for (const ControlTemplate& c : MainDialogTemplate().controls) {
            SCOPED_TRACE("control " + std::to_string(c.id));
            const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
            child = GetWindow(child, GW_HWNDNEXT);
            // Icon and picture statics draw no text and keep no font.
            if (c.kind == ControlKind::IconStatic || c.kind == ControlKind::BitmapStatic) continue;
            if (FontRoleOf(c.id) == FontRole::Dialog) {
                EXPECT_EQ(font, dialogFont);
                continue;
            }
            LOGFONTW face{};
            if (GetObjectW(font, sizeof face, &face) == 0) {
                ADD_FAILURE() << "no font";
                continue;
            }
            EXPECT_STREQ(face.lfFaceName, L"宋体");
            EXPECT_EQ(face.lfHeight, -(dpi * (FontRoleOf(c.id) == FontRole::Song18 ? 180 : 120) / 720));
            EXPECT_EQ(face.lfWeight, 0);
            EXPECT_EQ(face.lfCharSet, DEFAULT_CHARSET);
        }
        d.Press(VK_ESCAPE);
    }});
}

TEST_F(MainDialogTest, TheCategoryListHoldsFifteenEntriesAndNoSelection) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        HWND combo = d.Item(ids::kCategoryCombo);
        const std::vector<std::wstring> expected{L"全选",        L"单词",     L"常用短语", L"第三人称单数", L"过去式",
                                                 L"介词短语",    L"名词复数", L"缩写",     L"特殊疑问词",   L"现在分词",
                                                 L"形容词→副词", L"比较级",   L"最高级",   L"错题",         L"复习"};
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 15);
        for (int i = 0; i < 15; ++i) {
            wchar_t text[32] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, expected[static_cast<std::size_t>(i)]) << i;
        }
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(DialogDriver::TextOf(combo), L"");
        d.Press(VK_ESCAPE);
    }});
}

// The drill changes the list itself: an entry added, selected or removed shows in the field, and
// the dialog hears nothing of it (a selection it heard of would filter the rows).
TEST_F(MainDialogTest, ComboItemsAddedSelectedAndRemovedTellTheDialogNothing) {
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        win32::DialogHost& host = d.Host();
        HWND combo = d.Item(ids::kCategoryCombo);
        const std::string filter = d.Logic().Filter();
        const auto heardNothing = [&] {
            EXPECT_EQ(d.Logic().Filter(), filter);
            EXPECT_EQ(d.Text(ids::kTotalCount), L"1754");
        };
        host.AddComboItem(ids::kCategoryCombo, Utf8ToGbk("Unit 3 Unicode"));
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 16);
        host.SelectComboItem(ids::kCategoryCombo, 1);
        EXPECT_EQ(DialogDriver::TextOf(combo), L"单词");
        heardNothing();
        host.SelectComboItem(ids::kCategoryCombo, 15);
        EXPECT_EQ(DialogDriver::TextOf(combo), L"Unit 3 Unicode");
        EXPECT_EQ(host.GetComboSelectionText(ids::kCategoryCombo), "Unit 3 Unicode");
        host.RemoveComboItem(ids::kCategoryCombo, 1);  // before the selection, which moves up
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 14);
        EXPECT_EQ(DialogDriver::TextOf(combo), L"Unit 3 Unicode");
        host.RemoveComboItem(ids::kCategoryCombo, 14);  // the selection: none is left, the field empty
        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 14);
        EXPECT_EQ(host.GetComboSelectionText(ids::kCategoryCombo), std::nullopt);
        EXPECT_EQ(DialogDriver::TextOf(combo), L"");
        heardNothing();
        d.Press(VK_ESCAPE);
    }});
}

TEST_F(MainDialogTest, ChoosingACategoryFromTheListFiltersTheRows) {
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(GetWindow(d.Item(ids::kCategoryCombo), GW_CHILD)); },
        [](DialogDriver& d) {
            ASSERT_EQ(d.FocusId(), ids::kCategoryCombo);
            d.Press(VK_DOWN, 2);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(SendMessageW(d.Item(ids::kCategoryCombo), CB_GETCURSEL, 0, 0), 1);
            EXPECT_EQ(d.Text(ids::kCategoryCaption), L"单词");
            EXPECT_EQ(d.Text(ids::kTotalCount), L"668");
            EXPECT_EQ(d.Logic().Filter(), Utf8ToGbk("单词"));
            d.Press(VK_ESCAPE);
        },
    });
}

// A file with two rows missed ("0") and one never answered (""): 错题, the last entry, asks the
// two missed rows only, each under its own category; one answered right leaves, the other answered
// wrong stays and is asked again, and the close saves a first review day and "0" for them.
TEST_F(MainDialogTest, ChoosingTheMissedRowsDrillsThemUntilAnsweredRight) {
    std::vector<std::string> marks(kBankRows, "1");
    marks[3] = marks[700] = "0";
    marks[1500] = "";
    WriteBytes(File(), ProgressFile(5, marks));
    int first = -1, second = -1;
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(GetWindow(d.Item(ids::kCategoryCombo), GW_CHILD)); },
        [](DialogDriver& d) {
            ASSERT_EQ(d.FocusId(), ids::kCategoryCombo);
            d.Press(VK_DOWN, 14);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(SendMessageW(d.Item(ids::kCategoryCombo), CB_GETCURSEL, 0, 0), 13);
            EXPECT_EQ(d.Logic().Filter(), Utf8ToGbk("错题"));
            EXPECT_EQ(d.Text(ids::kTotalCount), L"2");
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"0");
            first = d.Logic().CurrentRow();
            ASSERT_TRUE(first == 3 || first == 700) << first;
            second = first == 3 ? 700 : 3;
            EXPECT_EQ(d.Host().GetItemText(ids::kCategoryCaption), std::string(kWordRows[first].category));
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) {
            d.Type(d.Text(ids::kAnswerHolder));
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(ids::kRightMark));
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1");
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            ASSERT_EQ(d.Logic().CurrentRow(), second);
            EXPECT_EQ(d.Host().GetItemText(ids::kCategoryCaption), std::string(kWordRows[second].category));
            d.Type(L"zzz");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(ids::kWrongMark));
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Logic().CurrentRow(), second);
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1");
            PostMessageW(d.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    });
    ASSERT_NE(first, -1);
    marks = Rescheduled(marks);
    marks[static_cast<std::size_t>(first)] = FirstMastery();
    EXPECT_EQ(ReadBytes(File()), ProgressFile(6, marks));
}

// Two rows due for review: the start-up says so on the result line under the first question;
// 复习, the last entry, asks those two.
TEST_F(MainDialogTest, RowsDueAreToldAtStartUpAndAskedUnderReview) {
    std::vector<std::string> marks(kBankRows, "");
    marks[10] = marks[11] = WriteSchedule({2, LocalDay(kDriverClock)});
    marks[12] = WriteSchedule({2, LocalDay(kDriverClock) + 1});
    WriteBytes(File(), ProgressFile(5, marks));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kResultLine), L"今天有 2 个词要复习：选“复习”。");
            EXPECT_TRUE(d.Visible(ids::kResultLine) && d.Logic().CurrentRow() >= 0);
            DialogDriver::Click(GetWindow(d.Item(ids::kCategoryCombo), GW_CHILD));
        },
        [](DialogDriver& d) { d.Press(VK_DOWN, 15); },
        [](DialogDriver& d) {
            EXPECT_EQ(SendMessageW(d.Item(ids::kCategoryCombo), CB_GETCURSEL, 0, 0), 14);
            EXPECT_EQ(d.Text(ids::kTotalCount), L"2");
            EXPECT_TRUE(d.Logic().CurrentRow() == 10 || d.Logic().CurrentRow() == 11);
            d.Press(VK_ESCAPE);
        },
    });
}

// The answer box scrolls horizontally, so the longest answers can be typed in full.
class LongAnswerTest : public MainDialogTest, public ::testing::WithParamInterface<std::pair<int, const wchar_t*>> {};

struct TypedAnswer {
    const char* name;
    friend void PrintTo(const TypedAnswer& c, std::ostream* out) { *out << c.name; }
    int row;
    const wchar_t* typed;
    bool right;
    // After a miss, the right answer closest to what was typed.
    const char* shown = "";
};

// What is typed is judged as the dialog manager's edit gives it: the answer box scrolls
// horizontally, so the longest answers can be typed in full; a further answer and the full-width
// forms and spaces of an input method are right; case is not forgiven, and a miss shows the
// answer column.
class TypedAnswerTest : public MainDialogTest, public ::testing::WithParamInterface<TypedAnswer> {};

TEST_P(TypedAnswerTest, IsJudgedAsTyped) {
    const TypedAnswer& c = GetParam();
    WriteBytes(File(), OnlyUnmastered(c.row));
    DialogDriver driver(File());
    driver.Run({
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Logic().CurrentRow(), c.row);
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [&](DialogDriver& d) {
            d.Type(c.typed);
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kAnswerBox), c.typed);
            EXPECT_EQ(d.Visible(ids::kRightMark), c.right);
            EXPECT_EQ(d.Visible(ids::kWrongMark), !c.right);
            EXPECT_EQ(d.Text(ids::kMasteredCount), c.right ? L"1754" : L"1753");
            EXPECT_EQ(GbkToUtf8(d.Host().GetItemText(ids::kResultLine)),
                      c.right ? std::string()
                              : "答错了。你写的是 " + GbkToUtf8(d.Host().GetItemText(ids::kAnswerBox)) + "，正确的是 " +
                                    c.shown);
            d.Press(VK_ESCAPE);
        },
    });
}

INSTANTIATE_TEST_SUITE_P(
    Win32, TypedAnswerTest,
    ::testing::Values(TypedAnswer{"Row886", 886, L"in the east / south / west / north", true},
                      TypedAnswer{"Row1495", 1495, L"on the one hand\uFF0C on the other hand", true},
                      TypedAnswer{"FurtherAnswer", 1533, L"at the most", true},
                      TypedAnswer{"FullWidthLetters", 0, L"\uFF50\uFF45\uFF4E", true},
                      TypedAnswer{"CurlyApostrophe", 945, L"It\u2019s", true},
                      TypedAnswer{"OuterSpaces", 0, L"  pen\u3000", true},
                      TypedAnswer{"Capital", 0, L"Pen", false, "pen"},
                      TypedAnswer{"BracketsOfAFurtherAnswer", 1445, L"a bit (of)", false, "a bit of"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(MainDialogTest, ACharacterWithoutAGbkFormMakesTheAnswerWrong) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) {
            d.Type(L"rule\u0E01");  // a Thai letter, which GBK lacks
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Host().GetItemText(ids::kAnswerBox), "rule\xFF");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            EXPECT_TRUE(d.Visible(ids::kWrongMark));
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1753");
            d.Press(VK_ESCAPE);
        },
    });
}

// A box the drill shows: owned by the dialog, the given text and caption, the given buttons and no
// others with the first focused, and the given icon (nullptr: none).
void ExpectBox(const DialogDriver& d, HWND box, const wchar_t* text, const wchar_t* caption,
               std::initializer_list<int> buttons, HICON icon) {
    ASSERT_NE(box, nullptr) << "no message box is open";
    EXPECT_EQ(GetWindow(box, GW_OWNER), d.Dialog());
    EXPECT_EQ(DialogDriver::TextOf(box), caption);
    EXPECT_EQ(DialogDriver::TextOf(GetDlgItem(box, 0xFFFF)), text);
    for (int button : {IDOK, IDCANCEL, IDYES, IDNO}) {
        const bool wanted = std::find(buttons.begin(), buttons.end(), button) != buttons.end();
        EXPECT_EQ(GetDlgItem(box, button) != nullptr, wanted) << "button " << button;
    }
    EXPECT_EQ(GetFocus(), GetDlgItem(box, *buttons.begin()));
    HICON shown = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) continue;
        if (const auto i = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))) shown = i;
    }
    EXPECT_EQ(shown, icon);
}

// The box the drill asks with: Yes and No with Yes focused, no icon.
void ExpectYesNoBox(const DialogDriver& d, HWND box, const wchar_t* text, const wchar_t* caption) {
    ExpectBox(d, box, text, caption, {IDYES, IDNO}, nullptr);
}

// The report of an import: one OK button and the information icon; Tell returns once it is pressed.
TEST_F(MainDialogTest, TellShowsAnOkBoxWithTheInformationIcon) {
    DialogDriver driver(File());
    bool told = false;
    driver.Run({
        [&](DialogDriver& d) {
            d.Host().Tell(Utf8ToGbk("导入了 8 个词。\n有 1 行没有导入：\n第 10 行：没有英语"), texts::kImportListTitle);
            told = true;
        },
        [&](DialogDriver& d) {
            EXPECT_FALSE(told);
            ExpectBox(d, d.MessageBoxWindow(), L"导入了 8 个词。\n有 1 行没有导入：\n第 10 行：没有英语", L"导入词表",
                      {IDOK}, LoadIconW(nullptr, IDI_INFORMATION));
            DialogDriver::Click(GetDlgItem(d.MessageBoxWindow(), IDOK));
        },
        [&](DialogDriver& d) {
            EXPECT_TRUE(told);
            EXPECT_EQ(d.MessageBoxWindow(), nullptr);
            d.Press(VK_ESCAPE);
        },
    });
}

// The file name field of the open dialog: a combo box on Windows, an edit on older systems.
HWND FileNameField(HWND box) {
    HWND field = GetDlgItem(box, cmb13);
    return field != nullptr ? field : GetDlgItem(box, edt1);
}

// The open dialog that the dialog has open, or nullptr while it is not there yet.
HWND FileDialog(const DialogDriver& d) {
    HWND box = d.MessageBoxWindow();
    return box != nullptr && FileNameField(box) != nullptr ? box : nullptr;
}

// The file's full path typed into the open dialog's name field, and Open pressed.
void OpenInFileDialog(DialogDriver& d, HWND box, const std::filesystem::path& file) {
    SetFocus(FileNameField(box));
    d.Type(file.wstring());
    DialogDriver::Click(GetDlgItem(box, IDOK));
}

// A message box that the dialog has open (not the open dialog), or nullptr.
HWND MessageBoxOpen(const DialogDriver& d) {
    HWND box = d.MessageBoxWindow();
    return box != nullptr && GetDlgItem(box, 0xFFFF) != nullptr ? box : nullptr;
}

// The desktop's own open dialog, owned by the dialog, with the title and the one filter given: the
// file typed into its name field with its full path and opened comes back, Cancel gives nothing,
// and the program's current folder is left as it was.
TEST_F(MainDialogTest, TheFileDialogGivesTheFileOpenedAndNothingForCancel) {
    static constexpr std::string_view kPatterns[] = {"*.txt", "*.csv", "*.tsv"};
    const std::filesystem::path list = ListFile("Unit 2 spreadsheet.csv");
    const std::filesystem::path startedIn = std::filesystem::current_path();
    std::optional<std::filesystem::path> opened, cancelled{"not asked"};
    const auto ask = [](std::optional<std::filesystem::path>& result, DialogDriver& d) {
        result = d.Host().AskFileToOpen(texts::kImportListTitle, texts::kListFileFilter, kPatterns);
    };
    DialogDriver driver(File());
    driver.Run({
        [&](DialogDriver& d) { ask(opened, d); },
        [&](DialogDriver& d) {
            HWND box = FileDialog(d);
            if (box == nullptr) return d.RunAgain();
            EXPECT_EQ(GetWindow(box, GW_OWNER), d.Dialog());
            EXPECT_EQ(DialogDriver::TextOf(box), L"导入词表");
            HWND filter = GetDlgItem(box, cmb1);
            EXPECT_EQ(SendMessageW(filter, CB_GETCOUNT, 0, 0), 1);
            EXPECT_EQ(DialogDriver::TextOf(filter), L"词表文件 (*.txt;*.csv;*.tsv)");
            OpenInFileDialog(d, box, list);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(d.MessageBoxWindow(), nullptr);
            EXPECT_EQ(opened, list);
            EXPECT_EQ(std::filesystem::current_path(), startedIn);
            ask(cancelled, d);
        },
        [](DialogDriver& d) {
            HWND box = FileDialog(d);
            if (box == nullptr) return d.RunAgain();
            DialogDriver::Click(GetDlgItem(box, IDCANCEL));
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(cancelled, std::nullopt);
            d.Press(VK_ESCAPE);
        },
    });
}

// A list through the real modal loop: 导入词表 opens the file dialog, the list chosen there is
// reported, becomes the entry after the built-in ones and is drilled at once; the close box saves
// its marks, and the next start finds it with them. 删除词表 asks, then takes it away with its
// files and goes back to 全选.
TEST_F(MainDialogTest, AListImportedIsDrilledSavedFoundAgainAndRemoved) {
    const std::filesystem::path lists = m_dir / "lists";
    {
        DialogDriver driver(File());
        driver.Run({
            [](DialogDriver& d) {
                EXPECT_TRUE(d.Enabled(ids::kImportList));
                EXPECT_FALSE(d.Enabled(ids::kRemoveList));
                d.Click(ids::kImportList);
            },
            [](DialogDriver& d) {
                HWND box = FileDialog(d);
                if (box == nullptr) return d.RunAgain();
                OpenInFileDialog(d, box, ListFile("Unit 3 Unicode.txt"));
            },
            [](DialogDriver& d) {
                HWND box = MessageBoxOpen(d);
                if (box == nullptr) return d.RunAgain();
                ExpectBox(d, box, L"导入了 11 个词。", L"导入词表", {IDOK}, LoadIconW(nullptr, IDI_INFORMATION));
                DialogDriver::Click(GetDlgItem(box, IDOK));
            },
            [](DialogDriver& d) {
                HWND combo = d.Item(ids::kCategoryCombo);
                EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 16);
                EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 15);
                EXPECT_EQ(DialogDriver::TextOf(combo), L"Unit 3 Unicode");
                EXPECT_EQ(d.Text(ids::kCategoryCaption), L"Unit 3 Unicode");
                EXPECT_EQ(d.Text(ids::kTotalCount), L"11");
                EXPECT_EQ(d.Text(ids::kMasteredCount), L"0");
                EXPECT_TRUE(d.Enabled(ids::kRemoveList));
                EXPECT_EQ(d.FocusId(), ids::kAnswerBox);
                d.Type(d.Text(ids::kAnswerHolder));
                d.Press(VK_RETURN);
            },
            [](DialogDriver& d) {
                EXPECT_TRUE(d.Visible(ids::kRightMark));
                EXPECT_EQ(d.Text(ids::kMasteredCount), L"1");
                PostMessageW(d.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
            },
        });
    }
    EXPECT_TRUE(std::filesystem::exists(lists / "Unit 3 Unicode.txt"));
    EXPECT_TRUE(std::filesystem::exists(lists / "Unit 3 Unicode.zb"));

    DialogDriver next(File());
    next.Run({
        [](DialogDriver& d) {
            HWND combo = d.Item(ids::kCategoryCombo);
            ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 16);
            wchar_t entry[32] = {};
            SendMessageW(combo, CB_GETLBTEXT, 15, reinterpret_cast<LPARAM>(entry));
            EXPECT_STREQ(entry, L"Unit 3 Unicode");
            EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
            DialogDriver::Click(GetWindow(combo, GW_CHILD));
        },
        [](DialogDriver& d) { d.Press(VK_DOWN, 16); },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kTotalCount), L"11");
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1");
            d.Click(ids::kRemoveList);
        },
        [](DialogDriver& d) {
            ExpectYesNoBox(d, d.MessageBoxWindow(), L"要删除词表“Unit 3 Unicode”吗？它的练习记录也会一起删除。",
                           L"操作确认");
            d.Press(VK_RETURN);  // 是
        },
        [&](DialogDriver& d) {
            HWND combo = d.Item(ids::kCategoryCombo);
            EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 15);
            EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
            EXPECT_EQ(DialogDriver::TextOf(combo), L"全选");
            EXPECT_EQ(d.Text(ids::kTotalCount), L"1754");
            EXPECT_FALSE(d.Enabled(ids::kRemoveList));
            EXPECT_FALSE(std::filesystem::exists(lists / "Unit 3 Unicode.txt"));
            EXPECT_FALSE(std::filesystem::exists(lists / "Unit 3 Unicode.zb"));
            d.Press(VK_ESCAPE);
        },
    });
}

TEST_F(MainDialogTest, RetryAfterSubmittingIsRefusedWithAYesNoBox) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) {
            d.Type(L"rul");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kRetry)); },
        [](DialogDriver& d) {
            ExpectYesNoBox(d, d.MessageBoxWindow(), L"已提交不能重新作答！", L"温馨提示");
            DialogDriver::Click(GetDlgItem(d.MessageBoxWindow(), IDNO));
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.MessageBoxWindow(), nullptr);
            EXPECT_EQ(d.Text(ids::kAnswerBox), L"rul");
            EXPECT_TRUE(d.Visible(ids::kWrongMark));
            d.Press(VK_ESCAPE);
        },
    });
}

TEST_F(MainDialogTest, ResetAllAsksFirstAndClearsTheMarksOnYes) {
    WriteBytes(File(), OnlyUnmastered(3));
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kResetAll)); },
        [](DialogDriver& d) {
            ExpectYesNoBox(d, d.MessageBoxWindow(), L"确定要重新练习所有内容吗？", L"操作确认");
            DialogDriver::Click(GetDlgItem(d.MessageBoxWindow(), IDNO));
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1753");
            DialogDriver::Click(d.Item(ids::kResetAll));
        },
        [](DialogDriver& d) {
            ASSERT_NE(d.MessageBoxWindow(), nullptr);
            d.Press(VK_RETURN);  // Yes, the focused button
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.MessageBoxWindow(), nullptr);
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"0");
            d.Press(VK_ESCAPE);
        },
    });
}

// The pixels of a drawing near a colour, and the widest run of them along a row (the line of an
// underline or a strike-out is wider than a letter's stroke).
std::pair<int, int> PixelsNear(HDC dc, SIZE size, COLORREF colour) {
    int count = 0, widest = 0;
    for (int y = 0; y < size.cy; ++y) {
        int run = 0;
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            const bool alike = std::abs(GetRValue(pixel) - GetRValue(colour)) +
                                   std::abs(GetGValue(pixel) - GetGValue(colour)) +
                                   std::abs(GetBValue(pixel) - GetBValue(colour)) <
                               60;
            count += alike;
            run = alike ? run + 1 : 0;
            widest = std::max(widest, run);
        }
    }
    return {count, widest};
}

// A near miss: the result line keeps the plain sentence as its text and its name, and draws the
// typed text against the answer with the slips marked, in the line's own place; the next row
// makes it a plain static again.
TEST_F(MainDialogTest, ANearMissIsDrawnMarkedAndReadPlainly) {
    WriteBytes(File(), OnlyUnmastered(3));  // "ruler"
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) { DialogDriver::Click(d.Item(ids::kAnswerBox)); },
        [](DialogDriver& d) { d.Type(L"rulre"), d.Press(VK_RETURN); },
        [](DialogDriver& d) {
            HWND line = d.Item(ids::kResultLine);
            EXPECT_EQ(d.Text(ids::kResultLine), L"答错了。你写的是 rulre，正确的是 ruler");
            EXPECT_EQ(d.Host().AccessibleNameOf(ids::kResultLine), L"结果 答错了。你写的是 rulre，正确的是 ruler");
            EXPECT_EQ(GetWindowLongW(line, GWL_STYLE) & SS_TYPEMASK, SS_OWNERDRAW);
            // Drawn by the host into a bitmap of the line's size, as the system asks it to draw.
            RECT client{};
            GetClientRect(line, &client);
            const SIZE size{client.right, client.bottom};
            HDC screen = GetDC(line);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
            const HGDIOBJ old = SelectObject(dc, bitmap);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_STATIC;
            item.CtlID = ids::kResultLine;
            item.itemAction = ODA_DRAWENTIRE;
            item.hwndItem = line;
            item.hDC = dc;
            item.rcItem = client;
            SendMessageW(d.Dialog(), WM_DRAWITEM, ids::kResultLine, reinterpret_cast<LPARAM>(&item));
            const auto [orange, orangeLine] = PixelsNear(dc, size, RGB(213, 94, 0));
            const auto [blue, blueLine] = PixelsNear(dc, size, RGB(0, 90, 181));
            const auto [red, redLine] = PixelsNear(dc, size, RGB(255, 0, 0));
            EXPECT_GT(orange, 20);
            EXPECT_GT(blue, 20);
            EXPECT_GT(red, 20);
            EXPECT_GT(orangeLine, 4) << "the swap is underlined";
            EXPECT_GT(blueLine, 4);
            (void)redLine;
            SelectObject(dc, old);
            DeleteObject(bitmap);
            DeleteDC(dc);
            ReleaseDC(line, screen);
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kResultLine), L"");
            EXPECT_EQ(GetWindowLongW(d.Item(ids::kResultLine), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
            d.Press(VK_ESCAPE);
        },
    });
}

// 听写 with a voice that speaks: off at start, no tab stop; on, each row is said as it is asked and
// its prompt kept back until the submission; off again, the prompt at once.
TEST_F(MainDialogTest, DictationSaysEachRowAndKeepsItsPromptBack) {
    struct SpeakingVoice final : win32::SapiEngine {
        explicit SpeakingVoice(std::vector<std::wstring>& record) : said(record) {}
        HRESULT Open() override { return S_OK; }
        std::vector<win32::VoiceToken> Voices(win32::VoiceCategory category) override {
            if (category == win32::VoiceCategory::Desktop) return {};
            return {{L"409", true}};
        }
        HRESULT UseVoice(win32::VoiceCategory, std::size_t) override { return S_OK; }
        HRESULT Speak(const wchar_t* text, DWORD) override {
            if (text && *text) said.emplace_back(text);
            return S_OK;
        }
        std::vector<std::wstring>& said;
    };
    std::vector<std::string> marks(kBankRows, "1");
    marks[3] = marks[4] = "";
    WriteBytes(File(), ProgressFile(3, marks));
    std::vector<std::wstring> said;
    DialogDriver driver(File(), std::make_unique<SpeakingVoice>(said));
    const auto reading = [](int row) { return win32::Wide(ReadAloud(std::string(kWordRows[row].answer))); };
    int first = -1;
    driver.Run({
        [](DialogDriver&) {},  // the voice is looked for from a timer, once the window is shown
        [&](DialogDriver& d) {
            HWND box = d.Item(ids::kDictation);
            EXPECT_TRUE(d.Enabled(ids::kDictation));
            EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
            EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & WS_TABSTOP, 0);
            EXPECT_EQ(d.Text(ids::kDictation), L"听写(&D)");
            first = d.Logic().CurrentRow();
            d.Click(ids::kDictation);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(SendMessageW(d.Item(ids::kDictation), BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_EQ(d.Text(ids::kPromptLine), L"请听读音，写出英语");
            ASSERT_FALSE(said.empty());
            EXPECT_EQ(said.back(), reading(first));
            EXPECT_EQ(d.FocusId(), ids::kAnswerBox);
            EXPECT_TRUE(d.Enabled(ids::kListen));
            d.Type(L"zzz"), d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kPromptLine), win32::Wide(kWordRows[first].prompt));
            d.Press(VK_RETURN);
        },
        [&](DialogDriver& d) {
            const int second = d.Logic().CurrentRow();
            EXPECT_EQ(said.back(), reading(second));
            EXPECT_EQ(d.Text(ids::kPromptLine), L"请听读音，写出英语");
            d.Click(ids::kDictation);
        },
        [&](DialogDriver& d) {
            EXPECT_EQ(d.Text(ids::kPromptLine), win32::Wide(kWordRows[d.Logic().CurrentRow()].prompt));
            EXPECT_EQ(d.Text(ids::kMasteredCount), L"1752");
            d.Press(VK_ESCAPE);
        },
    });
}

}  // namespace
}  // namespace zembra::testing
