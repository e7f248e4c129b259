// The Windows speech without a real voice: which installed voice speaks English, and what
// SapiSpeech asks of SAPI (asynchronous, purging speech; a purge to stop; nothing once the voice
// is known to be missing).
#include "framework/win32/sapi_speech.h"

#include <gtest/gtest.h>

#include <sapi.h>

namespace zembra::win32 {
namespace {

struct VoiceCase {
    std::vector<VoiceToken> voices;
    std::optional<std::size_t> chosen;
};

class EnglishVoiceChoice : public ::testing::TestWithParam<VoiceCase> {};

TEST_P(EnglishVoiceChoice, ByDefaultThenLanguage) {
    EXPECT_EQ(ChooseEnglishVoice(GetParam().voices), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Voices, EnglishVoiceChoice,
    ::testing::Values(VoiceCase{{{L"804"}, {L"809"}, {L"409"}}, 2},  // US English before British
                      VoiceCase{{{L"804"}, {L"809"}}, 1},
                      VoiceCase{{{L"411"}, {L"c09"}}, 1},  // any English: Australian
                      VoiceCase{{{L"804;409"}}, 0},        // a list of languages
                      VoiceCase{{{L"411"}, {L"804"}}, std::nullopt},
                      VoiceCase{{{L"804"}, {L"zz;;"}}, 1},                         // one naming no language, last
                      VoiceCase{{{L""}, {L"409"}}, 1}, VoiceCase{{{L"1009"}}, 0},  // Canadian English
                      VoiceCase{{}, std::nullopt}, VoiceCase{{{L"409x"}, {L"0809"}}, 1},
                      // The user's default voice first, when it speaks English; the first of two.
                      VoiceCase{{{L"409"}, {L"c09", true}}, 1}, VoiceCase{{{L"809", true}, {L"1009", true}}, 0},
                      VoiceCase{{{L"804", true}, {L"809"}}, 1}, VoiceCase{{{L"", true}, {L"c09"}}, 1}));

// Records what it is asked, and answers as told.
class FakeEngine final : public SapiEngine {
public:
    struct Call {
        std::wstring text;  // "<purge>" for none
        DWORD flags;
    };
    HRESULT open = S_OK;
    std::vector<VoiceToken> desktop{{L"804"}, {L"409"}};
    std::vector<VoiceToken> oneCore;
    HRESULT purge = S_OK;
    HRESULT say = S_OK;  // what speaking a text answers
    std::optional<std::pair<VoiceCategory, std::size_t>> used;
    std::vector<Call>* calls;

    explicit FakeEngine(std::vector<Call>* record) : calls(record) {}
    HRESULT Open() override { return open; }
    std::vector<VoiceToken> Voices(VoiceCategory category) override {
        return category == VoiceCategory::Desktop ? desktop : oneCore;
    }
    HRESULT UseVoice(VoiceCategory category, std::size_t index) override {
        used = {category, index};
        return S_OK;
    }
    HRESULT Speak(const wchar_t* text, DWORD flags) override {
        calls->push_back({text ? text : L"<purge>", flags});
        return text ? say : purge;
    }
};

constexpr DWORD kSpeak = SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML;
constexpr DWORD kPurge = SPF_ASYNC | SPF_PURGEBEFORESPEAK;

class SapiSpeechTest : public ::testing::Test {
protected:
    std::unique_ptr<SapiSpeech> Make(const std::function<void(FakeEngine&)>& setUp = {}) {
        auto engine = std::make_unique<FakeEngine>(&m_calls);
        m_engine = engine.get();
        if (setUp) setUp(*engine);
        return std::make_unique<SapiSpeech>(std::move(engine));
    }
    void Started(SapiSpeech& speech) {
        speech.Start([this](bool available, std::string_view why) {
            m_ready.push_back(available);
            m_why = std::string(why);
        });
    }

    std::vector<FakeEngine::Call> m_calls;
    FakeEngine* m_engine = nullptr;
    std::vector<bool> m_ready;
    std::string m_why;
};

TEST_F(SapiSpeechTest, FindsTheVoiceOnTheLoopAndSpeaksWhatCameBefore) {
    auto speech = Make();
    Started(*speech);
    speech->Speak("pen");
    EXPECT_TRUE(m_ready.empty()) << "Start does not wait for the voice";
    MSG message;
    for (int i = 0; i < 200 && m_ready.empty(); ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
    ASSERT_EQ(m_ready, std::vector<bool>{true});
    EXPECT_EQ(m_engine->used, std::make_pair(VoiceCategory::Desktop, std::size_t{1}));
    ASSERT_EQ(m_calls.size(), 2u);
    EXPECT_EQ(m_calls[0].text, L"<purge>");  // the probe
    EXPECT_EQ(m_calls[1].text, L"pen");
    EXPECT_EQ(m_calls[1].flags, kSpeak);
}

TEST_F(SapiSpeechTest, SpeaksAsynchronouslyAndStopsWithAPurge) {
    auto speech = Make();
    Started(*speech);
    speech->FindVoice();
    m_calls.clear();
    speech->Speak("at the most");
    speech->Stop();
    ASSERT_EQ(m_calls.size(), 2u);
    EXPECT_EQ(m_calls[0].text, L"at the most");
    EXPECT_EQ(m_calls[0].flags, kSpeak);
    EXPECT_EQ(m_calls[1].text, L"<purge>");
    EXPECT_EQ(m_calls[1].flags, kPurge);
}

TEST_F(SapiSpeechTest, AStopBeforeTheVoiceIsFoundDropsTheWaitingText) {
    auto speech = Make();
    Started(*speech);
    speech->Speak("pen");
    speech->Stop();
    speech->FindVoice();
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].text, L"<purge>");
}

TEST_F(SapiSpeechTest, EachWayToHaveNoVoiceSaysWhyAndSpeaksNothing) {
    struct Case {
        std::function<void(FakeEngine&)> setUp;
        const char* why;
    };
    const Case cases[] = {
        {[](FakeEngine& e) { e.open = REGDB_E_CLASSNOTREG; }, "no voice object (SAPI 5, 0x80040154)"},
        {[](FakeEngine& e) { e.desktop.clear(); }, "no voice installed (SAPI 5)"},
        {[](FakeEngine& e) {
             e.desktop = {{L"804"}, {L"411"}};
             e.oneCore = {{L"412", true}};
         },
         "no English voice installed (SAPI 5)"},
        {[](FakeEngine& e) { e.purge = E_NOTIMPL; }, "the voice cannot speak (SAPI 5, 0x80004001)"},
    };
    for (const Case& c : cases) {
        m_calls.clear();
        m_ready.clear();
        auto speech = Make(c.setUp);
        Started(*speech);
        speech->FindVoice();
        EXPECT_EQ(m_ready, std::vector<bool>{false});
        EXPECT_EQ(m_why, c.why);
        const std::size_t probes = m_calls.size();
        speech->Speak("pen");
        speech->Stop();
        EXPECT_EQ(m_calls.size(), probes) << c.why;
    }
}

// SAPI 5's own voices first, then the ones Settings adds (OneCore's), by the rules of the choice
// above: the user's default of either before the rest.
TEST_F(SapiSpeechTest, LooksInBothCategoriesSapisOwnFirst) {
    using enum VoiceCategory;
    struct Case {
        std::vector<VoiceToken> desktop, oneCore;
        std::pair<VoiceCategory, std::size_t> used;
    };
    const Case cases[] = {
        {{{L"804", true}}, {{L"804"}, {L"409", true}}, {OneCore, 1}},  // a Chinese Windows, English added
        {{{L"809"}}, {{L"409"}}, {OneCore, 0}},                        // US English before British, wherever it is
        {{{L"409"}}, {{L"409"}}, {Desktop, 0}},
        {{{L"409", true}}, {{L"809", true}}, {Desktop, 0}},
        {{{L"409"}}, {{L"809", true}}, {OneCore, 0}},
        {{}, {{L"c09"}}, {OneCore, 0}},
    };
    for (const Case& c : cases) {
        auto speech = Make([&c](FakeEngine& e) { e.desktop = c.desktop, e.oneCore = c.oneCore; });
        Started(*speech);
        speech->FindVoice();
        EXPECT_EQ(m_engine->used, c.used) << int(c.used.first) << " " << c.used.second;
    }
}

// A voice that cannot say a text (no audio device, a broken engine) is lost: told once, and
// nothing is asked of it after.
TEST_F(SapiSpeechTest, ASpeakThatFailsLosesTheVoice) {
    for (const bool waiting : {false, true}) {
        m_calls.clear();
        m_ready.clear();
        auto speech = Make([](FakeEngine& e) { e.say = E_FAIL; });
        Started(*speech);
        if (waiting) speech->Speak("pen");  // said as soon as the voice is found
        speech->FindVoice();
        if (!waiting) speech->Speak("pen");
        EXPECT_EQ(m_ready, (std::vector<bool>{true, false})) << waiting;
        EXPECT_EQ(m_why, "the voice failed to speak (SAPI 5, 0x80004005)");
        const std::size_t calls = m_calls.size();
        speech->Speak("ruler");
        speech->Stop();
        EXPECT_EQ(m_calls.size(), calls);
    }
}

}  // namespace
}  // namespace zembra::win32
