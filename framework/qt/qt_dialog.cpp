#include "framework/qt/qt_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStringList>
#include <QWindow>

#include <algorithm>
#include <stdexcept>

#include "framework/qt/dialog_accessibility.h"
#include "framework/qt/dialog_button.h"
#include "framework/qt/dialog_units.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/marked_label.h"
#include "framework/qt/picture_label.h"
#include "framework/qt/point_font.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/yes_no_box.h"

namespace zembra {
namespace {

bool IsPushButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton;
}

Qt::Alignment HorizontalAlignment(Align align) {
    switch (align) {
        case Align::Centre:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

Key KeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:  // the keypad's Enter is the same key to the dialog
            return Key::Enter;
        case Qt::Key_Escape:
            return Key::Escape;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return Key::Tab;
        default:
            return Key::Other;
    }
}

QColor ToQColor(Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

}  // namespace

QtDialog::QtDialog(QtDialogResources resources)
    : m_resources(std::move(resources)), m_template(m_resources.dialogTemplate), m_faces(m_resources.faces) {}

QtDialog::~QtDialog() {
    // The window goes first, while the control table its focus hooks read still exists; no focus
    // change of its end reaches the table.
    if (m_window) qApp->removeEventFilter(this);
    disconnect(m_focusWatch);
    m_window.reset();
}

QWidget* QtDialog::Window() const { return m_window.get(); }

QWidget* QtDialog::Item(int id) const {
    const auto it = m_byId.find(id);
    if (it == m_byId.end() || !m_window) return nullptr;
    // Making a control's widget changes what the control is drawn with, not what it holds.
    auto* self = const_cast<QtDialog*>(this);
    return &self->Made(self->m_controls[it->second]);
}

const QtImage* QtDialog::Image(int id) const {
    const auto it = std::find_if(m_resources.images.begin(), m_resources.images.end(),
                                 [id](const QtImage& image) { return image.id == id; });
    return it == m_resources.images.end() ? nullptr : &*it;
}

QString QtDialog::ImageResource(int id) const {
    const QtImage* image = Image(id);
    return image ? image->resource : QString();
}

QtDialog::Control& QtDialog::ControlFor(int id) {
    const auto it = m_byId.find(id);
    if (it == m_byId.end()) throw std::out_of_range("no control " + std::to_string(id));
    return m_controls[it->second];
}

const QtDialog::Control& QtDialog::ControlFor(int id) const { return const_cast<QtDialog*>(this)->ControlFor(id); }

QWidget& QtDialog::Widget(int id) { return Made(ControlFor(id)); }

void QtDialog::Create(Dialog& dialog) {
    m_dialog = &dialog;
    CreateControls();

    qApp->installEventFilter(this);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this] { ShowDefaultButton(); });
    if (m_dialog->OnInitDialog()) {
        const auto first = std::find_if(m_controls.begin(), m_controls.end(),
                                        [this](const Control& control) { return IsTabStop(control); });
        if (first != m_controls.end()) Made(*first).setFocus(Qt::TabFocusReason);
    }
}

void QtDialog::SetUpComboBox(const Control& control) {
    auto* combo = static_cast<QComboBox*>(control.widget);
    const int id = control.tmpl->id;
    for (const ComboBoxList& list : m_resources.comboLists) {
        if (list.control != id) continue;
        for (std::string_view entry : list.entries) combo->addItem(ToQString(entry));
    }
    combo->setCurrentIndex(-1);
    combo->clearEditText();
    // The dropped list fills the rest of the template height, as many whole items as fit.
    const int fieldHeight = combo->height();
    const int itemHeight = std::max(1, combo->view()->sizeHintForRow(0));
    const int listHeight = ToPixels(control.tmpl->rect, m_units).height();
    combo->setMaxVisibleItems(std::max(1, (listHeight - fieldHeight) / itemHeight));
    connect(combo, &QComboBox::currentIndexChanged, this, [this, id](int index) {
        if (index >= 0) Command(id, Notification::SelectionChanged);
    });
}

