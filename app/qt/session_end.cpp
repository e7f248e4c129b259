#include "app/qt/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace zembra {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The self-pipe from the handler to the event loop: one per process, as the handler is.
int g_endPipe[2] = {-1, -1};

// Only what is safe in a handler: the save runs on the event loop, so a second signal while it
// writes interrupts nothing and starts no second save.
void OnEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_endPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> ended) : m_ended(std::move(ended)) {
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { OnEnd(); });
    if (g_endPipe[0] < 0 && pipe2(g_endPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(g_endPipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (read(g_endPipe[0], bytes, sizeof bytes) > 0) {
        }
        OnEnd();
    });
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals) sigaction(signal, &action, nullptr);
}

// Once the dialog has gone, a signal ends the program as it would have without it.
SessionEnd::~SessionEnd() {
    if (!m_notifier) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndSignals) sigaction(signal, &action, nullptr);
}

void SessionEnd::OnEnd() {
    if (m_told) return;
    m_told = true;
    m_ended();
}

}  // namespace zembra
