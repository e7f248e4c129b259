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

void DialogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The focused control shows its focus mark from the start: the focus is on a button at first,
    // and Enter presses whichever button has it. (Qt draws the mark only once the focus has moved
    // by a key Qt handled itself, and forgets that whenever the window is shown; the dialog
    // manager here moves the focus itself.)
    setAttribute(Qt::WA_KeyboardFocusChange);
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