void QtDialog::CreateControls() {
    DialogWindow::Hooks hooks;
    hooks.closeRequested = [this] { OnCloseRequest(); };
    hooks.moveFocus = [this](bool forward) { return MoveFocus(forward); };
    m_window = std::make_unique<DialogWindow>(std::move(hooks));
    m_window->setWindowTitle(ToQString(m_template.title));
    connect(m_window.get(), &QDialog::finished, this, [this](int code) { m_endCode = code; });
    m_accessibility = std::make_unique<DialogAccessibility>(m_resources.accessibleNames,
                                                            [this](int id) -> std::optional<std::string> {
                                                                if (!m_byId.count(id)) return std::nullopt;
                                                                return GetItemText(id);
                                                            });
    m_accessibility->Attach(*m_window);

    const int dpi = m_window->logicalDpiY();
    m_dialogFont = m_faces.MakePointFont(m_template.fontPoints * 10, ToQString(m_template.fontFace), dpi);
    m_window->setFont(m_dialogFont);
    m_units = MeasureBaseUnits(m_dialogFont, m_faces);
    m_window->setFixedSize(ToPixels(m_template.width, m_template.height, m_units));

    m_controls.reserve(m_template.controls.size());
    for (const ControlTemplate& control : m_template.controls) {
        m_controls.push_back({&control, nullptr, ToQString(control.text), control.visible, true, std::nullopt, false});
        if (control.id >= 0) m_byId[control.id] = m_controls.size() - 1;
    }
    // The controls shown from the start have their widgets now, in template order, and so have
    // the ones a screen reader is told of: it knows them from the start, named, and a live one is
    // announced when it appears.
    for (Control& control : m_controls) {
        if (control.visible || m_accessibility->Describes(control.tmpl->id)) Made(control);
    }
}

QWidget& QtDialog::Made(Control& control) {
    if (control.widget) return *control.widget;
    QWidget* widget = CreateControl(control);
    control.widget = widget;
    const QRect rect = ToPixels(control.tmpl->rect, m_units);
    switch (control.tmpl->kind) {
        case ControlKind::IconStatic:
        case ControlKind::BitmapStatic:
            // Pictures keep the size they were created with.
            widget->move(rect.topLeft());
            break;
        case ControlKind::DropDownCombo:
            // The template height includes the dropped list; the field is as high as its font needs.
            widget->setGeometry(rect.x(), rect.y(), rect.width(), widget->sizeHint().height());
            // The base initialisation: the combo box gets its list, nothing selected.
            SetUpComboBox(control);
            if (!control.text.isEmpty()) static_cast<QComboBox*>(widget)->setEditText(control.text);
            break;
        default:
            widget->setGeometry(rect);
    }
    const int id = control.tmpl->id;
    // Text colours are asked once per control; the dialog's answer depends on the id alone.
    if (const std::optional<Colour> colour = id >= 0 ? m_dialog->OnCtlColor(id) : std::nullopt) {
        QPalette palette = widget->palette();
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(role, ToQColor(*colour));
        }
        widget->setPalette(palette);
    }
    if (control.font) widget->setFont(*control.font);
    widget->setEnabled(control.enabled);
    PlaceInStackAndTabOrder(control);
    if (id >= 0) m_accessibility->SetUp(id, *widget);
    if (IsPushButton(control.tmpl->kind)) ShowDefaultButton();
    // Last, so that what the control shows is in place when it appears.
    widget->setVisible(control.visible);
    return *widget;
}

