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

// The voices that Settings adds on Windows 10 and 11; SAPI 5 reads them as it reads its own.
constexpr wchar_t kOneCoreVoices[] = LR"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Speech_OneCore\Voices)";

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
        for (const std::vector<ISpObjectToken*>& tokens : m_tokens) {
            for (ISpObjectToken* token : tokens) token->Release();
        }
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

    std::vector<VoiceToken> Voices(VoiceCategory category) override {
        std::vector<ISpObjectToken*>& tokens = m_tokens[Index(category)];
        std::vector<VoiceToken> voices;
        ISpObjectTokenCategory* found = nullptr;
        if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                    reinterpret_cast<void**>(&found)))) {
            return voices;
        }
        IEnumSpObjectTokens* list = nullptr;
        const wchar_t* id = category == VoiceCategory::Desktop ? SPCAT_VOICES : kOneCoreVoices;
        if (SUCCEEDED(found->SetId(id, FALSE)) && SUCCEEDED(found->EnumTokens(nullptr, nullptr, &list))) {
            wchar_t* defaultId = nullptr;
            if (FAILED(found->GetDefaultTokenId(&defaultId))) defaultId = nullptr;
            ISpObjectToken* token = nullptr;
            while (list->Next(1, &token, nullptr) == S_OK) {
                tokens.push_back(token);
                voices.push_back({LanguageOf(*token), defaultId != nullptr && HasId(*token, defaultId)});
            }
            CoTaskMemFree(defaultId);
            list->Release();
        }
        found->Release();
        return voices;
    }

    HRESULT UseVoice(VoiceCategory category, std::size_t index) override {
        const std::vector<ISpObjectToken*>& tokens = m_tokens[Index(category)];
        return index < tokens.size() ? m_voice->SetVoice(tokens[index]) : E_INVALIDARG;
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

    static std::size_t Index(VoiceCategory category) { return category == VoiceCategory::Desktop ? 0 : 1; }

    // Token ids are registry paths, which do not tell case.
    static bool HasId(ISpObjectToken& token, const wchar_t* id) {
        wchar_t* own = nullptr;
        if (FAILED(token.GetId(&own)) || own == nullptr) return false;
        const bool same = _wcsicmp(own, id) == 0;
        CoTaskMemFree(own);
        return same;
    }

    bool m_com = false;
    ISpVoice* m_voice = nullptr;
    std::vector<ISpObjectToken*> m_tokens[2];  // of each category, as Voices listed them
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

std::optional<std::size_t> ChooseEnglishVoice(std::span<const VoiceToken> voices) {
    const auto speaks = [](const VoiceToken& voice, auto wanted) {
        for (const unsigned language : VoiceLanguages(voice.language)) {
            if (wanted(language)) return true;
        }
        return false;
    };
    const auto english = [](unsigned language) { return (language & 0x3FF) == kEnglish; };
    // The voice the user chose is the one to hear, when it speaks English.
    for (std::size_t i = 0; i < voices.size(); ++i) {
        if (voices[i].userDefault && speaks(voices[i], english)) return i;
    }
    for (const auto wanted : {kUsEnglish, kBritishEnglish}) {
        for (std::size_t i = 0; i < voices.size(); ++i) {
            if (speaks(voices[i], [wanted](unsigned language) { return language == wanted; })) return i;
        }
    }
    for (std::size_t i = 0; i < voices.size(); ++i) {
        if (speaks(voices[i], english)) return i;
    }
    // Last, a voice that names no language at all (as Wine's one voice): it may speak English,
    // while one that names another language does not.
    for (std::size_t i = 0; i < voices.size(); ++i) {
        if (VoiceLanguages(voices[i].language).empty()) return i;
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

void SapiSpeech::Lose(const std::string& why) {
    m_state = State::Missing;
    m_pending.reset();
    if (m_ready) m_ready(false, why);
}

void SapiSpeech::FindVoice() {
    if (const HRESULT opened = m_engine->Open(); FAILED(opened)) return Lose(Why("no voice object", opened));
    std::vector<VoiceToken> voices;
    std::vector<std::pair<VoiceCategory, std::size_t>> places;
    for (const VoiceCategory category : {VoiceCategory::Desktop, VoiceCategory::OneCore}) {
        std::vector<VoiceToken> found = m_engine->Voices(category);
        for (std::size_t i = 0; i < found.size(); ++i) {
            places.emplace_back(category, i);
            voices.push_back(std::move(found[i]));
        }
    }
    const std::optional<std::size_t> voice = ChooseEnglishVoice(voices);
    if (!voice) return Lose(voices.empty() ? "no voice installed (SAPI 5)" : "no English voice installed (SAPI 5)");
    const auto [category, index] = places[*voice];
    if (const HRESULT chosen = m_engine->UseVoice(category, index); FAILED(chosen)) {
        return Lose(Why("voice refused", chosen));
    }
    // A purge says nothing, but fails where the voice cannot speak at all (as under Wine, whose
    // Speak is a stub).
    if (const HRESULT purged = m_engine->Speak(nullptr, kPurgeFlags); FAILED(purged)) {
        return Lose(Why("the voice cannot speak", purged));
    }
    m_state = State::Ready;
    if (m_ready) m_ready(true, "");
    if (m_pending) {
        const std::wstring text = std::move(*m_pending);
        m_pending.reset();
        Say(text);
    }
}

void SapiSpeech::Say(const std::wstring& text) {
    if (const HRESULT said = m_engine->Speak(text.c_str(), kSpeakFlags); FAILED(said)) {
        Lose(Why("the voice failed to speak", said));
    }
}

void SapiSpeech::Speak(const std::string& text) {
    if (m_state == State::Ready) {
        Say(Wide(text));
    } else if (m_state != State::Missing) {
        m_pending = Wide(text);
    }
}

void SapiSpeech::Stop() {
    m_pending.reset();
    if (m_state == State::Ready) m_engine->Speak(nullptr, kPurgeFlags);
}

}  // namespace zembra::win32
