#include "app/qt/running_copy.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace zembra {

namespace {

constexpr int kCallTimeoutMs = 3000;

// The self-pipe that carries SIGUSR1 from its handler to the event loop. One per process, as the
// handler is; made once and kept.
int g_signalPipe[2] = {-1, -1};

void OnActivationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

// A session bus that is there to be used: named in the environment, or the user's bus socket. Qt
// would otherwise have a bare X session start a bus of its own (X11 autolaunch) just for this.
bool HasSessionBus() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    return runtime && *runtime && stat((std::string(runtime) + "/bus").c_str(), &status) == 0 &&
           S_ISSOCK(status.st_mode);
}

}  // namespace

QString BusNameOf(const QString& appId) { return appId; }

QString ObjectPathOf(const QString& appId) {
    QString path = QLatin1Char('/') + appId;
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    path.replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

ActivationListener::ActivationListener(QString appId, std::function<void()> activate)
    : m_appId(std::move(appId)), m_activate(std::move(activate)) {
    if (g_signalPipe[0] < 0 && pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ActivationListener::OnSignal);
    struct sigaction action {};
    action.sa_handler = OnActivationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

ActivationListener::~ActivationListener() {
    if (!m_registered) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(ObjectPathOf(m_appId));
    bus.unregisterService(BusNameOf(m_appId));
}

void ActivationListener::Listen() {
    if (!HasSessionBus()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    if (!bus.registerObject(ObjectPathOf(m_appId), this, QDBusConnection::ExportAllSlots)) return;
    const auto reply = bus.interface()->registerService(BusNameOf(m_appId), QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_registered = true;
    } else {
        bus.unregisterObject(ObjectPathOf(m_appId));
    }
}

void ActivationListener::Activate(const QVariantMap&) { m_activate(); }

// The program opens no documents and has no actions: either call just brings the window forward.
void ActivationListener::Open(const QStringList&, const QVariantMap&) { m_activate(); }

void ActivationListener::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { m_activate(); }

void ActivationListener::OnSignal() {
    char bytes[64];
    bool any = false;
    while (read(g_signalPipe[0], bytes, sizeof bytes) > 0) any = true;
    if (any) m_activate();
}

bool AskRunningCopyToActivate(const QString& appId, pid_t holder, int holderFd) {
    QDBusConnection bus =
        HasSessionBus() && holder > 0 ? QDBusConnection::sessionBus() : QDBusConnection(QStringLiteral("none"));
    if (bus.isConnected()) {
        const auto owner = bus.interface()->servicePid(BusNameOf(appId));
        if (owner.isValid() && owner.value() == static_cast<uint>(holder)) {
            QDBusMessage call = QDBusMessage::createMethodCall(BusNameOf(appId), ObjectPathOf(appId),
                                                               QStringLiteral("org.freedesktop.Application"),
                                                               QStringLiteral("Activate"));
            // What lets the running copy take the focus from the launcher that started this one.
            QVariantMap platformData;
            if (const char* id = std::getenv("DESKTOP_STARTUP_ID"); id && *id) {
                platformData.insert(QStringLiteral("desktop-startup-id"), QString::fromLocal8Bit(id));
            }
            if (const char* token = std::getenv("XDG_ACTIVATION_TOKEN"); token && *token) {
                platformData.insert(QStringLiteral("activation-token"), QString::fromLocal8Bit(token));
            }
            call << platformData;
            if (bus.call(call, QDBus::Block, kCallTimeoutMs).type() == QDBusMessage::ReplyMessage) return true;
        }
    }
    // Only through the pidfd: a plain kill() of an id read earlier may reach a process that took
    // the id since (and kill(0) would signal this process's own group).
    return holderFd >= 0 && syscall(SYS_pidfd_send_signal, holderFd, SIGUSR1, nullptr, 0) == 0;
}

}  // namespace zembra
