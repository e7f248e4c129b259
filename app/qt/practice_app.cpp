// The Qt program's application object: the one dialog, run modally, by one copy per progress file.
#include "app/practice_app.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <optional>

#include "app/qt/main_dialog_resources.h"
#include "app/qt/progress_location.h"
#include "app/qt/progress_lock.h"
#include "app/qt/running_copy.h"
#include "app/qt/session_end.h"
#include "drill/practice_dialog.h"
#include "framework/diagnostics.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_speech.h"
#include "framework/qt/qt_text.h"
#include "ui/texts.h"

namespace zembra {

namespace {

// Restored if minimised, shown above the other windows and given the focus, as far as the window
// manager lets a program take it. A question the dialog asks (a modal box above it) is what the
// pupil must answer first, so that box gets the focus.
void BringForward(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* target = modal && modal != window ? modal : window;
    target->raise();
    target->activateWindow();
}

}  // namespace

bool PracticeApp::InitInstance() {
    const std::filesystem::path progressFile = ProgressFilePath();
    const std::filesystem::path folder = progressFile.parent_path();
    DrillEnvironment environment = DrillEnvironment::ForProgressFile(progressFile);
    bool unsafeFolder = false;
    if (progressFile.empty()) {
        WriteDiagnostic(texts::kNoHomeFolder);
        environment.savingRefused = true;
    } else {
        // A folder that cannot be made shows up as the progress file's own diagnostic.
        CreatePrivateFolders(folder);
        unsafeFolder = std::filesystem::exists(folder) && !IsPrivateFolder(folder);
        if (unsafeFolder) WriteDiagnostic(texts::kUnsafeFolder);
        environment.savingRefused = unsafeFolder;
    }
    // The pupil's lists live beside the progress file, where nothing may be saved when it may not.
    if (!environment.savingRefused) environment.listsFolder = folder / "lists";

    QtDialog window(MainDialogResources());
    // Listening before the lock is taken: a second start may signal as soon as it is held.
    ActivationListener listener(QStringLiteral(ZEMBRA_APP_ID), [&window] { BringForward(window.Window()); });
    std::optional<ProgressLock> lock;
    if (!progressFile.empty()) lock.emplace(progressFile);
    if (lock && !lock->Acquired()) {
        // Another copy runs on this file: it is brought forward, and this one ends without having
        // touched the file.
        AskRunningCopyToActivate(QStringLiteral(ZEMBRA_APP_ID), lock->Holder(), lock->HolderFd());
        WriteDiagnostic(texts::kAlreadyRunning);
        return false;
    }
    if (lock && lock->Failure() != 0) {
        char line[512];
        std::snprintf(line, sizeof line, texts::kLockFailedFormat, std::strerror(lock->Failure()));
        WriteDiagnostic(line);
    }
    listener.Listen();

    if (unsafeFolder) {
        // For the pupil's parent: the README says how to mend it.
        QMessageBox message(
            QMessageBox::Warning, ToQString(texts::kUnsafeFolderCaption),
            ToQString(texts::kUnsafeFolderMessage) + QStringLiteral("\n\n") + QFile::decodeName(folder.c_str()));
        message.exec();
    }

    QtSpeech speech;
    PracticeDialog dialog(window, std::move(environment), &speech);
    // Shutdown, sign-out or a terminal's end keeps the progress as the close box does.
    const SessionEnd sessionEnd([&window] { window.EndSession(); });
    window.DoModal(dialog);  // the end code is of no use
    return false;
}

}  // namespace zembra
