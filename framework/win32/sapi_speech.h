// Speech on Windows through SAPI 5, part of every Windows since XP: an installed English voice,
// the user's default one or chosen by language (US English, then British, then any English),
// speaking asynchronously on SAPI's own thread, every new text purging the old.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "framework/speech.h"

namespace zembra::win32 {

// The languages a voice token's "Language" attribute lists, as hexadecimal LCIDs ("409;9").
std::vector<unsigned> VoiceLanguages(std::wstring_view attribute);

// An installed voice as its token tells it.
struct VoiceToken {
    std::wstring language;     // the "Language" attribute
    bool userDefault = false;  // the user's default voice of its category
};
// Of the voices, the one to speak English with: the first default voice that speaks English, then
// en-US, then en-GB, then any English, then one that names no language; nothing when every voice
// names another.
std::optional<std::size_t> ChooseEnglishVoice(std::span<const VoiceToken> voices);

// Where voices are looked for, in this order: SAPI 5's own category (the desktop voices of Control
// Panel's Text to Speech), then OneCore's, where the voices a parent adds in Settings go on
// Windows 10 and 11 (a Chinese Windows may have no English desktop voice at all).
enum class VoiceCategory { Desktop, OneCore };

// What SapiSpeech needs of SAPI, so that its rules can be tested with a voice that is not there.
class SapiEngine {
public:
    virtual ~SapiEngine() = default;
    // Initialises COM on this thread and creates the voice (CLSID_SpVoice).
    virtual HRESULT Open() = 0;
    // The installed voices of a category, in SAPI's order.
    virtual std::vector<VoiceToken> Voices(VoiceCategory category) = 0;
    virtual HRESULT UseVoice(VoiceCategory category, std::size_t index) = 0;
    // ISpVoice::Speak; `text` may be nullptr to purge only.
    virtual HRESULT Speak(const wchar_t* text, DWORD flags) = 0;
};

// The real one, on the calling thread's COM apartment.
std::unique_ptr<SapiEngine> MakeSapiEngine();

class SapiSpeech final : public Speech {
public:
    explicit SapiSpeech(std::unique_ptr<SapiEngine> engine = MakeSapiEngine());
    ~SapiSpeech() override;
    SapiSpeech(const SapiSpeech&) = delete;
    SapiSpeech& operator=(const SapiSpeech&) = delete;

    // The voice is looked for on a timer of this thread, so that the dialog is on the screen
    // first; the modal loop dispatches it.
    void Start(ReadyHandler ready) override;
    void Speak(const std::string& text) override;
    void Stop() override;

    // Looks for the voice now (what the timer does); for tests.
    void FindVoice();
    // Whether the voice has been looked for (found or not).
    bool Settled() const { return m_state == State::Ready || m_state == State::Missing; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);
    // Says the text; a voice that fails to (no audio device, a broken engine) is lost.
    void Say(const std::wstring& text);
    void Lose(const std::string& why);

    std::unique_ptr<SapiEngine> m_engine;
    ReadyHandler m_ready;
    UINT_PTR m_timer = 0;
    enum class State { Idle, Looking, Ready, Missing } m_state = State::Idle;
    std::optional<std::wstring> m_pending;  // said once the voice is ready
};

}  // namespace zembra::win32
