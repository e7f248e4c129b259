#include "framework/qt/qt_speech.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QLocale>
#include <QObject>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "framework/qt/qt_text.h"

namespace zembra {
namespace {

// The engine's English locale: US English, then British, then any English.
std::optional<QLocale> EnglishLocale(const QList<QLocale>& locales) {
    for (const QLocale::Territory territory : {QLocale::UnitedStates, QLocale::UnitedKingdom}) {
        for (const QLocale& locale : locales) {
            if (locale.language() == QLocale::English && locale.territory() == territory) return locale;
        }
    }
    for (const QLocale& locale : locales) {
        if (locale.language() == QLocale::English) return locale;
    }
    return std::nullopt;
}

// Runs `then` from the event loop once the first widget has been painted, so that nothing of
// the speech engine competes with the window's way to the screen.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QObject* parent, std::function<void()> then) : QObject(parent), m_then(std::move(then)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_then) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, std::exchange(m_then, nullptr));
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

}  // namespace

struct QtSpeech::Engine {
    QObject context;  // lives on the engine's thread
    QTextToSpeech* voice = nullptr;
};

struct QtSpeech::Mailbox {
    std::mutex mutex;
    QObject* context = nullptr;  // cleared before the context goes

    // From the engine's thread: `deliver` runs on the context's thread, unless it is gone by then
    // (Qt drops the events posted to an object it destroys).
    void Post(std::function<void()> deliver) {
        const std::lock_guard<std::mutex> hold(mutex);
        if (context) QMetaObject::invokeMethod(context, std::move(deliver), Qt::QueuedConnection);
    }
};

QtSpeech::QtSpeech(QString engine)
    : m_engineName(std::move(engine)), m_context(std::make_unique<QObject>()), m_mailbox(std::make_shared<Mailbox>()) {
    m_mailbox->context = m_context.get();
}

QtSpeech::~QtSpeech() {
    {
        // From here on the engine's thread reports to no one.
        const std::lock_guard<std::mutex> hold(m_mailbox->mutex);
        m_mailbox->context = nullptr;
    }
    if (!m_thread) return;
    Engine* engine = m_engine;
    QMetaObject::invokeMethod(
        &engine->context,
        [engine] {
            if (engine->voice) engine->voice->stop(QTextToSpeech::BoundaryHint::Immediate);
            delete engine->voice;
            engine->voice = nullptr;
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    if (m_thread->wait(QDeadlineTimer(250))) {
        delete engine;
        return;
    }
    // Still connecting: the thread and its engine go with the process.
    static_cast<void>(m_thread.release());
}

void QtSpeech::Start(ReadyHandler ready) {
    m_ready = std::move(ready);
    new AfterFirstPaint(m_context.get(), [this] { Connect(); });  // gone with the context
}

void QtSpeech::Connect() {
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("speech"));
    m_engine = new Engine;
    m_engine->context.moveToThread(m_thread.get());
    m_thread->start(QThread::LowPriority);

    Engine* engine = m_engine;
    std::shared_ptr<Mailbox> reply = m_mailbox;
    const QString name = m_engineName;
    auto ready = [this](bool available, QString why) {
        if (m_ready) m_ready(available, why.toStdString());
    };
    QMetaObject::invokeMethod(
        &engine->context,
        [engine, reply, name, ready] {
            const auto report = [reply, ready](bool available, const QString& why) {
                reply->Post([ready, available, why] { ready(available, why); });
            };
            auto* voice = new QTextToSpeech(name, &engine->context);
            if (voice->state() == QTextToSpeech::Error) {
                report(false, QStringLiteral("speech engine '%1' not working: %2").arg(name, voice->errorString()));
                delete voice;
                return;
            }
            const std::optional<QLocale> english = EnglishLocale(voice->availableLocales());
            if (!english) {
                report(false, QStringLiteral("no English voice in speech engine '%1'").arg(name));
                delete voice;
                return;
            }
            voice->setLocale(*english);
            engine->voice = voice;
            report(true, QString());
        },
        Qt::QueuedConnection);
    if (m_pending) Say(*std::exchange(m_pending, std::nullopt));
}

void QtSpeech::Speak(const std::string& text) { Say(ToQString(text)); }

void QtSpeech::Say(const QString& text) {
    if (!m_engine) {
        m_pending = text;
        return;
    }
    Engine* engine = m_engine;
    QMetaObject::invokeMethod(
        &engine->context,
        [engine, said = text] {
            if (!engine->voice) return;
            engine->voice->stop(QTextToSpeech::BoundaryHint::Immediate);
            engine->voice->say(said);
        },
        Qt::QueuedConnection);
}

void QtSpeech::Stop() {
    m_pending.reset();
    if (!m_engine) return;
    Engine* engine = m_engine;
    QMetaObject::invokeMethod(
        &engine->context,
        [engine] {
            if (engine->voice) engine->voice->stop(QTextToSpeech::BoundaryHint::Immediate);
        },
        Qt::QueuedConnection);
}

}  // namespace zembra