void QtDialog::PlaceInStackAndTabOrder(const Control& control) {
    // The z-order from the top: the controls in template order, then the frames in template order.
    // Frames lie beneath every other control: the platform's group boxes draw their outline only,
    // while a style may fill a frame's inside, which must not veil the controls within it.
    const auto rank = [this](const Control& c) {
        return std::pair(c.tmpl->kind == ControlKind::GroupBox, &c - m_controls.data());
    };
    const Control* above = nullptr;
    for (const Control& other : m_controls) {
        if (other.widget && &other != &control && rank(other) < rank(control) &&
            (!above || rank(*above) < rank(other))) {
            above = &other;
        }
    }
    if (above) {
        control.widget->stackUnder(above->widget);
    } else {
        control.widget->raise();
    }

    // The focus chain follows the template: after the nearest earlier control that takes the focus,
    // else before the nearest later one. (A new widget joins the chain at its end.)
    if (control.widget->focusPolicy() == Qt::NoFocus) return;
    const auto takesFocus = [&control](const Control& other) {
        return other.widget && &other != &control && other.widget->focusPolicy() != Qt::NoFocus;
    };
    const auto self = m_controls.begin() + (&control - m_controls.data());
    const auto before = std::find_if(std::make_reverse_iterator(self), m_controls.rend(), takesFocus);
    if (before != m_controls.rend()) {
        // Widgets made in template order are in order already.
        if (before->widget->nextInFocusChain() != control.widget) QWidget::setTabOrder(before->widget, control.widget);
        return;
    }
    const auto after = std::find_if(self + 1, m_controls.end(), takesFocus);
    if (after != m_controls.end()) QWidget::setTabOrder(control.widget, after->widget);
}

QWidget* QtDialog::CreateControl(const Control& made) {
    const ControlTemplate& control = *made.tmpl;
    QWidget* parent = m_window.get();
    const QString& text = made.text;
    const Qt::FocusPolicy focus = control.tabStop ? Qt::StrongFocus : Qt::ClickFocus;
    switch (control.kind) {
        case ControlKind::TextStatic: {
            auto* label = new MarkedLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(HorizontalAlignment(control.align) | Qt::AlignTop);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            return label;
        }
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new DialogButton(text, parent);
            // Enter is the dialog manager's, never a button's own.
            button->setAutoDefault(false);
            button->setDefault(control.kind == ControlKind::DefaultPushButton);
            button->setFocusPolicy(focus);
            const int id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] { Command(id, Notification::Clicked); });
            return button;
        }
        case ControlKind::CheckBox: {
            // Its "&" marks the access key, as the platform's does; a click toggles it first.
            auto* box = new QCheckBox(text, parent);
            box->setFocusPolicy(focus);
            box->setChecked(made.checked);
            const int id = control.id;
            connect(box, &QCheckBox::clicked, this, [this, id] { Command(id, Notification::Clicked); });
            return box;
        }
        case ControlKind::GroupBox: {
            auto* frame = new QGroupBox(text, parent);
            frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            frame->setFocusPolicy(Qt::NoFocus);
            return frame;
        }
        case ControlKind::Edit: {
            // A QLineEdit scrolls its text horizontally, so an answer wider than the box can be typed.
            auto* edit = new QLineEdit(text, parent);
            edit->setFrame(control.border);
            edit->setAlignment(HorizontalAlignment(control.align) | Qt::AlignVCenter);
            edit->setFocusPolicy(focus);
            return edit;
        }
        case ControlKind::IconStatic: {
            // Icon statics draw at the system icon size, whatever the template says.
            const int side = 32 * m_window->logicalDpiY() / 96;
            const QtImage* image = Image(control.image);
            return new PictureLabel(ImageResource(control.image), image ? image->doubleSize : QString(),
                                    QSize(side, side), parent);
        }
        case ControlKind::BitmapStatic: {
            // A picture control shows its bitmap at the bitmap's own size; when the application
            // knows it, the file need not be read until the picture is shown.
            const QtImage* image = Image(control.image);
            QSize size = image && image->size.isValid() ? image->size : QSize();
            if (!size.isValid()) {
                QImageReader reader(ImageResource(control.image));
                ReadAsItsNameSays(reader);
                size = reader.size();
            }
            return new PictureLabel(ImageResource(control.image), image ? image->doubleSize : QString(), size, parent);
        }
        case ControlKind::DropDownCombo: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->setFocusPolicy(focus);
            // Text typed into the field is never read: no matching of it against the list when the
            // field loses the focus; only a choice in the list changes the selection.
            disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
            return combo;
        }
    }
    throw std::logic_error("unknown control kind");
}

