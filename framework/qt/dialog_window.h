// The dialog's top-level window: fixed size, a title bar with a close button only, its own
// taskbar entry. It leaves every decision to its owner: the close request, the end of the
// dialog and the tab order come back through the hooks.
#pragma once

#include <QDialog>

#include <functional>

namespace zembra {

class DialogWindow : public QDialog {
public:
    struct Hooks {
        std::function<void()> closeRequested;         // close button, window menu, Alt+F4
        std::function<bool(bool forward)> moveFocus;  // true when the focus moved
    };

    explicit DialogWindow(Hooks hooks);

    // QDialog's own endings are the dialog manager's commands: reject is the cancel command
    // (no save), accept is OK.
    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    Hooks m_hooks;
};

}  // namespace zembra
