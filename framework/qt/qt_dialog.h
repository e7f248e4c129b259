// The Qt backend of the dialog framework: builds the window and its controls from the dialog
// template it is handed, implements the control operations, and plays the platform's dialog
// manager (every key press goes to the dialog's PreTranslateMessage first; then Enter presses the
// focused push button or the default button, Escape cancels, Tab walks the tab stops in template
// order).
#pragma once

#include <QFont>
#include <QIcon>
#include <QObject>
#include <QSize>
#include <QString>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "framework/accessible_name.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/qt/dialog_units.h"
#include "framework/qt/point_font.h"

class QKeyEvent;
class QWidget;

namespace zembra {

class DialogAccessibility;
class DialogWindow;

// An image that a control or the window shows, from Qt's resource system.
struct QtImage {
    int id;            // the icon or bitmap resource id that the template names
    QString resource;  // as ":/images/tick.ico"
    QSize size;        // a bitmap's size when known, so that it is read only when shown
    // The same picture drawn twice as large, shown on screens scaled above 100 %; may be empty.
    QString doubleSize = {};
};

// What the application hands the backend, as a Win32 program's module holds its resources: the
// template, the lists its combo boxes start with, the images, the application icon's id, the
// faces that stand in for the ones the template asks for, and what a screen reader says for the
// controls. The template, the lists, the faces and the names' texts must outlive the dialog.
struct QtDialogResources {
    const DialogTemplate& dialogTemplate;
    std::span<const ComboBoxList> comboLists;
    std::vector<QtImage> images;
    int appIcon = 0;
    std::span<const FaceStandIn> faces;
    std::vector<AccessibleName> accessibleNames = {};
};

class QtDialog : public QObject, public ControlHost {
public:
    explicit QtDialog(QtDialogResources resources);
    ~QtDialog() override;
    QtDialog(const QtDialog&) = delete;
    QtDialog& operator=(const QtDialog&) = delete;

    // Creates the window and its controls (hidden), fills the combo lists, runs OnInitDialog and,
    // when it returns true, puts the focus on the first shown, enabled tab stop.
    void Create(Dialog& dialog);
    // Centres the window on the primary screen's available area, shows and activates it.
    void Show();
    // Create, Show and the modal loop until the dialog ends; the window is destroyed before it
    // returns. The end code: kIdCancel or kIdOk.
    int DoModal(Dialog& dialog);
    // Ends the dialog with a command code, as the dialog manager does for Escape.
    void EndDialog(int code);
    // The session ends (the desktop's session manager, or a signal to end): the dialog's
    // OnEndSession saves, a question open above it is answered No, and the dialog ends. Nothing
    // once the dialog has ended.
    void EndSession();

    QWidget* Window() const;
    // The control's widget. A control that has not been shown yet has none; asking for its widget
    // makes it (hidden, as the control is), since the caller means to use it.
    QWidget* Item(int id) const;
    std::optional<int> EndCode() const { return m_endCode; }
    // The control that a widget belongs to (a combo box for its line edit), or 0.
    int ControlIdOf(const QWidget* widget) const;

    // ControlHost
    void SetItemText(int id, const std::string& text) override;
    std::string GetItemText(int id) const override;
    void SetItemMarkedText(int id, const std::string& text, std::span<const TextRun> runs) override;
    void ShowItem(int id, bool show) override;
    bool IsItemVisible(int id) const override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void CheckItem(int id, bool checked) override;
    bool IsItemChecked(int id) const override;
    void SetItemToolTip(int id, const std::string& text) override;
    void SetItemFocus(int id) override;
    std::optional<std::string> GetComboSelectionText(int id) const override;
    void RepaintDialog() override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void AddComboItem(int id, const std::string& text) override;
    void RemoveComboItem(int id, int index) override;
    void SelectComboItem(int id, int index) override;
    void Tell(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> AskFileToOpen(const std::string& title, const std::string& filterName,
                                                       std::span<const std::string_view> patterns) override;
    FontHandle CreatePointFont(int tenthsOfPoint, const std::string& face) override;
    void SetItemFont(int id, FontHandle font) override;
    void SetWindowIcons() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A control, and what it holds while it has no widget: a control that starts hidden, and that
    // a screen reader is told nothing of, gets its widget when it is first shown (or its widget is
    // asked for). Most such controls are never shown; making their 63 widgets, and setting their
    // fonts and texts, took about a twentieth of the program's start-up.
    struct Control {
        const ControlTemplate* tmpl;
        QWidget* widget = nullptr;
        QString text;
        bool visible = true;
        bool enabled = true;
        std::optional<QFont> font;
        bool checked = false;
    };

    void CreateControls();
    QWidget* CreateControl(const Control& control);
    QWidget& Made(Control& control);
    void PlaceInStackAndTabOrder(const Control& control);
    void SetUpComboBox(const Control& control);
    const QtImage* Image(int id) const;
    QString ImageResource(int id) const;
    bool RouteKey(QKeyEvent* event);
    bool DialogManagerKey(const QKeyEvent* event);
    void PressDefaultButton();
    void ShowDefaultButton();
    bool MoveFocus(bool forward);
    const Control* ControlOf(const QWidget* widget) const;
    bool IsTabStop(const Control& control) const;
    void OnCloseRequest();
    void Command(int id, Notification code);
    Control& ControlFor(int id);
    const Control& ControlFor(int id) const;
    QWidget& Widget(int id);

    QtDialogResources m_resources;
    const DialogTemplate& m_template;
    FontFaces m_faces;
    Dialog* m_dialog = nullptr;
    std::unique_ptr<DialogWindow> m_window;
    std::unique_ptr<DialogAccessibility> m_accessibility;
    std::vector<Control> m_controls;    // template order: z-order and tab order
    std::map<int, std::size_t> m_byId;  // the index of a control in m_controls
    DialogBaseUnits m_units{};
    std::vector<QFont> m_fonts;  // FontHandle n is m_fonts[n - 1]
    QFont m_dialogFont;
    QIcon m_appIcon;
    std::optional<int> m_endCode;
    QMetaObject::Connection m_focusWatch;  // the default button follows the focus
};

}  // namespace zembra