void QtDialog::Show() {
    // Centred on the primary screen's available area (without panels), kept inside it. The
    // window manager adds its frame around the client area once the window is mapped.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = m_window->frameGeometry().size();
    const int x = std::max(area.left(), area.left() + (area.width() - size.width()) / 2);
    const int y = std::max(area.top(), area.top() + (area.height() - size.height()) / 2);
    m_window->move(x, y);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

int QtDialog::DoModal(Dialog& dialog) {
    Create(dialog);
    Show();
    if (!m_endCode) m_window->exec();
    const int code = m_endCode.value_or(kIdCancel);
    qApp->removeEventFilter(this);
    disconnect(m_focusWatch);
    m_window.reset();
    m_byId.clear();
    m_controls.clear();
    return code;
}

void QtDialog::EndDialog(int code) {
    if (!m_endCode) m_window->done(code);
}

void QtDialog::OnCloseRequest() {
    if (m_endCode) return;
    m_dialog->OnClose();
    EndDialog(kIdCancel);
}

void QtDialog::EndSession() {
    if (m_endCode || !m_dialog || !m_window) return;
    m_dialog->OnEndSession();
    // A question's own loop would keep the dialog's from ending; No leaves everything as it is.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(top);
        if (box && box != m_window.get() && box->isVisible()) box->done(QDialog::Rejected);
    }
    EndDialog(kIdCancel);
}

void QtDialog::Command(int id, Notification code) {
    if (!m_endCode && m_dialog) m_dialog->OnCommand(id, code);
}

bool QtDialog::eventFilter(QObject* watched, QEvent* event) {
    // Key presses reach the window first and only once, before the focus widget, whichever it is.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && m_window &&
        watched == m_window->windowHandle()) {
        return RouteKey(static_cast<QKeyEvent*>(event));
    }
    return QObject::eventFilter(watched, event);
}

bool QtDialog::RouteKey(QKeyEvent* event) {
    // An open drop-down list takes its keys itself.
    if (QApplication::activePopupWidget() || m_endCode) return false;
    const bool press = event->type() == QEvent::KeyPress;
    // With Alt held the platform reports a system key, which is no key press of the dialog.
    const KeyMessage message{press && !event->modifiers().testFlag(Qt::AltModifier), KeyOf(event->key())};
    if (m_dialog->PreTranslateMessage(message)) return true;
    return press && DialogManagerKey(event);
}

bool QtDialog::DialogManagerKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!alt) PressDefaultButton();
            return true;
        case Qt::Key_Escape:
            if (!alt) EndDialog(kIdCancel);
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (modifiers.testAnyFlags(Qt::ControlModifier | Qt::AltModifier)) return false;
            MoveFocus(event->key() == Qt::Key_Tab && !modifiers.testFlag(Qt::ShiftModifier));
            return true;
        default:
            return false;
    }
}

void QtDialog::PressDefaultButton() {
    // A push button holding the focus is the default; otherwise the template's default button.
    const Control* focused = ControlOf(QApplication::focusWidget());
    if (focused && IsPushButton(focused->tmpl->kind)) {
        static_cast<QPushButton*>(focused->widget)->click();
        return;
    }
    for (Control& control : m_controls) {
        if (control.tmpl->kind != ControlKind::DefaultPushButton) continue;
        // A button that was never shown has no widget, and is hidden.
        if (control.widget && control.widget->isVisibleTo(m_window.get()) && control.widget->isEnabled()) {
            static_cast<QPushButton*>(control.widget)->click();
        }
        return;
    }
}

void QtDialog::ShowDefaultButton() {
    // The button that Enter presses looks the default: the focused push button, else the
    // template's default button.
    const Control* focused = ControlOf(QApplication::focusWidget());
    const bool buttonFocused = focused && IsPushButton(focused->tmpl->kind);
    for (const Control& control : m_controls) {
        if (!IsPushButton(control.tmpl->kind) || !control.widget) continue;
        const bool isDefault =
            buttonFocused ? &control == focused : control.tmpl->kind == ControlKind::DefaultPushButton;
        static_cast<QPushButton*>(control.widget)->setDefault(isDefault);
    }
}

