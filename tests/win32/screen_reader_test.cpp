// The real dialog for a screen reader: the names its controls are given as the drill goes on,
// the announcements of the marks and the result, and, where the system has the annotation
// service (Windows; Wine's oleacc answers "not implemented"), the names as its accessibility
// objects report them.
#include <windows.h>
// After windows.h, which the lean build leaves without COM.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/word_bank.h"
#include "tests/win32/dialog_driver.h"
#include "ui/control_ids.h"
#include "ui/poster.h"

namespace zembra::testing {
namespace {

std::string OnlyUnmastered(int row) {
    std::vector<std::string> marks(kBankRows, "1");
    marks[static_cast<std::size_t>(row)] = "";
    return ProgressFile(3, marks);
}

class ScreenReaderTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(File(), OnlyUnmastered(3)); }  // row 3 asks for "ruler"
    std::filesystem::path File() const { return m_dir / "ZbXxYy.zb"; }

    TempDir m_dir;
};

TEST_F(ScreenReaderTest, TheNamesFollowTheDrill) {
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) {
            const auto name = [&](int id) { return d.Host().AccessibleNameOf(id); };
            EXPECT_EQ(name(ids::kAnswerBox), L"答案");
            EXPECT_EQ(name(ids::kCategoryCombo), L"筛选");
            EXPECT_EQ(name(ids::kRightMark), L"答对了");
            EXPECT_EQ(name(ids::kWrongMark), L"答错了");
            EXPECT_EQ(name(ids::kResultLine), L"结果");
            EXPECT_EQ(name(ids::kTotalCount), L"总计 1754");
            EXPECT_EQ(name(ids::kMasteredCount), L"掌握 1753");
            // The two word-list commands without their access keys and the ellipsis.
            EXPECT_EQ(name(ids::kImportList), L"导入词表");
            EXPECT_EQ(name(ids::kRemoveList), L"删除词表");
            for (const Poster& poster : kPosterOrder) EXPECT_EQ(name(poster.control), L"布告栏海报") << poster.control;
            // The texts that say enough themselves keep them.
            EXPECT_EQ(name(ids::kTotalLabel), L"");
            EXPECT_EQ(name(ids::kPromptLine), L"");
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) {
            d.Type(L"rule");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Host().AccessibleNameOf(ids::kResultLine), L"结果 答错了。你写的是 rule，正确的是 ruler");
            d.Press(VK_RETURN);  // the next row: row 3 again, the only one left
        },
        [](DialogDriver& d) {
            EXPECT_EQ(d.Host().AccessibleNameOf(ids::kResultLine), L"结果");
            d.Type(L"ruler");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            ASSERT_TRUE(d.Visible(ids::kRightMark));
            EXPECT_EQ(d.Host().AccessibleNameOf(ids::kMasteredCount), L"掌握 1754");
            d.Press(VK_ESCAPE);
        },
    });
}

std::vector<int> g_announced;

void CALLBACK OnLiveRegionChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) g_announced.push_back(GetDlgCtrlID(window));
}

// A wrong answer announces the cross and the right answer, a right one the tick; nothing else is,
// not even the result line as it empties.
TEST_F(ScreenReaderTest, TheMarksAndTheResultAreAnnouncedAsTheyChange) {
    g_announced.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                                         OnLiveRegionChanged, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    DialogDriver driver(File());
    driver.Run({
        [](DialogDriver& d) {
            EXPECT_EQ(g_announced, std::vector<int>{}) << "announced before the first answer";
            DialogDriver::Click(d.Item(ids::kAnswerBox));
        },
        [](DialogDriver& d) {
            d.Type(L"rule");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            std::sort(g_announced.begin(), g_announced.end());
            EXPECT_EQ(g_announced, (std::vector<int>{ids::kResultLine, ids::kWrongMark}));
            g_announced.clear();
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            g_announced.clear();
            d.Type(L"ruler");
            d.Press(VK_RETURN);
        },
        [](DialogDriver& d) {
            EXPECT_EQ(g_announced, std::vector<int>{ids::kRightMark});
            d.Press(VK_ESCAPE);
        },
    });
    UnhookWinEvent(hook);
}

// Whether the system keeps the names given through its annotation service.
bool AnnotationServiceWorks() {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services)))) {
        return false;
    }
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const HRESULT result =
        services->SetHwndPropStr(probe, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, L"x");
    DestroyWindow(probe);
    services->Release();
    return SUCCEEDED(result);
}

std::wstring NameReported(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return L"(no object)";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    object->get_accName(self, &name);
    std::wstring text = name != nullptr ? name : L"";
    SysFreeString(name);
    object->Release();
    return text;
}

TEST_F(ScreenReaderTest, TheSystemsAccessibilityObjectsReportTheNames) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!AnnotationServiceWorks()) {
        CoUninitialize();
        GTEST_SKIP() << "this system's oleacc keeps no annotations (Wine)";
    }
    DialogDriver driver(File());
    driver.Run({[](DialogDriver& d) {
        EXPECT_EQ(NameReported(d.Item(ids::kAnswerBox)), L"答案");
        EXPECT_EQ(NameReported(d.Item(ids::kCategoryCombo)), L"筛选");
        EXPECT_EQ(NameReported(d.Item(ids::kTotalCount)), L"总计 1754");
        EXPECT_EQ(NameReported(d.Item(ids::kMasteredCount)), L"掌握 1753");
        d.Press(VK_ESCAPE);
    }});
    CoUninitialize();
}

}  // namespace
}  // namespace zembra::testing
