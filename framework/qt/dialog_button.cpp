#include "framework/qt/dialog_button.h"

#include <QPainter>

namespace zembra {

DialogButton::DialogButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

QRect DialogButton::FocusMarkRect() const {
    // Three pixels inside the edge at 100 %, clear of the frame of every common style.
    const int inset = 3 * logicalDpiX() / 96;
    return rect().adjusted(inset, inset, -inset - 1, -inset - 1);
}

void DialogButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    pen.setStyle(Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawRect(FocusMarkRect());
}

}  // namespace zembra
