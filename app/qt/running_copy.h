// The running copy and a second start on the same progress file. The running copy answers the
// freedesktop activation call (org.freedesktop.Application.Activate) under the application id's
// name on the session bus, and SIGUSR1 where there is no session bus; a second start asks it to
// come forward through the one its lock's holder answers on.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <sys/types.h>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace zembra {

// The bus name and the object path of the application id, as the freedesktop convention derives
// them: "org.example.zembra" and "/org/example/zembra".
QString BusNameOf(const QString& appId);
QString ObjectPathOf(const QString& appId);

class ActivationListener : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    // Catches SIGUSR1 from now on (its default would end the program), so that a second start
    // that signals this copy before it has a window does no harm. Needs the application object.
    ActivationListener(QString appId, std::function<void()> activate);
    ~ActivationListener() override;
    ActivationListener(const ActivationListener&) = delete;
    ActivationListener& operator=(const ActivationListener&) = delete;

    // Takes the application id's name on the session bus, where there is one and no other copy
    // (one on another progress file) has it, and answers the activation call there.
    void Listen();

public slots:
    void Activate(const QVariantMap& platformData);
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& actionName, const QVariantList& parameter, const QVariantMap& platformData);

private:
    void OnSignal();

    QString m_appId;
    std::function<void()> m_activate;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_registered = false;
};

// Asks the copy of process `holder` to come forward: on the session bus when the application
// id's name belongs to that very process, otherwise with SIGUSR1 through `holderFd`, its pidfd
// (ProgressLock::HolderFd), so that no other process that took the id since is signalled. False
// when neither reached it.
bool AskRunningCopyToActivate(const QString& appId, pid_t holder, int holderFd);

}  // namespace zembra
