// A Speech that says nothing and records what it was asked: "speak:<text>" and "stop", in order.
// Its voice is ready at start, or missing, or known only when the test says so.
#pragma once

#include <string>
#include <vector>

#include "framework/speech.h"

namespace zembra::testing {

class RecordingSpeech : public Speech {
public:
    enum class AtStart { Ready, Missing, Later };
    explicit RecordingSpeech(AtStart atStart = AtStart::Ready) : m_atStart(atStart) {}

    void Start(ReadyHandler ready) override {
        ++m_starts;
        m_ready = std::move(ready);
        if (m_atStart == AtStart::Ready) m_ready(true, "");
        if (m_atStart == AtStart::Missing) m_ready(false, "no voice in this test");
    }
    void Speak(const std::string& text) override {
        m_calls.push_back("speak:" + text);
        if (m_failSpeaking) m_ready(false, "the voice failed to speak");
    }
    void Stop() override { m_calls.push_back("stop"); }

    // From now on each text fails to be said, as SAPI's Speak does without an audio device.
    void FailToSpeak() { m_failSpeaking = true; }
    // Tells the dialog what a Later voice turned out to be.
    void BecomeReady(bool available) { m_ready(available, available ? "" : "the service went away"); }

    const std::vector<std::string>& Calls() const { return m_calls; }
    // The texts said, without the stops.
    std::vector<std::string> Spoken() const {
        std::vector<std::string> spoken;
        for (const std::string& call : m_calls) {
            if (call.rfind("speak:", 0) == 0) spoken.push_back(call.substr(6));
        }
        return spoken;
    }
    // Whether the last call silenced the voice.
    bool Silent() const { return m_calls.empty() || m_calls.back() == "stop"; }
    int Starts() const { return m_starts; }
    void Clear() { m_calls.clear(); }

private:
    AtStart m_atStart;
    ReadyHandler m_ready;
    std::vector<std::string> m_calls;
    int m_starts = 0;
    bool m_failSpeaking = false;
};

}  // namespace zembra::testing
