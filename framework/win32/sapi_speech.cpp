#include "framework/win32/sapi_speech.h"

#include <sapi.h>

#include <cstdio>
#include <cwchar>
#include <map>

#include "framework/win32/wide_text.h"

namespace zembra::win32 {
namespace {

constexpr unsigned kUsEnglish = 0x409;
constexpr unsigned kBritishEnglish = 0x809;
constexpr unsigned kEnglish = 0x09;  // the primary language of every English LCID

constexpr DWORD kSpeakFlags = SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML;
constexpr DWORD kPurgeFlags = SPF_ASYNC | SPF_PURGEBEFORESPEAK;

// The speech of each running timer; a thread timer's callback gets only its id.
std::map<UINT_PTR, SapiSpeech*>& Timers() {
    static std::map<UINT_PTR, SapiSpeech*> timers;
    return timers;
}

std::string Why(const char* what, HRESULT result) {
    char text[96];
    std::snprintf(text, sizeof text, "%s (SAPI 5, 0x%08lX)", what, static_cast<unsigned long>(result));
    return text;
}

class ComSapiEngine final : public SapiEngine {
public:
    ~ComSapiEngine() override {
        for (ISpObjectToken* token : m_tokens) token->Release();
        if (m_voice) {
            m_voice->Speak(nullptr, kPurgeFlags, nullptr);
            m_voice->Release();
        }
        if (m_com) CoUninitialize();
    }

    HRESULT Open() override {
        m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        return CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(&m_voice));
    }

    std::vector<std::wstring> VoiceAttributes() override {
        std::vector<std::wstring> attributes;
        ISpObjectTokenCategory* category = nullptr;
        if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                    reinterpret_cast<void**>(&category)))) {
            return attributes;
        }
        IEnumSpObjectTokens* tokens = nullptr;
        if (SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) &&
            SUCCEEDED(category->EnumTokens(nullptr, nullptr, &tokens))) {
            ISpObjectToken* token = nullptr;
            while (tokens->Next(1, &token, nullptr) == S_OK) {
                m_tokens.push_back(token);
                attributes.push_back(LanguageOf(*token));
            }
            tokens->Release();
        }
        category->Release();
        return attributes;
    }

    HRESULT UseVoice(std::size_t index) override {
        return index < m_tokens.size() ? m_voice->SetVoice(m_tokens[index]) : E_INVALIDARG;
    }

    HRESULT Speak(const wchar_t* text, DWORD flags) override {
        return m_voice ? m_voice->Speak(text, flags, nullptr) : E_POINTER;
    }

private:
    static std::wstring LanguageOf(ISpObjectToken& token) {
        std::wstring language;
        ISpDataKey* attributes = nullptr;
        if (SUCCEEDED(token.OpenKey(L"Attributes", &attributes))) {
            wchar_t* value = nullptr;
            if (SUCCEEDED(attributes->GetStringValue(L"Language", &value)) && value) {
                language = value;
                CoTaskMemFree(value);
            }
            attributes->Release();
        }
        return language;
    }

    bool m_com = false;
    ISpVoice* m_voice = nullptr;
    std::vector<ISpObjectToken*> m_tokens;
};

}  // namespace

std::vector<unsigned> VoiceLanguages(std::wstring_view attribute) {
    std::vector<unsigned> languages;
    while (!attribute.empty()) {
        const std::size_t end = std::min(attribute.find(L';'), attribute.size());
        const std::wstring item(attribute.substr(0, end));
        wchar_t* stop = nullptr;
        const unsigned long value = std::wcstoul(item.c_str(), &stop, 16);
        if (stop != item.c_str() && *stop == L'\0' && value > 0 && value <= 0xFFFF) {
            languages.push_back(static_cast<unsigned>(value));
        }
        attribute.remove_prefix(std::min(end + 1, attribute.size()));
    }
    return languages;
}

std::optional<std::size_t> ChooseEnglishVoice(std::span<const std::wstring> languageAttributes) {
    for (const auto wanted : {kUsEnglish, kBritishEnglish}) {
        for (std::size_t i = 0; i < languageAttributes.size(); ++i) {
            for (const unsigned language : VoiceLanguages(languageAttributes[i])) {
                if (language == wanted) return i;
            }
        }
    }
    for (std::size_t i = 0; i < languageAttributes.size(); ++i) {
        for (const unsigned language : VoiceLanguages(languageAttributes[i])) {
            if ((language & 0x3FF) == kEnglish) return i;
        }
    }
    // Last, a voice that names no language at all (as Wine's one voice): it may speak English,
    // while one that names another language does not.
    for (std::size_t i = 0; i < languageAttributes.size(); ++i) {
        if (VoiceLanguages(languageAttributes[i]).empty()) return i;
    }
    return std::nullopt;
}

std::unique_ptr<SapiEngine> MakeSapiEngine() { return std::make_unique<ComSapiEngine>(); }

SapiSpeech::SapiSpeech(std::unique_ptr<SapiEngine> engine) : m_engine(std::move(engine)) {}

SapiSpeech::~SapiSpeech() {
    if (m_timer != 0) {
        KillTimer(nullptr, m_timer);
        Timers().erase(m_timer);
    }
}

void SapiSpeech::Start(ReadyHandler ready) {
    m_ready = std::move(ready);
    m_state = State::Looking;
    m_timer = SetTimer(nullptr, 0, 0, OnTimer);
    if (m_timer != 0) {
        Timers()[m_timer] = this;
    } else {
        FindVoice();
    }
}

void CALLBACK SapiSpeech::OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const auto it = Timers().find(timer);
    if (it == Timers().end()) return;
    SapiSpeech* speech = it->second;
    Timers().erase(it);
    speech->m_timer = 0;
    speech->FindVoice();
}

void SapiSpeech::FindVoice() {
    const auto missing = [this](const std::string& why) {
        m_state = State::Missing;
        m_pending.reset();
        if (m_ready) m_ready(false, why);
    };
    if (const HRESULT opened = m_engine->Open(); FAILED(opened)) return missing(Why("no voice object", opened));
    const std::vector<std::wstring> voices = m_engine->VoiceAttributes();
    const std::optional<std::size_t> voice = ChooseEnglishVoice(voices);
    if (!voice) return missing(voices.empty() ? "no voice installed (SAPI 5)" : "no English voice installed (SAPI 5)");
    if (const HRESULT chosen = m_engine->UseVoice(*voice); FAILED(chosen)) return missing(Why("voice refused", chosen));
    // A purge says nothing, but fails where the voice cannot speak at all (as under Wine, whose
    // Speak is a stub).
    if (const HRESULT purged = m_engine->Speak(nullptr, kPurgeFlags); FAILED(purged)) {
        return missing(Why("the voice cannot speak", purged));
    }
    m_state = State::Ready;
    if (m_ready) m_ready(true, "");
    if (m_pending) {
        m_engine->Speak(m_pending->c_str(), kSpeakFlags);
        m_pending.reset();
    }
}

void SapiSpeech::Speak(const std::string& text) {
    if (m_state == State::Ready) {
        m_engine->Speak(Wide(text).c_str(), kSpeakFlags);
    } else if (m_state != State::Missing) {
        m_pending = Wide(text);
    }
}

void SapiSpeech::Stop() {
    m_pending.reset();
    if (m_state == State::Ready) m_engine->Speak(nullptr, kPurgeFlags);
}

}  // namespace zembra::win32
