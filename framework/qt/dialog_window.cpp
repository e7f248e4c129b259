#include "framework/qt/dialog_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "framework/dialog.h"

namespace zembra {

DialogWindow::DialogWindow(Hooks hooks)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      m_hooks(std::move(hooks)) {
    setSizeGripEnabled(false);
}

void DialogWindow::reject() { done(kIdCancel); }

void DialogWindow::accept() { done(kIdOk); }

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The owner saves and ends the dialog; the window is hidden by then.
    event->accept();
    if (m_hooks.closeRequested) m_hooks.closeRequested();
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape are routed before any widget sees them; should one arrive here anyway
    // (sent to a widget directly), QDialog must not press its own default button or reject.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool DialogWindow::focusNextPrevChild(bool next) { return m_hooks.moveFocus && m_hooks.moveFocus(next); }

}  // namespace zembra
