#include "framework/qt/dialog_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

#include "framework/qt/qt_text.h"

namespace zembra {
namespace {

// The window's property that leads its accessibility interface to the object that orders it.
constexpr char kOrderProperty[] = "zembraReadingOrder";

// The dialog window as a screen reader walks it: its controls in reading order.
class WindowInterface : public QAccessibleWidget {
public:
    WindowInterface(QWidget* window, const DialogAccessibility& accessibility)
        : QAccessibleWidget(window, QAccessible::Dialog), m_accessibility(accessibility) {}

    int childCount() const override { return static_cast<int>(Children().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = Children();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Children().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> Children() const { return m_accessibility.ReadingOrder(*widget()); }

    const DialogAccessibility& m_accessibility;
};

QAccessibleInterface* WindowInterfaceFactory(const QString&, QObject* object) {
    auto* window = qobject_cast<QWidget*>(object);
    if (!window || !window->isWindow()) return nullptr;
    auto* accessibility = dynamic_cast<DialogAccessibility*>(window->property(kOrderProperty).value<QObject*>());
    return accessibility ? new WindowInterface(window, *accessibility) : nullptr;
}

// The frame (group box) that a widget lies in: the smallest one, larger than the widget, that
// holds the widget's centre; or null.
QWidget* FrameOf(const QWidget* widget, const QList<QWidget*>& widgets) {
    const QRect box = widget->geometry();
    const auto area = [](const QRect& r) { return static_cast<long long>(r.width()) * r.height(); };
    QWidget* frame = nullptr;
    for (QWidget* candidate : widgets) {
        if (candidate == widget || !qobject_cast<QGroupBox*>(candidate)) continue;
        const QRect outer = candidate->geometry();
        if (area(outer) <= area(box) || !outer.contains(box.center())) continue;
        if (!frame || area(outer) < area(frame->geometry())) frame = candidate;
    }
    return frame;
}

}  // namespace

DialogAccessibility::DialogAccessibility(std::vector<AccessibleName> names, TextOf textOf)
    : m_names(std::move(names)), m_textOf(std::move(textOf)) {}

void DialogAccessibility::Attach(QWidget& window) {
    static const bool installed = [] {
        QAccessible::installFactory(WindowInterfaceFactory);
        return true;
    }();
    (void)installed;
    window.setProperty(kOrderProperty, QVariant::fromValue<QObject*>(this));
}

const AccessibleName* DialogAccessibility::Entry(int id) const {
    const auto entry =
        std::find_if(m_names.begin(), m_names.end(), [id](const AccessibleName& name) { return name.control == id; });
    return entry == m_names.end() ? nullptr : &*entry;
}

QWidget* DialogAccessibility::WidgetOf(int id) const {
    const auto it = m_widgets.find(id);
    return it == m_widgets.end() ? nullptr : it->second.data();
}

bool DialogAccessibility::Describes(int id) const {
    return std::any_of(m_names.begin(), m_names.end(),
                       [id](const AccessibleName& entry) { return entry.control == id || entry.label == id; });
}

void DialogAccessibility::SetUp(int id, QWidget& widget) {
    m_widgets[id] = &widget;
    for (const AccessibleName& entry : m_names) {
        if (entry.control != id && entry.label != id) continue;
        // Whichever of a control and its label is made second joins the two.
        if (auto* label = qobject_cast<QLabel*>(WidgetOf(entry.label)); label && WidgetOf(entry.control)) {
            label->setBuddy(WidgetOf(entry.control));
        }
        Name(entry);
        if (entry.control != id) continue;
        if (!entry.description.empty()) widget.setAccessibleDescription(ToQString(entry.description));
        if (entry.live) widget.installEventFilter(this);
    }
}

void DialogAccessibility::Name(const AccessibleName& entry) {
    QWidget* widget = WidgetOf(entry.control);
    if (!widget) return;
    const std::string label = entry.label != 0 ? m_textOf(entry.label).value_or(std::string()) : std::string();
    const QString name = ToQString(AccessibleNameText(entry, label, m_textOf(entry.control).value_or(std::string())));
    // Setting a new name tells a screen reader that it changed.
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

void DialogAccessibility::TextChanged(int id) {
    for (const AccessibleName& entry : m_names) {
        if (entry.control != id && entry.label != id) continue;
        Name(entry);
        QWidget* widget = WidgetOf(id);
        if (entry.control == id && entry.live && widget && widget->isVisible() &&
            !m_textOf(id).value_or(std::string()).empty()) {
            Announce(*widget);
        }
    }
}

bool DialogAccessibility::eventFilter(QObject* watched, QEvent* event) {
    // Only live controls are watched.
    if (event->type() == QEvent::Show) Announce(*static_cast<QWidget*>(watched));
    return QObject::eventFilter(watched, event);
}

void DialogAccessibility::Announce(QWidget& widget) {
    // An alert: what the control now shows needs the pupil's attention at once.
    QAccessibleEvent alert(&widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

bool DialogAccessibility::IsReadWithAnother(const QWidget* widget) const {
    return widget && std::any_of(m_names.begin(), m_names.end(), [this, widget](const AccessibleName& entry) {
               return entry.label != 0 && WidgetOf(entry.label) == widget;
           });
}

QList<QWidget*> DialogAccessibility::ReadingOrder(const QWidget& window) const {
    QList<QWidget*> widgets;
    for (QObject* child : window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && !IsReadWithAnother(widget)) widgets.push_back(widget);
    }
    std::map<const QWidget*, QWidget*> frameOf;
    for (const QWidget* widget : widgets) frameOf[widget] = FrameOf(widget, widgets);

    // Within a frame: row by row, a row being the controls whose tops lie in the upper half of its
    // first control, each row from left to right; a frame is followed by what it holds.
    QList<QWidget*> order;
    const std::function<void(const QWidget*)> read = [&](const QWidget* frame) {
        QList<QWidget*> items;
        for (QWidget* widget : widgets) {
            if (frameOf[widget] == frame) items.push_back(widget);
        }
        const auto byTop = [](const QWidget* a, const QWidget* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        };
        const auto byLeft = [](const QWidget* a, const QWidget* b) {
            return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());
        };
        std::stable_sort(items.begin(), items.end(), byTop);
        for (auto row = items.begin(); row != items.end();) {
            const int rowEnd = (*row)->y() + (*row)->height() / 2;
            const auto next = std::find_if(row, items.end(), [rowEnd](const QWidget* w) { return w->y() >= rowEnd; });
            std::stable_sort(row, next, byLeft);
            row = next == row ? row + 1 : next;
        }
        for (QWidget* item : items) {
            order.push_back(item);
            if (qobject_cast<QGroupBox*>(item)) read(item);
        }
    };
    read(nullptr);
    return order;
}

}  // namespace zembra
