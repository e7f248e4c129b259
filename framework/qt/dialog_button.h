// A push button of the dialog. While it holds the keyboard focus it draws the platform's focus
// mark, a dotted rectangle inside its edge, whatever the style: the focus starts on a button and
// Enter presses the focused one, so a pupil must see which it is. Styles differ in how (and
// whether) they mark a focused button; some only tint its outline, as they tint the default one.
#pragma once

#include <QPushButton>

namespace zembra {

class DialogButton : public QPushButton {
public:
    DialogButton(const QString& text, QWidget* parent);

    // Where the focus mark is drawn, in the button's coordinates.
    QRect FocusMarkRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zembra
