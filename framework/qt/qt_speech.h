// Speech on Linux through Qt TextToSpeech, by default over speech-dispatcher: an English voice
// (US English, then British, then any English). Connecting to the speech service can take it
// seconds to start, so the engine lives on a thread of its own; the dialog's thread only hands
// it texts and never waits for it.
#pragma once

#include <QString>

#include <memory>
#include <optional>

#include "framework/speech.h"

class QObject;
class QThread;

namespace zembra {

class QtSpeech final : public Speech {
public:
    // `engine`: the Qt TextToSpeech engine's name.
    explicit QtSpeech(QString engine = QStringLiteral("speechd"));
    // Silences the voice. Waits a quarter of a second at most for the engine to close: an engine
    // still connecting then is left to the end of the process, which is not held for it.
    ~QtSpeech() override;
    QtSpeech(const QtSpeech&) = delete;
    QtSpeech& operator=(const QtSpeech&) = delete;

    // Connects once the first widget has been painted: the window comes first.
    void Start(ReadyHandler ready) override;
    void Speak(const std::string& text) override;
    void Stop() override;

private:
    struct Engine;   // the engine's side, used on its thread only
    struct Mailbox;  // where the engine's thread reports, shared with it

    void Connect();
    void Say(const QString& text);

    QString m_engineName;
    ReadyHandler m_ready;
    std::unique_ptr<QObject> m_context;  // on the dialog's thread: what the engine reports goes here
    // Owned jointly with the engine's thread, which may outlive this object: it reaches the
    // context only through here, and only while the context lives.
    std::shared_ptr<Mailbox> m_mailbox;
    std::unique_ptr<QThread> m_thread;
    Engine* m_engine = nullptr;        // owned by the engine's thread
    std::optional<QString> m_pending;  // said once the engine's thread runs
};

}  // namespace zembra
