// Speech on Windows through SAPI 5, part of every Windows since XP: an installed English voice,
// chosen by language (US English, then British, then any English), speaking asynchronously on
// SAPI's own thread, every new text purging the old.
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
// Of the voices' "Language" attributes, the one to speak English with: en-US first, then en-GB,
// then any English, then one that names no language; nothing when every voice names another.
std::optional<std::size_t> ChooseEnglishVoice(std::span<const std::wstring> languageAttributes);

// What SapiSpeech needs of SAPI, so that its rules can be tested with a voice that is not there.
class SapiEngine {
public:
    virtual ~SapiEngine() = default;
    // Initialises COM on this thread and creates the voice (CLSID_SpVoice).
    virtual HRESULT Open() = 0;
    // The "Language" attribute of each installed voice, in SAPI's order.
    virtual std::vector<std::wstring> VoiceAttributes() = 0;
    virtual HRESULT UseVoice(std::size_t index) = 0;
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

    std::unique_ptr<SapiEngine> m_engine;
    ReadyHandler m_ready;
    UINT_PTR m_timer = 0;
    enum class State { Idle, Looking, Ready, Missing } m_state = State::Idle;
    std::optional<std::wstring> m_pending;  // said once the voice is ready
};

}  // namespace zembra::win32