bool QtDialog::MoveFocus(bool forward) {
    const auto count = static_cast<std::ptrdiff_t>(m_controls.size());
    if (count == 0) return false;
    const Control* from = ControlOf(QApplication::focusWidget());
    const std::ptrdiff_t start = from ? from - m_controls.data() : (forward ? -1 : count);
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t at = ((start + (forward ? step : -step)) % count + count) % count;
        Control& control = m_controls[static_cast<std::size_t>(at)];
        if (IsTabStop(control)) {
            Made(control).setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

const QtDialog::Control* QtDialog::ControlOf(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget()) {
        for (const Control& control : m_controls) {
            if (control.widget && control.widget == widget) return &control;
        }
    }
    return nullptr;
}

int QtDialog::ControlIdOf(const QWidget* widget) const {
    const Control* control = ControlOf(widget);
    return control ? control->tmpl->id : 0;
}

bool QtDialog::IsTabStop(const Control& control) const {
    if (!control.tmpl->tabStop) return false;
    if (!control.widget) return control.visible && control.enabled;
    return control.widget->isVisibleTo(m_window.get()) && control.widget->isEnabled();
}

void QtDialog::SetItemText(int id, const std::string& text) {
    Control& control = ControlFor(id);
    const QString value = ToQString(text);
    if (!control.widget) {
        control.text = value;
        m_accessibility->TextChanged(id);
        return;
    }
    QWidget& widget = *control.widget;
    if (auto* marked = dynamic_cast<MarkedLabel*>(&widget)) {
        marked->ClearRuns();
        marked->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        edit->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        combo->setEditText(value);
    } else if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
        frame->setTitle(value);
    }
    m_accessibility->TextChanged(id);
}

void QtDialog::SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) {
    SetItemText(id, text);
    if (auto* marked = dynamic_cast<MarkedLabel*>(&Widget(id))) marked->SetRuns({runs.begin(), runs.end()});
}

std::string QtDialog::GetItemText(int id) const {
    const Control& control = ControlFor(id);
    if (!control.widget) return ToGbk(control.text);
    const QWidget& widget = *control.widget;
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return ToGbk(label->text());
    if (auto* edit = qobject_cast<const QLineEdit*>(&widget)) return ToGbk(edit->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return ToGbk(button->text());
    if (auto* combo = qobject_cast<const QComboBox*>(&widget)) return ToGbk(combo->currentText());
    if (auto* frame = qobject_cast<const QGroupBox*>(&widget)) return ToGbk(frame->title());
    return {};
}

void QtDialog::ShowItem(int id, bool show) {
    Control& control = ControlFor(id);
    control.visible = show;
    // The first show makes the widget, which appears as it is made.
    if (control.widget) {
        control.widget->setVisible(show);
    } else if (show) {
        Made(control);
    }
}

bool QtDialog::IsItemVisible(int id) const {
    const Control& control = ControlFor(id);
    return control.widget ? control.widget->isVisibleTo(m_window.get()) : control.visible;
}

void QtDialog::EnableItem(int id, bool enable) {
    Control& control = ControlFor(id);
    control.enabled = enable;
    if (control.widget) control.widget->setEnabled(enable);
}

bool QtDialog::IsItemEnabled(int id) const {
    const Control& control = ControlFor(id);
    return control.widget ? control.widget->isEnabled() : control.enabled;
}

void QtDialog::CheckItem(int id, bool checked) {
    Control& control = ControlFor(id);
    control.checked = checked;
    if (auto* box = qobject_cast<QCheckBox*>(control.widget)) box->setChecked(checked);
}

bool QtDialog::IsItemChecked(int id) const {
    const Control& control = ControlFor(id);
    if (const auto* box = qobject_cast<const QCheckBox*>(control.widget)) return box->isChecked();
    return control.checked;
}

// Qt shows a tip on a disabled widget too, which is where a tip is most often needed.
void QtDialog::SetItemToolTip(int id, const std::string& text) { Widget(id).setToolTip(ToQString(text)); }

void QtDialog::SetItemFocus(int id) { Widget(id).setFocus(Qt::OtherFocusReason); }

std::optional<std::string> QtDialog::GetComboSelectionText(int id) const {
    // A combo box without its widget yet has its list with nothing selected.
    const auto* combo = qobject_cast<const QComboBox*>(ControlFor(id).widget);
    if (!combo || combo->currentIndex() < 0) return std::nullopt;
    return ToGbk(combo->itemText(combo->currentIndex()));
}

void QtDialog::RepaintDialog() { m_window->repaint(); }

bool QtDialog::AskYesNo(const std::string& text, const std::string& caption) {
    YesNoBox box(ToQString(text), ToQString(caption), m_window.get());
    return box.Ask();
}

// The dialog hears only of the pupil's choices: the signals a change made here sends are held
// back. A combo box without its widget yet gets it first, its list filled, so that nothing is lost.
void QtDialog::AddComboItem(int id, const std::string& text) {
    auto* combo = qobject_cast<QComboBox*>(&Widget(id));
    if (!combo) return;
    const QSignalBlocker quiet(combo);
    combo->addItem(ToQString(text));
}

void QtDialog::RemoveComboItem(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(&Widget(id));
    if (!combo) return;
    const QSignalBlocker quiet(combo);
    // Qt would select a neighbour of a selected item removed; the platform selects nothing.
    const bool selected = combo->currentIndex() == index;
    combo->removeItem(index);
    if (selected) combo->setCurrentIndex(-1);
}

void QtDialog::SelectComboItem(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(&Widget(id));
    if (!combo) return;
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index);
}

