// The end of the desktop session: the session manager's request to keep what the program holds
// (Qt's commit-data request), and the signals a session, a terminal or a shutdown ends a program
// with (SIGTERM, SIGHUP, SIGINT). Either calls the handler once, from the event loop.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace zembra {

class SessionEnd : public QObject {
public:
    // Catches the signals from now on, until destroyed; a signal only writes a byte into a pipe
    // that the event loop reads. Needs the application object.
    explicit SessionEnd(std::function<void()> ended);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void OnEnd();

    std::function<void()> m_ended;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_told = false;
};

}  // namespace zembra
