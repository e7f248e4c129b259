// The dialog for a screen reader, through Qt's accessibility: each control named as the front
// end's table says (a fixed name, or its label's text, with its own text where that is what it
// shows), with a description where the table gives one; a label named there is the control's
// label (its buddy) and is read as part of it, not again on its own; a live control is announced
// when it appears or its text changes; and the window reads its controls in the order the screen
// shows them (frame by frame, each frame row by row, left to right), not in the z-order.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/accessible_name.h"

namespace zembra {

class DialogAccessibility : public QObject {
public:
    // The current text of a control (GBK), or nothing when the dialog has no such control yet.
    using TextOf = std::function<std::optional<std::string>(int id)>;

    DialogAccessibility(std::vector<AccessibleName> names, TextOf textOf);

    // Makes `window` read its controls in screen order.
    void Attach(QWidget& window);
    // Whether the table says anything of a control (names it, or it labels another).
    bool Describes(int id) const;
    // Gives a control's widget what the table says of it; once, when the widget is made.
    void SetUp(int id, QWidget& widget);
    // After a control's text has changed: the names made of it are made again, and a live
    // control that now says something is announced.
    void TextChanged(int id);

    // Whether the widget is a label that the table reads as part of another control.
    bool IsReadWithAnother(const QWidget* widget) const;
    // The window's controls in reading order, without the labels read with another control.
    QList<QWidget*> ReadingOrder(const QWidget& window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const AccessibleName* Entry(int id) const;
    QWidget* WidgetOf(int id) const;
    void Name(const AccessibleName& entry);
    static void Announce(QWidget& widget);

    std::vector<AccessibleName> m_names;
    TextOf m_textOf;
    std::map<int, QPointer<QWidget>> m_widgets;
};

}  // namespace zembra