void QtDialog::Tell(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Information, ToQString(caption), ToQString(text), QMessageBox::Ok, m_window.get());
    box.setTextFormat(Qt::PlainText);
    // The label a Chinese system gives the button.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

std::optional<std::filesystem::path> QtDialog::AskFileToOpen(const std::string& title, const std::string& filterName,
                                                             std::span<const std::string_view> patterns) {
    QStringList globs;
    for (std::string_view pattern : patterns) globs << ToQString(pattern);
    const QString filter = ToQString(filterName) + QStringLiteral(" (") + globs.join(u' ') + u')';
    // The user's documents, or the home folder where there is no documents folder (the dialog
    // would otherwise open wherever the program was started).
    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(start).exists()) start = QDir::homePath();
    const QString chosen = QFileDialog::getOpenFileName(m_window.get(), ToQString(title), start, filter);
    if (chosen.isEmpty()) return std::nullopt;
    // The name's bytes as the file system holds them.
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}

FontHandle QtDialog::CreatePointFont(int tenthsOfPoint, const std::string& face) {
    const int dpi = m_window ? m_window->logicalDpiY() : 96;
    m_fonts.push_back(m_faces.MakePointFont(tenthsOfPoint, ToQString(face), dpi));
    return static_cast<FontHandle>(m_fonts.size());
}

void QtDialog::SetItemFont(int id, FontHandle font) {
    // No font (0) draws in the system's font, as the platform does.
    const bool known = font > 0 && static_cast<std::size_t>(font) <= m_fonts.size();
    Control& control = ControlFor(id);
    control.font = known ? m_fonts[static_cast<std::size_t>(font) - 1] : QApplication::font();
    if (control.widget) control.widget->setFont(*control.font);
}

void QtDialog::SetWindowIcons() {
    if (m_appIcon.isNull()) {
        // Every image of the file, as QIcon reads a file, but with its format named.
        QImageReader reader(ImageResource(m_resources.appIcon));
        ReadAsItsNameSays(reader);
        for (QImage image = reader.read(); !image.isNull(); image = reader.read()) {
            m_appIcon.addPixmap(QPixmap::fromImage(image));
            if (!reader.jumpToNextImage()) break;
        }
    }
    m_window->setWindowIcon(m_appIcon);
}

}  // namespace zembra
