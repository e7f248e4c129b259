// The Yes/No question box: the given text and caption, no icon, Yes the default button. It has
// no way out but its two buttons: Escape and the close button do nothing, as a Yes/No box
// without a Cancel button behaves on the platform the program comes from.
#pragma once

#include <QMessageBox>

namespace zembra {

class YesNoBox : public QMessageBox {
public:
    YesNoBox(const QString& text, const QString& caption, QWidget* owner);

    // Runs the box modally; true for Yes.
    bool Ask();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace zembra
