// The Qt program's dialog on its real widgets: start-up state, Enter routing, Tab, Escape and the
// close box, posters, colours, fonts, the combo list, the Yes/No and OK boxes, the file dialog,
// the longest answers and what typed text is right; the marks drawn through their masks and every
// picture in the screen's own pixels (the suite also runs scaled to 200 %). Each test runs its own
// dialog on a progress file in a temporary folder.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "app/qt/main_dialog_resources.h"
#include "data/word_bank.h"
#include "drill/practice_dialog.h"
#include "drill/read_aloud.h"
#include "drill/review_schedule.h"
#include "framework/qt/dialog_button.h"
#include "framework/qt/icon_file.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_speech.h"
#include "framework/qt/qt_translations.h"
#include "framework/qt/qt_text.h"
#include "framework/local_day.h"
#include "ui/main_dialog_template.h"
#include "tests/support/recording_speech.h"
#include "ui/poster.h"

using namespace zembra;

namespace {

std::string ReadFile(const std::filesystem::path& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

// A progress file as the program writes it: every row mastered except the ones listed.
std::string ProgressAllMasteredBut(int runCounter, const std::set<int>& open) {
    std::string bytes = std::to_string(runCounter) + "\r\n";
    for (int row = 0; row < kBankRows; ++row) bytes += open.count(row) ? "\r\n" : "1\r\n";
    return bytes;
}

// The sessions' fixed clock, the day it falls on, and the mark of a row first mastered then.
constexpr std::int64_t kNow = 1700000000;
std::int64_t Today() { return LocalDay(kNow); }
std::string FirstMastery() { return WriteSchedule({1, Today() + 1}); }

// A file of every row mastered but the marks given, as a save on that day writes it: each row
// mastered before the session has been given its review day, spread over the month to come.
std::string SavedFile(int runCounter, const std::map<int, std::string>& marks) {
    std::string bytes = std::to_string(runCounter) + "\r\n";
    for (int row = 0; row < kBankRows; ++row) {
        const auto given = marks.find(row);
        bytes += (given != marks.end() ? given->second : ScheduleForUnknownMark(row, Today())) + "\r\n";
    }
    return bytes;
}

// The pixels of a widget near a colour: how many, and the widest run of them along a row (the
// line of an underline or a strike-out is wider than any stroke of a letter).
std::pair<int, int> PixelsNear(QWidget* widget, QColor colour) {
    const QImage image = widget->grab().toImage();
    int count = 0, widest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const bool near = qAbs(pixel.red() - colour.red()) + qAbs(pixel.green() - colour.green()) +
                                  qAbs(pixel.blue() - colour.blue()) <
                              60;
            count += near;
            run = near ? run + 1 : 0;
            widest = std::max(widest, run);
        }
    }
    return {count, widest};
}

QString Answer(int row) { return ToQString(kWordRows[row].answer); }

// What is wrong with the picture a picture control draws, or nothing: it covers `size` of the
// dialog's pixels with as many of the screen's pixels, so that on a scaled screen it is not blown
// up from fewer.
QString PictureFault(const QLabel* label, QSize size) {
    const QPixmap picture = label->pixmap();
    const qreal ratio = label->devicePixelRatioF();
    if (picture.deviceIndependentSize().toSize() != size || picture.size() != (QSizeF(size) * ratio).toSize()) {
        return QStringLiteral("%1 x %2 screen pixels at %3 for %4 x %5")
            .arg(picture.width())
            .arg(picture.height())
            .arg(ratio)
            .arg(size.width())
            .arg(size.height());
    }
    return {};
}

// The pixels alone, whatever the image's format and pixel ratio.
QImage Rgb(const QImage& image) {
    QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    pixels.setDevicePixelRatio(1);
    return pixels;
}

QByteArray ReadResource(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One icon file holding the images of two one-image icon files.
QByteArray TwoImageIcon(const QByteArray& first, const QByteArray& second) {
    constexpr int kHeader = 6, kEntry = 16, kImage = kHeader + kEntry;
    QByteArray file = first.left(kHeader);
    file[4] = 2;
    const auto entry = [](const QByteArray& icon, qsizetype offset) {
        QByteArray bytes = icon.mid(kHeader, kEntry);
        qToLittleEndian(static_cast<quint32>(offset), bytes.data() + 12);
        return bytes;
    };
    const qsizetype firstAt = kHeader + 2 * kEntry;
    file += entry(first, firstAt) + entry(second, firstAt + first.size() - kImage);
    return file + first.mid(kImage) + second.mid(kImage);
}

// Characters typed into a widget or a window, one key event with its text each.
template <typename Target>
void Type(Target* target, const QString& text) {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// An entry of a combo box chosen as a user does: the list opened, the entry marked, Enter.
void ChooseFromList(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
}

// One dialog on the real widgets with a fixed clock, its diagnostics kept. It speaks through a
// recording voice that is always ready, or through Qt TextToSpeech's engine `engine`.
struct Session {
    explicit Session(const std::optional<std::string>& fileBytes = std::nullopt, const QString& engine = {})
        : service(engine.isEmpty() ? nullptr : std::make_unique<QtSpeech>(engine)) {
        if (fileBytes) std::ofstream(file, std::ios::binary) << *fileBytes;
    }
    // A session on the progress file and the lists of a folder that outlives it.
    struct In {
        std::filesystem::path folder;
    };
    explicit Session(In in) : folder(std::move(in.folder)) {}
    bool Start() {
        host.Create(dialog);
        host.Show();
        return QTest::qWaitForWindowActive(host.Window());
    }
    template <typename T = QWidget>
    T* Item(int id) const {
        return qobject_cast<T*>(host.Item(id));
    }
    QString Text(int id) const { return ToQString(host.GetItemText(id)); }
    int Focus() const { return host.ControlIdOf(QApplication::focusWidget()); }
    // A key pressed on the keyboard reaches the window first, as the platform delivers it.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(host.Window()->windowHandle(), key, modifiers);
    }
    void Click(int id) { QTest::mouseClick(Item(id), Qt::LeftButton); }
    // The dark pixels a button shows along the top of its focus mark's place.
    int FocusMarkPixels(int id) const {
        auto* button = dynamic_cast<DialogButton*>(host.Item(id));
        if (!button) return -1;
        const QImage grab = button->grab().toImage();
        const qreal ratio = grab.devicePixelRatio();
        const QRect mark = button->FocusMarkRect();
        int dark = 0;
        for (int y = int(mark.top() * ratio) - 1; y <= int(mark.top() * ratio) + 1; ++y) {
            for (int x = int(mark.left() * ratio); x <= int(mark.right() * ratio); ++x) {
                dark += qGray(grab.pixel(x, y)) < 96;
            }
        }
        return dark;
    }
    // Which buttons look the default (the one Enter presses) and which show the focus mark.
    std::pair<std::vector<int>, std::vector<int>> DefaultAndFocusMarks() const {
        std::vector<int> defaults, marked;
        for (int id : {1068, 1069, 1070, 1084}) {
            if (Item<QPushButton>(id)->isDefault()) defaults.push_back(id);
            if (FocusMarkPixels(id) > Item(id)->width() / 4) marked.push_back(id);
        }
        return {defaults, marked};
    }

    QTemporaryDir dir;
    std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::path file = folder / "ZbXxYy.zb";
    std::filesystem::path lists = folder / "lists";
    QtDialog host{MainDialogResources()};
    testing::RecordingSpeech recording;
    std::unique_ptr<QtSpeech> service;
    std::string output;
    PracticeDialog dialog{
        host,
        DrillEnvironment{file, [] { return kNow; }, [this](std::string_view line) { output += line; }, false, lists},
        service ? static_cast<Speech*>(service.get()) : &recording};
};

// What a screen reader is told while the object lives: the alerts, and the changes of the names
// the dialog gives, each with the control it is about. Qt tells only while a screen reader's
// accessibility bus is there (with_screen_reader_bus.sh), so without one nothing is heard.
class ScreenReaderEvents {
public:
    explicit ScreenReaderEvents(const QtDialog& host) {
        s_host = &host;
        s_seen.clear();
        m_previous = QAccessible::installUpdateHandler(&Record);
    }
    ~ScreenReaderEvents() {
        QAccessible::installUpdateHandler(m_previous);
        s_host = nullptr;
    }
    ScreenReaderEvents(const ScreenReaderEvents&) = delete;
    ScreenReaderEvents& operator=(const ScreenReaderEvents&) = delete;

    // The controls alerted since the last call, in order.
    std::vector<int> TakeAlerts() { return Take(QAccessible::Alert); }
    std::vector<int> TakeNameChanges() { return Take(QAccessible::NameChanged); }

private:
    static void Record(QAccessibleEvent* event) {
        auto* widget = qobject_cast<QWidget*>(event->object());
        if (!s_host || !widget) return;
        if (event->type() == QAccessible::Alert ||
            (event->type() == QAccessible::NameChanged && !widget->accessibleName().isEmpty())) {
            s_seen.emplace_back(event->type(), s_host->ControlIdOf(widget));
        }
    }
    std::vector<int> Take(QAccessible::Event type) {
        std::vector<int> ids;
        std::erase_if(s_seen, [&](const std::pair<QAccessible::Event, int>& seen) {
            if (seen.first == type) ids.push_back(seen.second);
            return seen.first == type;
        });
        return ids;
    }

    static inline const QtDialog* s_host = nullptr;
    static inline std::vector<std::pair<QAccessible::Event, int>> s_seen;
    QAccessible::UpdateHandler m_previous = nullptr;
};

// What a Yes/No box showed, answered from inside its own modal loop after trying Escape on it.
struct BoxSeen {
    QString text, caption, defaultButton;
    QMessageBox::Icon icon = QMessageBox::Information;
    bool openAfterEscape = false;
};

// Acts on the next visible top-level box of type Box from inside its own modal loop, once it is
// open.
template <typename Box>
void OnNextBox(std::function<void(Box*)> act, int triesLeft = 3000) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        Box* box = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<Box*>(widget); candidate && candidate->isVisible()) box = candidate;
        }
        if (box) {
            act(box);
        } else if (triesLeft > 0) {
            OnNextBox<Box>(std::move(act), triesLeft - 1);
        }
    });
}

// The file typed into a file dialog's name field, as a user does, and accepted. (selectFile would
// leave the field as it is while it has the focus.)
void ChooseFile(QFileDialog* files, const std::filesystem::path& file) {
    files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFile::decodeName(file.c_str()));
    static_cast<QDialog*>(files)->accept();  // the file dialog's own check of the choice runs
}

void AnswerNextBox(std::optional<BoxSeen>& seen, bool yes) {
    OnNextBox<QMessageBox>([&seen, yes](QMessageBox* box) {
        seen = BoxSeen{box->text(), box->windowTitle(), box->defaultButton()->text(), box->icon()};
        QTest::keyClick(box, Qt::Key_Escape);
        seen->openAfterEscape = box->isVisible();
        if (yes) {
            QTest::keyClick(box, Qt::Key_Return);  // Enter presses the default button
        } else {
            box->button(QMessageBox::No)->click();
        }
    });
}

// A small template of another program, with its own combo list, picture, icon and faces: a frame
// around it all, an edit, a hidden label and a hidden edit, two buttons, a combo box, a picture.
QtDialogResources SmallDialogResources() {
    static const ControlTemplate controls[] = {
        {14, ControlKind::GroupBox, "", {0, 0, 140, 60}, true, false},
        {7, ControlKind::Edit, "", {4, 4, 80, 12}, true, true, Align::Left, true},
        {12, ControlKind::TextStatic, "", {90, 46, 40, 8}, false, false},
        {13, ControlKind::Edit, "", {4, 46, 80, 12}, false, true, Align::Left, true},
        {8, ControlKind::DefaultPushButton, "OK", {4, 20, 40, 14}, true, true},
        {9, ControlKind::PushButton, "No", {48, 20, 40, 14}, true, true},
        {10, ControlKind::DropDownCombo, "", {4, 40, 60, 50}, true, false},
        {11, ControlKind::BitmapStatic, "", {90, 4, 40, 40}, true, false, Align::Left, false, false, 500},
    };
    static const DialogTemplate small{200, "Small", 140, 60, "Sans", 9, controls};
    static const std::string_view entries[] = {"\xD2\xBB", "\xB6\xFE"};  // 一, 二
    static const ComboBoxList lists[] = {{10, entries}};
    return {small,
            lists,
            {{500, QStringLiteral(":/images/poster_139.bmp"), QSize(30, 20)},
             {501, QStringLiteral(":/images/tick.ico"), QSize()}},
            501,
            {}};
}

struct CommandRecorder : Dialog {
    using Dialog::Dialog;
    bool OnInitDialog() override {
        Host().SetWindowIcons();
        return true;
    }
    void OnCommand(int id, Notification code) override { commands.emplace_back(id, code); }
    std::vector<std::pair<int, Notification>> commands;
};

}  // namespace

class QtDialogTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void comboListAndChoice();
    void missedRowsDrilledOnTheirOwn();
    void reviewToldAtStartUpAndChosenInTheList();
    void enterAsksThenSubmitsThenAsks();
    void inputMethodCommitOnlyCommits();
    void tabWalksNextAndSubmitOnly();
    void escapeEndsWithoutSaving();
    void closeBoxSavesAndEnds();
    void sessionEndSavesAndAnswersAnOpenQuestionNo();
    void posterForRunCounter_data();
    void posterForRunCounter();
    void coloursFontsAndCaptions();
    void yesNoBoxes();
    void marksShowTheDialogThroughTheirMask_data();
    void marksShowTheDialogThroughTheirMask();
    void iconFilesReadWithTheirMask();
    void bitmapFilesReadAsQtReadsThem();
    void qtTextsInTheUsersLanguage_data();
    void qtTextsInTheUsersLanguage();
    void screenReaderNamesFollowTheDrill();
    void screenReaderReadsInScreenOrder();
    void longestAnswerTypedInFull_data();
    void longestAnswerTypedInFull();
    void typedAnswerJudged_data();
    void typedAnswerJudged();
    void anyTemplateWithWhatTheProgramHandsIn();
    void comboListChangedWithoutTellingTheDialog();
    void okBoxAndFileToOpen();
    void hiddenControlMadeWhenFirstShown();
    void listenButtonSaysTheCheckedAnswer();
    void withoutASpeechServiceTheButtonExplains();
    void missDrawnWithItsSlipsMarked();
    void dictationSaysTheRowAndKeepsThePromptBack();
    void listImportedDrilledKeptAndRemoved();
};

void QtDialogTest::startUpState() {
    Session s;
    QVERIFY(s.Start());
    QWidget* window = s.host.Window();
    QCOMPARE(window->windowTitle(), QStringLiteral("Zembra—小学英语词汇大全"));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    // 478 × 218 dialog units at the dialog face's 7 × 17 px base units (96 dpi): the size the
    // posters and captions were made for, whichever face stands in for the dialog font.
    QCOMPARE(window->size(), QSize(837, 463));
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window->windowIcon().isNull());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(window->frameGeometry().center().x() - area.center().x()) <= 1);

    // The first tab stop has the focus, not the answer box that the first question focused, so
    // typed letters go nowhere yet.
    QCOMPARE(s.Focus(), 1070);
    QCOMPARE(s.Text(1002), ToQString(kWordRows[s.dialog.CurrentRow()].prompt));
    QCOMPARE(s.Text(1079), QStringLiteral("1754"));
    QVERIFY(!s.Item(1074)->isVisible() && !s.Item(1075)->isVisible());
    Type(window->windowHandle(), QStringLiteral("abc"));
    QCOMPARE(s.Item<QLineEdit>(1035)->text(), QString());
}

void QtDialogTest::comboListAndChoice() {
    Session s;
    QVERIFY(s.Start());
    auto* combo = s.Item<QComboBox>(1102);
    const QStringList expected{"全选",        "单词",     "常用短语", "第三人称单数", "过去式",
                               "介词短语",    "名词复数", "缩写",     "特殊疑问词",   "现在分词",
                               "形容词→副词", "比较级",   "最高级",   "错题",         "复习"};
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    QCOMPARE(items, expected);
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->currentText(), QString());

    // Choosing "全选", already the filter, still runs the change: the cross of a wrong answer goes.
    s.Click(1035);
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(1075)->isVisible());
    ChooseFromList(combo, 0);
    QVERIFY(!s.Item(1075)->isVisible());

    int words = 0;
    for (const WordRow& row : kWordRows) words += row.category == std::string_view(Utf8ToGbk("单词"));
    ChooseFromList(combo, 1);
    QCOMPARE(s.Text(1001), QStringLiteral("单词"));
    QCOMPARE(s.Text(1079), QString::number(words));

    // Text typed into the field is never read, not even when the field loses the focus.
    combo->lineEdit()->setFocus();
    combo->lineEdit()->selectAll();
    Type(combo->lineEdit(), QStringLiteral("全选"));
    s.Click(1035);
    QCOMPARE(s.Text(1079), QString::number(words));
}

// Three rows missed, one of them then answered right: 错题 asks the other two only, each under
// its own category, keeps one answered wrong again, and the close saves "0" for it.
void QtDialogTest::missedRowsDrilledOnTheirOwn() {
    Session s(ProgressAllMasteredBut(3, {5, 700, 1500, 1700}));
    QVERIFY(s.Start());
    auto* combo = s.Item<QComboBox>(1102);
    // Typed into the answer box and submitted with Enter; a further Enter asks the next row.
    const auto answer = [&s](const QString& typed) {
        s.Click(1035);
        QTest::keyClicks(s.Item(1035), typed);
        s.Press(Qt::Key_Return);
        QVERIFY(!s.Item(1068)->isEnabled());
    };
    for (const auto& [entry, row] : {std::pair{1, 5}, {5, 1500}, {12, 1700}}) {
        ChooseFromList(combo, entry);
        if (!s.Item(1068)->isEnabled()) s.Press(Qt::Key_Return);
        QCOMPARE(s.dialog.CurrentRow(), row);
        answer(QStringLiteral("wrong"));
        QVERIFY(s.Item(1075)->isVisible());
    }
    ChooseFromList(combo, 1);
    s.Press(Qt::Key_Return);
    QCOMPARE(s.dialog.CurrentRow(), 5);
    answer(Answer(5));

    ChooseFromList(combo, 13);
    QCOMPARE(combo->currentText(), QStringLiteral("错题"));
    QCOMPARE(s.Text(1079), QStringLiteral("2"));
    QCOMPARE(s.Text(1080), QStringLiteral("0"));
    const int first = s.dialog.CurrentRow();
    QVERIFY(first == 1500 || first == 1700);
    QCOMPARE(s.Text(1001), ToQString(kWordRows[first].category));
    s.Press(Qt::Key_Return);
    answer(Answer(first));
    QVERIFY(s.Item(1074)->isVisible());
    QCOMPARE(s.Text(1080), QStringLiteral("1"));
    const int second = first == 1500 ? 1700 : 1500;
    for (int attempt = 0; attempt < 2; ++attempt) {  // answered wrong, it is asked again
        s.Press(Qt::Key_Return);
        QCOMPARE(s.dialog.CurrentRow(), second);
        QCOMPARE(s.Text(1001), ToQString(kWordRows[second].category));
        answer(QStringLiteral("wrong"));
    }
    QCOMPARE(s.Text(1080), QStringLiteral("1"));

    s.host.Window()->close();
    QVERIFY(ReadFile(s.file) == SavedFile(4, {{700, ""}, {second, "0"}, {5, FirstMastery()}, {first, FirstMastery()}}));
}

// Two rows due: the start-up says so on the result line, named for a screen reader, under the
// first question; 复习, the last entry, asks those two.
void QtDialogTest::reviewToldAtStartUpAndChosenInTheList() {
    std::map<int, std::string> marks;
    for (int row = 0; row < kBankRows; ++row) marks[row] = "";
    marks[10] = marks[11] = WriteSchedule({2, Today()});
    marks[12] = WriteSchedule({2, Today() + 1});
    Session s(SavedFile(3, marks));
    QVERIFY(s.Start());
    const QString told = QStringLiteral("今天有 2 个词要复习：选“复习”。");
    QVERIFY(s.Item(1073)->isVisible() && s.Text(1073) == told);
    QCOMPARE(QAccessible::queryAccessibleInterface(s.Item(1073))->text(QAccessible::Name),
             QStringLiteral("结果 ") + told);
    QVERIFY(s.dialog.CurrentRow() >= 0 && s.Item(1002)->isVisible());
    ChooseFromList(s.Item<QComboBox>(1102), 14);
    QCOMPARE(s.Text(1079), QStringLiteral("2"));
    QVERIFY(s.dialog.CurrentRow() == 10 || s.dialog.CurrentRow() == 11);
}

void QtDialogTest::enterAsksThenSubmitsThenAsks() {
    Session s;
    QVERIFY(s.Start());
    // Enter presses the focused next button: a row is asked and the answer box has the focus.
    s.Press(Qt::Key_Return);
    QCOMPARE(s.Focus(), 1035);
    QVERIFY(s.Item(1068)->isEnabled());

    const int row = s.dialog.CurrentRow();
    QTest::keyClicks(s.Item(1035), QStringLiteral("zzz"));
    s.Press(Qt::Key_Return);  // submits, and only that
    QVERIFY(!s.Item(1068)->isEnabled());
    QVERIFY(s.Item(1075)->isVisible());
    QCOMPARE(PictureFault(s.Item<QLabel>(1075), QSize(32, 32)), QString());
    QCOMPARE(s.dialog.CurrentRow(), row);
    QCOMPARE(s.Text(1073), Answer(row) + QStringLiteral("  "));

    s.Press(Qt::Key_Enter);  // the keypad's Enter asks the next row, and only that
    QVERIFY(s.Item(1068)->isEnabled());
    QVERIFY(!s.Item(1075)->isVisible());
    QCOMPARE(s.Text(1073), QString());
    QCOMPARE(s.Focus(), 1035);
}

void QtDialogTest::inputMethodCommitOnlyCommits() {
    Session s;
    QVERIFY(s.Start());
    s.Click(1035);
    const int row = s.dialog.CurrentRow();
    QInputMethodEvent composing(QStringLiteral("ni"), {});
    QApplication::sendEvent(s.Item(1035), &composing);
    // The Enter that ends a composition reaches the widget as the commit alone.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("你"));
    QApplication::sendEvent(s.Item(1035), &commit);
    QCOMPARE(s.Item<QLineEdit>(1035)->text(), QStringLiteral("你"));
    QVERIFY(s.Item(1068)->isEnabled());
    QVERIFY(!s.Item(1074)->isVisible() && !s.Item(1075)->isVisible());
    QCOMPARE(s.dialog.CurrentRow(), row);
}

void QtDialogTest::tabWalksNextAndSubmitOnly() {
    Session s;
    QVERIFY(s.Start());
    // The focused button shows the focus mark and looks the default, as it is: Enter presses it.
    using Buttons = std::pair<std::vector<int>, std::vector<int>>;
    QCOMPARE(s.DefaultAndFocusMarks(), (Buttons{{1070}, {1070}}));
    for (auto [key, focus] : {std::pair{Qt::Key_Tab, 1068}, {Qt::Key_Tab, 1070}, {Qt::Key_Backtab, 1068}}) {
        s.Press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(s.Focus(), focus);
        QCOMPARE(s.DefaultAndFocusMarks(), (Buttons{{focus}, {focus}}));
    }
    // From the answer box Tab goes to 1068; Enter there presses it, the focused push button.
    s.Click(1035);
    QCOMPARE(s.DefaultAndFocusMarks(), (Buttons{{1068}, {}}));
    QTest::keyClicks(s.Item(1035), Answer(s.dialog.CurrentRow()));
    s.Press(Qt::Key_Tab);
    QCOMPARE(s.Focus(), 1068);
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(1074)->isVisible());
    QCOMPARE(PictureFault(s.Item<QLabel>(1074), QSize(32, 32)), QString());
    QCOMPARE(s.Text(1080), QStringLiteral("1"));

    // With 1068 disabled, 1070 is the only tab stop left.
    s.Click(1035);
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab}) {
        s.Press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(s.Focus(), 1070);
    }
}

void QtDialogTest::escapeEndsWithoutSaving() {
    const std::string before = ProgressAllMasteredBut(7, {3, 400, 1700});
    Session s(before);
    QVERIFY(s.Start());
    s.Click(1035);
    QTest::keyClicks(s.Item(1035), Answer(s.dialog.CurrentRow()));
    s.Press(Qt::Key_Return);
    QCOMPARE(s.dialog.MasteredCount(), kBankRows - 2);
    s.Press(Qt::Key_Escape);
    QCOMPARE(s.host.EndCode(), std::optional<int>(kIdCancel));
    QVERIFY(!s.host.Window()->isVisible());
    QCOMPARE(ReadFile(s.file), before);
}

void QtDialogTest::closeBoxSavesAndEnds() {
    // The modal run of a first start, ended by the close box.
    Session s;
    bool wasShown = false;
    QTimer::singleShot(0, [&] {
        wasShown = s.host.Window()->isVisible();
        s.host.Window()->close();
    });
    QCOMPARE(s.host.DoModal(s.dialog), kIdCancel);
    QVERIFY(wasShown);
    QVERIFY(s.host.Window() == nullptr);  // no window remains
    std::string expected = "2\r\n";
    for (int row = 0; row < kBankRows; ++row) expected += "\r\n";
    QCOMPARE(expected.size(), std::size_t{3511});
    QCOMPARE(ReadFile(s.file), expected);
}

// The session ends while the dialog asks whether to clear every mark: the marks are saved as they
// stand, the question is answered No and the modal run ends, with one save.
void QtDialogTest::sessionEndSavesAndAnswersAnOpenQuestionNo() {
    Session s(ProgressAllMasteredBut(7, {3, 400}));
    bool asked = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [&] {  // inside the question's own loop
            asked = QApplication::activeModalWidget() != s.host.Window();
            s.host.EndSession();
            s.host.EndSession();
        });
        s.Click(1084);
    });
    QCOMPARE(s.host.DoModal(s.dialog), kIdCancel);
    QVERIFY(asked);
    QCOMPARE(ReadFile(s.file), SavedFile(8, {{3, ""}, {400, ""}}));
}

void QtDialogTest::posterForRunCounter_data() {
    QTest::addColumn<int>("counter");
    QTest::addColumn<int>("poster");
    QTest::addColumn<QSize>("size");
    const QSize start(254, 354);
    for (int counter : {1, 9, 16, 32, 0, -5}) QTest::addRow("%d", counter) << counter << 1086 << start;
    QTest::newRow("10") << 10 << 1096 << QSize(255, 354);
    QTest::newRow("15") << 15 << 1101 << QSize(253, 355);
    QTest::newRow("17") << 17 << 1095 << QSize(253, 354);
}

void QtDialogTest::posterForRunCounter() {
    QFETCH(int, counter);
    QFETCH(int, poster);
    QFETCH(QSize, size);
    Session s(ProgressAllMasteredBut(counter, {1}));
    QVERIFY(s.Start());
    std::vector<int> shown;
    for (int id : {1086, 1095, 1087, 1088, 1089, 1090, 1091, 1092, 1093, 1094, 1096, 1097, 1098, 1099, 1100, 1101}) {
        if (s.Item(id)->isVisible()) shown.push_back(id);
    }
    QCOMPARE(shown, std::vector<int>{poster});
    QCOMPARE(PictureFault(s.Item<QLabel>(poster), size), QString());
    QCOMPARE(s.Item(poster)->size(), size);
    // Whole inside the frame that holds it, as the template lays it out.
    const QRect placed = s.Item(poster)->geometry();
    const auto frames = s.host.Window()->findChildren<QGroupBox*>();
    QVERIFY(std::any_of(frames.begin(), frames.end(), [&](const QGroupBox* frame) {
        return frame->geometry().adjusted(1, 1, -1, -1).contains(placed);
    }));
    // The bitmap itself, or on a screen scaled to 200 % the same poster drawn twice as large.
    const int bitmap = std::find_if(kPosterOrder.begin(), kPosterOrder.end(), [poster](const Poster& p) {
                           return p.control == poster;
                       })->bitmap;
    const bool doubled = s.Item(poster)->devicePixelRatioF() == 2;
    const QString file =
        doubled ? QStringLiteral(":/images/2x/poster_%1.png") : QStringLiteral(":/images/poster_%1.bmp");
    QCOMPARE(Rgb(s.Item<QLabel>(poster)->pixmap().toImage()), Rgb(QImage(file.arg(bitmap))));
}

void QtDialogTest::coloursFontsAndCaptions() {
    Session s;
    QVERIFY(s.Start());
    std::set<int> red;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        const QPalette& palette = control.id < 0 ? QPalette() : s.Item(control.id)->palette();
        if (palette.color(QPalette::WindowText) == QColor(255, 0, 0)) red.insert(control.id);
    }
    QCOMPARE(red, (std::set<int>{1073, 1079, 1080}));

    const QStringList song{"宋体", "SimSun", "AR PL UMing CN"};
    const QStringList yaHei{"微软雅黑", "Microsoft YaHei", "WenQuanYi Micro Hei"};
    const struct {
        std::vector<int> ids;
        const QStringList& faces;
        int pixels;  // at 96 dpi
    } groups[] = {{{1001, 1002, 1073, 1078}, song, 24},
                  {{1035, 1068, 1069, 1070, 1079, 1080, 1081, 1082, 1103}, song, 16},
                  {{1084, 1102}, yaHei, 12}};
    for (const auto& group : groups) {
        for (int id : group.ids) {
            const QFontInfo info(s.Item(id)->font());
            QVERIFY2(group.faces.contains(info.family()),
                     qPrintable(QStringLiteral("%1: %2").arg(id).arg(info.family())));
            QCOMPARE(info.pixelSize(), group.pixels);
        }
    }

    // Fixed captions, and the largest number a counter shows, are drawn whole on one line.
    s.host.SetItemText(1080, "1754");
    for (int id : {1001, 1068, 1069, 1070, 1078, 1079, 1080, 1081, 1082, 1084, 1103}) {
        QWidget* widget = s.Item(id);
        const int width = widget->fontMetrics().horizontalAdvance(s.Text(id));
        const int room = widget->width() - (qobject_cast<QPushButton*>(widget) ? 4 : 0);
        QVERIFY2(width <= room, qPrintable(QStringLiteral("%1: %2 px in %3 px").arg(id).arg(width).arg(room)));
    }
    // So is every prompt of the bank, on the prompt line.
    const QWidget* promptLine = s.Item(1002);
    for (int row = 0; row < kBankRows; ++row) {
        const int width = promptLine->fontMetrics().horizontalAdvance(ToQString(kWordRows[row].prompt));
        QVERIFY2(width <= promptLine->width(),
                 qPrintable(QStringLiteral("row %1: %2 px in %3 px").arg(row).arg(width).arg(promptLine->width())));
    }
}

void QtDialogTest::yesNoBoxes() {
    Session s(ProgressAllMasteredBut(3, {5, 6}));
    QVERIFY(s.Start());
    std::optional<BoxSeen> reset;
    AnswerNextBox(reset, false);
    s.Click(1084);
    QVERIFY(reset);
    QCOMPARE(reset->text, QStringLiteral("确定要重新练习所有内容吗？"));
    QCOMPARE(reset->caption, QStringLiteral("操作确认"));
    QCOMPARE(reset->icon, QMessageBox::NoIcon);
    QVERIFY(reset->defaultButton.startsWith(QStringLiteral("是")));
    QVERIFY(reset->openAfterEscape);
    QCOMPARE(s.Text(1080), QString::number(kBankRows - 2));  // No keeps the marks

    reset.reset();
    AnswerNextBox(reset, true);
    s.Click(1084);
    QVERIFY(reset);
    QCOMPARE(s.Text(1080), QStringLiteral("0"));

    // Retry before a submission clears the answer; after one it is refused with a box.
    s.Click(1035);
    QTest::keyClicks(s.Item(1035), QStringLiteral("x"));
    s.Click(1069);
    QCOMPARE(s.Item<QLineEdit>(1035)->text(), QString());
    s.Click(1068);
    std::optional<BoxSeen> refused;
    AnswerNextBox(refused, false);
    s.Click(1069);
    QVERIFY(refused);
    QCOMPARE(refused->text, QStringLiteral("已提交不能重新作答！"));
    QCOMPARE(refused->caption, QStringLiteral("温馨提示"));
    QVERIFY(refused->openAfterEscape);
}

void QtDialogTest::marksShowTheDialogThroughTheirMask_data() {
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("mark");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("tick, 24-bit") << true << 1074 << QColor(0, 255, 0);
    QTest::newRow("cross, 16 colours") << false << 1075 << QColor(255, 0, 0);
}

void QtDialogTest::marksShowTheDialogThroughTheirMask() {
    QFETCH(bool, right);
    QFETCH(int, mark);
    QFETCH(QColor, colour);
    Session s;
    QVERIFY(s.Start());
    s.Click(1035);
    QTest::keyClicks(s.Item(1035), right ? Answer(s.dialog.CurrentRow()) : QStringLiteral("zzz"));
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(mark)->isVisible());

    const QImage grab = s.host.Window()->grab().toImage();
    const qreal ratio = grab.devicePixelRatio();
    const auto at = [&](QPoint point) { return grab.pixelColor((QPointF(point) * ratio).toPoint()); };
    const QRect box = s.Item(mark)->geometry();
    // The frame's background beside the mark is what its transparent pixels show.
    const QColor background = at(QPoint(box.left() - 4, box.center().y()));
    for (QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        QCOMPARE(at(corner), background);
    }
    int marked = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) marked += at(QPoint(x, y)) == colour;
    }
    QVERIFY2(marked > box.width() * box.height() / 8, qPrintable(QString::number(marked)));
}

void QtDialogTest::iconFilesReadWithTheirMask() {
    const QByteArray tick = ReadResource(QStringLiteral(":/images/tick.ico"));
    const QByteArray cross = ReadResource(QStringLiteral(":/images/cross.ico"));
    const QImage image = ReadIconImage(tick, QSize(48, 48));
    QCOMPARE(image.size(), QSize(48, 48));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(image.pixelColor(24, 30), QColor(0, 255, 0));

    // Of several images, the smallest that is large enough, else the largest.
    const QByteArray both = TwoImageIcon(cross, tick);
    for (auto [wanted, side] : {std::pair{16, 32}, {32, 32}, {33, 48}, {64, 48}}) {
        const QImage chosen = ReadIconImage(both, QSize(wanted, wanted));
        QCOMPARE(chosen.width(), side);
        QCOMPARE(chosen.pixelColor(side / 2, side / 2 + 4), side == 32 ? QColor(255, 0, 0) : QColor(0, 255, 0));
    }

    // A damaged file is no icon, and nothing is read beyond its end.
    const auto with = [&tick](int at, quint32 value) {
        QByteArray bytes = tick;
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    const QByteArray damaged[] = {
        {},
        tick.left(5),
        tick.left(21),
        tick.left(61),
        tick.left(tick.size() - 1),
        with(18, 0x7FFFFFFF),    // the image's offset, beyond the end
        with(22 + 8, 2 * 200),   // a bitmap taller than its data
        with(22 + 14, 3 << 16),  // 3 bits a pixel
    };
    for (const QByteArray& bytes : damaged) QVERIFY(ReadIconImage(bytes, QSize(48, 48)).isNull());
}

void QtDialogTest::bitmapFilesReadAsQtReadsThem() {
    for (const Poster& poster : kPosterOrder) {
        const QString name = QStringLiteral(":/images/poster_%1.bmp").arg(poster.bitmap);
        QCOMPARE(ReadRgbBitmapFile(ReadResource(name)), QImage(name));
    }
    // Rows stored top-down, as a negative height says, are the same picture.
    const QByteArray file = ReadResource(QStringLiteral(":/images/poster_139.bmp"));
    const QImage picture(QStringLiteral(":/images/poster_139.bmp"));
    const qsizetype stride = (picture.width() * 3 + 3) / 4 * 4;
    QByteArray topDown = file.left(54);
    qToLittleEndian(static_cast<qint32>(-picture.height()), topDown.data() + 22);
    for (int y = picture.height() - 1; y >= 0; --y) topDown += file.mid(54 + y * stride, stride);
    QCOMPARE(ReadRgbBitmapFile(topDown), picture);
    // Another kind of bitmap is left to Qt, and a damaged one is none.
    const auto with = [&file](int at, quint16 value) {
        QByteArray bytes = file;
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    for (const QByteArray& bytes :
         {with(28, 8), with(30, 1), with(0, 0x4D43), file.left(file.size() - 1), file.left(53)}) {
        QVERIFY(ReadRgbBitmapFile(bytes).isNull());
    }
}

void QtDialogTest::qtTextsInTheUsersLanguage_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("texts");  // undo, copy, paste
    QTest::newRow("zh_CN") << QLocale(QLocale::Chinese, QLocale::China)
                           << QStringList{"撤消(&U)", "复制(&C)", "粘贴(&P)"};
    QTest::newRow("zh_TW") << QLocale(QLocale::Chinese, QLocale::Taiwan)
                           << QStringList{"復原(&U)", "複製(&C)", "貼上(&P)"};
    QTest::newRow("C") << QLocale::c() << QStringList{"&Undo", "&Copy", "&Paste"};
}

void QtDialogTest::qtTextsInTheUsersLanguage() {
    QFETCH(QLocale, locale);
    QFETCH(QStringList, texts);
    const std::unique_ptr<QTranslator> translation = InstallQtTranslations(locale);
    QCOMPARE(translation != nullptr, locale != QLocale::c());
    Session s;
    QVERIFY(s.Start());
    // The answer box's context menu, without the shortcuts.
    const std::unique_ptr<QMenu> menu(s.Item<QLineEdit>(1035)->createStandardContextMenu());
    QStringList shown;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) shown << action->text().section(QLatin1Char('\t'), 0, 0);
    }
    for (const QString& text : texts) QVERIFY2(shown.contains(text), qPrintable(shown.join(QLatin1String(", "))));
}

void QtDialogTest::screenReaderNamesFollowTheDrill() {
    Session s(ProgressAllMasteredBut(3, {3}));  // row 3 asks for "ruler"
    QVERIFY(s.Start());
    ScreenReaderEvents events(s.host);
    const auto accessible = [&s](int id) { return QAccessible::queryAccessibleInterface(s.Item(id)); };
    const auto name = [&](int id) { return accessible(id)->text(QAccessible::Name); };
    const std::pair<int, QString> names[] = {
        {1035, "答案"},       {1102, "筛选"},
        {1074, "答对了"},     {1075, "答错了"},
        {1073, "结果"},       {1079, "总计 1754"},
        {1080, "掌握 1753"},  {1086, "布告栏海报"},
        {1101, "布告栏海报"}, {1002, ToQString(kWordRows[3].prompt)},  // the texts that say enough keep them
        {1070, "下一题"},
    };
    for (const auto& [id, said] : names) QVERIFY2(name(id) == said, qPrintable(QString::number(id) + ": " + name(id)));
    QCOMPARE(accessible(1035)->text(QAccessible::Description), QStringLiteral("输入英文答案，按回车键提交"));
    QCOMPARE(accessible(1079)->text(QAccessible::Description), QStringLiteral("所选类别的题目总数"));
    // A counter and the filter are labelled by their captions.
    for (auto [control, label] : {std::pair{1079, 1081}, {1080, 1082}, {1102, 1103}}) {
        const auto labels = accessible(control)->relations(QAccessible::Label);
        QVERIFY2(labels.size() == 1 && labels.front().first->object() == s.Item(label),
                 qPrintable(QString::number(control)));
    }

    // Where a screen reader listens, a wrong answer has the result line and the cross announced.
    if (qEnvironmentVariableIsSet("ZEMBRA_SCREEN_READER")) QTRY_VERIFY(QAccessible::isActive());
    const bool heard = QAccessible::isActive();
    const auto alerts = [&](std::vector<int> ids) { return heard ? ids : std::vector<int>{}; };
    s.Click(1035);
    QTest::keyClicks(s.Item(1035), QStringLiteral("rule"));
    s.Press(Qt::Key_Return);
    QCOMPARE(name(1073), QStringLiteral("结果 答错了。你写的是 rule，正确的是 ruler"));
    QCOMPARE(events.TakeAlerts(), alerts({1073, 1075}));
    QCOMPARE(events.TakeNameChanges(), alerts({1073}));
    // The next row empties the result line: its name changes, but there is nothing to announce.
    s.Press(Qt::Key_Return);
    QCOMPARE(name(1073), QStringLiteral("结果"));
    QCOMPARE(events.TakeAlerts(), std::vector<int>{});
    QCOMPARE(events.TakeNameChanges(), alerts({1073}));
    // A right answer: the tick is announced, the mastered count renamed.
    QTest::keyClicks(s.Item(1035), Answer(3));
    s.Press(Qt::Key_Return);
    QCOMPARE(events.TakeAlerts(), alerts({1074}));
    QCOMPARE(events.TakeNameChanges(), alerts({1080}));
    QCOMPARE(name(1080), QStringLiteral("掌握 1754"));
}

void QtDialogTest::screenReaderReadsInScreenOrder() {
    Session s;
    QVERIFY(s.Start());
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(s.host.Window());
    QCOMPARE(window->role(), QAccessible::Dialog);
    std::vector<int> shown;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        QVERIFY(child);
        QCOMPARE(window->indexOfChild(child), i);
        QCOMPARE(child->parent(), window);
        if (!child->state().invisible) shown.push_back(s.host.ControlIdOf(qobject_cast<QWidget*>(child->object())));
    }
    // The drill in its frame, top to bottom, the bottom row left to right; then the notice board:
    // 导入词表, its caption and 删除词表 on one row, the counters read with their labels, the reset
    // button, and the poster. The frames without an id are -1.
    QCOMPARE(shown, (std::vector<int>{-1, 1067, 1001, 1002, 1035, 1073, 1085, 1102, 1104, 1069, 1068, 1070,  //
                                      -1, 1105, 1078, 1106, 1079, 1080, 1084, -1,   1086}));
}

void QtDialogTest::longestAnswerTypedInFull_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("1495, the widest answer") << 1495;
}

void QtDialogTest::longestAnswerTypedInFull() {
    QFETCH(int, row);
    Session s(ProgressAllMasteredBut(2, {row}));
    QVERIFY(s.Start());
    QCOMPARE(s.dialog.CurrentRow(), row);
    const QString answer = Answer(row);
    QVERIFY(s.Item(1035)->fontMetrics().horizontalAdvance(answer) > s.Item(1035)->width());
    s.Click(1035);
    Type(s.host.Window()->windowHandle(), answer);
    QCOMPARE(s.Item<QLineEdit>(1035)->text(), answer);
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(1074)->isVisible());
    QCOMPARE(s.dialog.Mark(row), FirstMastery());
    QCOMPARE(s.Text(1080), QString::number(kBankRows));
}

// Text as the widgets give it, full-width forms and ideographic spaces included: a further answer
// and the slips an input method makes are right; case and inner spaces are not forgiven, and a
// miss shows the closest right answer beside what was typed.
void QtDialogTest::typedAnswerJudged_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("shown");
    QTest::newRow("further answer") << 1533 << QStringLiteral("at the most") << true << QString();
    QTest::newRow("full-width letters") << 0 << QStringLiteral("ｐｅｎ") << true << QString();
    QTest::newRow("curly apostrophe") << 945 << QStringLiteral("It’s") << true << QString();
    QTest::newRow("outer spaces") << 0 << QStringLiteral("  pen\u3000") << true << QString();
    QTest::newRow("capital") << 0 << QStringLiteral("Pen") << false << QStringLiteral("pen");
    QTest::newRow("inner space missing") << 8 << QStringLiteral("Chinesebook") << false
                                         << QStringLiteral("Chinese book");
    QTest::newRow("brackets of a further answer")
        << 1445 << QStringLiteral("a bit (of)") << false << QStringLiteral("a bit of");
}

void QtDialogTest::typedAnswerJudged() {
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(bool, right);
    QFETCH(QString, shown);
    Session s(ProgressAllMasteredBut(2, {row}));
    QVERIFY(s.Start());
    QCOMPARE(s.dialog.CurrentRow(), row);
    s.Click(1035);
    Type(s.host.Window()->windowHandle(), typed);
    QCOMPARE(s.Item<QLineEdit>(1035)->text(), typed);
    s.Press(Qt::Key_Return);
    QCOMPARE(s.Item(1074)->isVisible(), right);
    QCOMPARE(s.Item(1075)->isVisible(), !right);
    QCOMPARE(s.dialog.Mark(row), right ? FirstMastery() : std::string("0"));
    QCOMPARE(s.Text(1073),
             right ? QString() : QStringLiteral("答错了。你写的是 ") + typed + QStringLiteral("，正确的是 ") + shown);
}

// The backend knows nothing of the main dialog: a small template of another program, with its own
// combo list, picture, icon and faces, is built and run by the same rules.
void QtDialogTest::anyTemplateWithWhatTheProgramHandsIn() {
    QtDialog host(SmallDialogResources());
    CommandRecorder dialog(host);
    host.Create(dialog);
    host.Show();
    QVERIFY(QTest::qWaitForWindowActive(host.Window()));

    QCOMPARE(host.Window()->windowTitle(), QStringLiteral("Small"));
    QVERIFY(!host.Window()->windowIcon().isNull());
    auto* combo = qobject_cast<QComboBox*>(host.Item(10));
    QVERIFY(combo);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QStringLiteral("二"));
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(host.Item(11)->size(), QSize(30, 20));  // the size handed in, not the file's
    QCOMPARE(host.ControlIdOf(QApplication::focusWidget()), 7);

    // Enter in the edit presses the template's default button; a choice in the list reaches the
    // dialog as the combo box's selection change.
    QTest::keyClick(host.Window()->windowHandle(), Qt::Key_Return);
    combo->setCurrentIndex(1);
    using Command = std::pair<int, Notification>;
    QCOMPARE(dialog.commands, (std::vector<Command>{{8, Notification::Clicked}, {10, Notification::SelectionChanged}}));
    QTest::keyClick(host.Window()->windowHandle(), Qt::Key_Escape);
    QCOMPARE(host.EndCode(), std::optional<int>(kIdCancel));
}

// What the dialog does to a combo box's list is no choice of the pupil's: added, selected and
// removed items send it nothing, while the field shows what is selected; a selected item removed
// leaves nothing selected. The pupil's choice is still heard afterwards.
void QtDialogTest::comboListChangedWithoutTellingTheDialog() {
    QtDialog host(SmallDialogResources());
    CommandRecorder dialog(host);
    host.Create(dialog);
    auto* combo = qobject_cast<QComboBox*>(host.Item(10));
    host.AddComboItem(10, Utf8ToGbk("三"));
    host.SelectComboItem(10, 2);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->lineEdit()->text(), QStringLiteral("三"));
    QCOMPARE(host.GetComboSelectionText(10), std::optional<std::string>(Utf8ToGbk("三")));
    host.RemoveComboItem(10, 0);
    QCOMPARE(host.GetComboSelectionText(10), std::optional<std::string>(Utf8ToGbk("三")));
    host.RemoveComboItem(10, 1);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->lineEdit()->text(), QString());
    QCOMPARE(host.GetComboSelectionText(10), std::nullopt);
    QVERIFY(dialog.commands.empty());
    combo->setCurrentIndex(0);
    QCOMPARE(dialog.commands, (std::vector<std::pair<int, Notification>>{{10, Notification::SelectionChanged}}));
}

// The OK box: the text as it is, the caption, the information icon and one 确定 button, owned by
// the dialog. The file dialog: its title and one filter; the file chosen in it is returned, a
// cancel returns nothing.
void QtDialogTest::okBoxAndFileToOpen() {
    QtDialog host(SmallDialogResources());
    CommandRecorder dialog(host);
    host.Create(dialog);
    host.Show();
    QVERIFY(QTest::qWaitForWindowActive(host.Window()));
    // What the boxes showed is compared once they are closed, so that a fault never leaves one open.
    QStringList seen;
    OnNextBox<QMessageBox>([&](QMessageBox* box) {
        seen << box->text() << box->windowTitle() << QString::number(box->textFormat() == Qt::PlainText)
             << QString::number(box->icon() == QMessageBox::Information)
             << QString::number(box->parentWidget() == host.Window());
        for (QAbstractButton* button : box->buttons()) seen << button->text();
        box->buttons().front()->click();
    });
    host.Tell(Utf8ToGbk("导入了 7 个词。\n有 1 行没有导入："), Utf8ToGbk("导入词表"));
    QCOMPARE(seen, (QStringList{"导入了 7 个词。\n有 1 行没有导入：", "导入词表", "1", "1", "1", "确定"}));

    const std::filesystem::path folder = ZEMBRA_LIST_FILES;
    const std::string_view patterns[] = {"*.txt", "*.csv", "*.tsv"};
    const auto ask = [&] { return host.AskFileToOpen(Utf8ToGbk("导入词表"), Utf8ToGbk("词表文件"), patterns); };
    seen.clear();
    OnNextBox<QFileDialog>([&](QFileDialog* files) {
        seen << files->windowTitle() << files->nameFilters()
             << QString::number(files->fileMode() == QFileDialog::ExistingFile)
             << QString::number(files->parentWidget() == host.Window());
        ChooseFile(files, folder / "Unit 2 spreadsheet.csv");
    });
    QCOMPARE(ask(), std::optional(folder / "Unit 2 spreadsheet.csv"));
    QCOMPARE(seen, (QStringList{"导入词表", "词表文件 (*.txt *.csv *.tsv)", "1", "1"}));
    OnNextBox<QFileDialog>([](QFileDialog* files) { files->reject(); });
    QCOMPARE(ask(), std::nullopt);
}

// A control that starts hidden has no widget until it is first shown; what it was given meanwhile
// is what it shows then, and it takes its template place: above the frame, beneath the edit before
// it, and between that edit and the OK button in the focus chain.
void QtDialogTest::hiddenControlMadeWhenFirstShown() {
    QtDialog host(SmallDialogResources());
    CommandRecorder dialog(host);
    host.Create(dialog);
    host.Show();
    QVERIFY(QTest::qWaitForWindowActive(host.Window()));
    const auto edits = [&host] { return host.Window()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly).size(); };
    QCOMPARE(edits(), 1);

    host.SetItemText(12, "\xD2\xBB");
    host.SetItemText(13, "abc");
    host.EnableItem(13, false);
    host.SetItemFont(13, host.CreatePointFont(200, "Sans"));
    QCOMPARE(host.GetItemText(13), std::string("abc"));
    QCOMPARE(host.GetItemText(12), std::string("\xD2\xBB"));
    QVERIFY(!host.IsItemEnabled(13) && !host.IsItemVisible(13));
    QCOMPARE(edits(), 1);

    host.ShowItem(13, true);
    QCOMPARE(edits(), 2);
    auto* edit = qobject_cast<QLineEdit*>(host.Item(13));
    QVERIFY(edit && edit->isVisible() && !edit->isEnabled() && host.IsItemVisible(13));
    QCOMPARE(edit->text(), QStringLiteral("abc"));
    QCOMPARE(edit->font().pixelSize(), 26);               // 20 points at 96 dpi
    const QObjectList stack = host.Window()->children();  // from the bottom up
    QVERIFY(stack.indexOf(host.Item(14)) < stack.indexOf(edit));
    QVERIFY(stack.indexOf(host.Item(8)) < stack.indexOf(edit) && stack.indexOf(edit) < stack.indexOf(host.Item(7)));
    QCOMPARE(host.Item(7)->nextInFocusChain(), edit);
    QCOMPARE(edit->nextInFocusChain(), host.Item(8));
    // Enabled, it is the tab stop after the first edit.
    host.EnableItem(13, true);
    QTest::keyClick(host.Window()->windowHandle(), Qt::Key_Tab);
    QCOMPARE(host.ControlIdOf(QApplication::focusWidget()), 13);
    QCOMPARE(qobject_cast<QLabel*>(host.Item(12))->text(), QStringLiteral("一"));
}

void QtDialogTest::listenButtonSaysTheCheckedAnswer() {
    Session s;
    QVERIFY(s.Start());
    auto* listen = s.Item<QPushButton>(1085);
    QCOMPARE(listen->text(), QStringLiteral("听一听(&L)"));
    QVERIFY(listen->isVisible() && !listen->isEnabled());
    QVERIFY(!listen->isDefault() && !listen->autoDefault());
    QCOMPARE(listen->focusPolicy(), Qt::ClickFocus);
    s.Press(Qt::Key_Return);  // the next button: a row is asked
    s.Press(Qt::Key_L, Qt::AltModifier);
    QVERIFY(s.recording.Spoken().empty());  // disabled while asked: it would give the answer away

    const int row = s.dialog.CurrentRow();
    const std::string reading = ReadAloud(std::string(kWordRows[row].answer));
    QTest::keyClicks(s.Item(1035), QStringLiteral("zzz"));
    s.Press(Qt::Key_Return);
    QVERIFY(listen->isEnabled());
    QCOMPARE(s.recording.Spoken(), std::vector<std::string>{reading});
    // Its access key says it again; Tab still walks 提交 and 下一题 only.
    s.Press(Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(s.recording.Spoken().size(), std::size_t{2});
    QCOMPARE(s.recording.Spoken().back(), reading);
    for (int i = 0; i < 3; ++i) {
        s.Press(Qt::Key_Tab);
        QVERIFY(s.Focus() == 1068 || s.Focus() == 1070);
    }
    // A click gives it the focus, yet Enter still asks the next row, in silence.
    s.Click(1085);
    QCOMPARE(s.recording.Spoken().size(), std::size_t{3});
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(1068)->isEnabled());
    QVERIFY(!listen->isEnabled());
    QVERIFY(s.recording.Silent());
    QCOMPARE(s.recording.Spoken().size(), std::size_t{3});
    QCOMPARE(s.Focus(), 1035);
    QCOMPARE(listen->toolTip(), QString());
    QVERIFY(s.output.find(Utf8ToGbk("本机没有英语语音")) == std::string::npos);
}

void QtDialogTest::withoutASpeechServiceTheButtonExplains() {
    Session s(std::nullopt, QStringLiteral("zembra-no-such-engine"));
    QVERIFY(s.Start());
    auto* listen = s.Item<QPushButton>(1085);
    QTRY_COMPARE(listen->toolTip(), QStringLiteral("本机没有英语语音"));
    // 听写 needs the voice too.
    auto* dictation = s.Item<QCheckBox>(1104);
    QVERIFY(dictation->isVisible() && !dictation->isEnabled());
    QCOMPARE(dictation->toolTip(), QStringLiteral("本机没有英语语音"));
    const std::string line = Utf8ToGbk("本机没有英语语音：");
    QCOMPARE(s.output.find(line) != std::string::npos, true);
    QCOMPARE(s.output.find(line), s.output.rfind(line));
    s.Press(Qt::Key_Return);
    const int row = s.dialog.CurrentRow();
    QTest::keyClicks(s.Item(1035), Answer(row));
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(1074)->isVisible());
    QCOMPARE(s.dialog.Mark(row), FirstMastery());
    QVERIFY(listen->isVisible() && !listen->isEnabled());
    s.Press(Qt::Key_Return);
    QVERIFY(s.Item(1068)->isEnabled());
}

void QtDialogTest::missDrawnWithItsSlipsMarked() {
    Session s(ProgressAllMasteredBut(3, {3}));  // "ruler"
    QVERIFY(s.Start());
    s.Press(Qt::Key_Return);
    QTest::keyClicks(s.Item(1035), QStringLiteral("rulre"));
    s.Press(Qt::Key_Return);
    QWidget* line = s.Item(1073);
    QCOMPARE(s.Text(1073), QStringLiteral("答错了。你写的是 rulre，正确的是 ruler"));
    QCOMPARE(QAccessible::queryAccessibleInterface(line)->text(QAccessible::Name),
             QStringLiteral("结果 答错了。你写的是 rulre，正确的是 ruler"));
    // Drawn as marked runs, not as the sentence: the swap underlined in orange in the typed text
    // and in blue in the answer, the rest of the answer red, all within the line's place.
    const auto [orange, orangeLine] = PixelsNear(line, QColor(213, 94, 0));
    const auto [blue, blueLine] = PixelsNear(line, QColor(0, 90, 181));
    const auto [red, redLine] = PixelsNear(line, QColor(255, 0, 0));
    QVERIFY2(orange > 20 && blue > 20 && red > 20,
             qPrintable(QStringLiteral("%1 %2 %3").arg(orange).arg(blue).arg(red)));
    const int letter = QFontMetrics(line->font()).horizontalAdvance(QLatin1Char('r'));
    QVERIFY2(orangeLine > letter && blueLine > letter,
             qPrintable(QStringLiteral("%1 %2").arg(orangeLine).arg(blueLine)));
    Q_UNUSED(redLine);
    // The next row: the line is empty and plain again.
    s.Press(Qt::Key_Return);
    QCOMPARE(s.Text(1073), QString());
    QCOMPARE(PixelsNear(line, QColor(0, 90, 181)).first, 0);
}

void QtDialogTest::dictationSaysTheRowAndKeepsThePromptBack() {
    Session s(ProgressAllMasteredBut(3, {3, 4}));
    QVERIFY(s.Start());
    auto* box = s.Item<QCheckBox>(1104);
    QCOMPARE(box->text(), QStringLiteral("听写(&D)"));
    QVERIFY(box->isVisible() && box->isEnabled() && !box->isChecked());
    QCOMPARE(box->focusPolicy(), Qt::ClickFocus);
    s.Press(Qt::Key_Return);
    const int first = s.dialog.CurrentRow();
    s.recording.Clear();
    // Its access key turns it on: the row is said at once and its prompt kept back.
    s.Press(Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(box->isChecked());
    QTRY_COMPARE(s.recording.Spoken(), std::vector<std::string>{ReadAloud(std::string(kWordRows[first].answer))});
    QCOMPARE(s.Text(1002), QStringLiteral("请听读音，写出英语"));
    QCOMPARE(s.Focus(), 1035);
    QVERIFY(s.Item(1085)->isEnabled());
    QTest::keyClicks(s.Item(1035), QStringLiteral("zzz"));
    s.Press(Qt::Key_Return);
    QCOMPARE(s.Text(1002), ToQString(kWordRows[first].prompt));
    // The next row is said as it is shown, before anything is typed.
    s.Press(Qt::Key_Return);
    const int second = s.dialog.CurrentRow();
    QCOMPARE(s.recording.Spoken().back(), ReadAloud(std::string(kWordRows[second].answer)));
    QCOMPARE(s.Text(1002), QStringLiteral("请听读音，写出英语"));
    for (int i = 0; i < 3; ++i) {
        s.Press(Qt::Key_Tab);
        QVERIFY(s.Focus() == 1068 || s.Focus() == 1070);
    }
    // Off: the prompt at once, nothing counted.
    const QString mastered = s.Text(1080);
    s.Click(1104);
    QVERIFY(!box->isChecked());
    QCOMPARE(s.Text(1002), ToQString(kWordRows[second].prompt));
    QCOMPARE(s.Text(1080), mastered);
}

// A parent imports a list through 导入词表 and the file dialog: it is told what was taken, the list
// is chosen and drilled at once, and the close box keeps its mark. The next run shows it after the
// built-in entries with the mark; 删除词表, answered Yes, takes it away and 全选 is chosen.
void QtDialogTest::listImportedDrilledKeptAndRemoved() {
    const QTemporaryDir shared;
    const Session::In folders{shared.path().toStdString()};
    const std::map<QString, QString> words{{"钢笔", "pen"},    {"铅笔", "pencil"},      {"尺子", "ruler"},
                                           {"橡皮", "eraser"}, {"蜡笔", "crayon"},      {"书包", "bag"},
                                           {"书", "book"},     {"铅笔盒", "pencil box"}};
    const QString name = QStringLiteral("Unit 1 Notepad");
    {
        Session s(folders);
        QVERIFY(s.Start());
        QVERIFY(s.Item(1105)->isEnabled() && !s.Item(1106)->isEnabled());
        QString report;
        OnNextBox<QFileDialog>([&report](QFileDialog* files) {
            OnNextBox<QMessageBox>([&report](QMessageBox* box) {
                report = box->text();
                box->buttons().front()->click();
            });
            ChooseFile(files, std::filesystem::path(ZEMBRA_LIST_FILES) / "Unit 1 Notepad.txt");
        });
        s.Click(1105);
        QCOMPARE(report, QStringLiteral("导入了 8 个词。"));
        auto* combo = s.Item<QComboBox>(1102);
        QCOMPARE(combo->count(), 16);
        QCOMPARE(combo->currentIndex(), 15);
        QCOMPARE(combo->currentText(), name);
        QCOMPARE(s.Text(1079), QStringLiteral("8"));
        QVERIFY(s.Item(1106)->isEnabled());

        const QString prompt = s.Text(1002);
        QVERIFY2(words.count(prompt), qPrintable(prompt));
        QCOMPARE(s.Text(1001), name);
        QTest::keyClicks(s.Item(1035), words.at(prompt));
        s.Press(Qt::Key_Return);
        QVERIFY(s.Item(1074)->isVisible());
        QCOMPARE(s.Text(1080), QStringLiteral("1"));
        s.host.Window()->close();
        QCOMPARE(std::filesystem::status(s.lists).permissions(), std::filesystem::perms::owner_all);
    }

    Session again(folders);
    QVERIFY(again.Start());
    auto* combo = again.Item<QComboBox>(1102);
    QCOMPARE(combo->count(), 16);
    QCOMPARE(combo->itemText(15), name);
    ChooseFromList(combo, 15);
    QCOMPARE(again.Text(1079), QStringLiteral("8"));
    QCOMPARE(again.Text(1080), QStringLiteral("1"));

    std::optional<BoxSeen> asked;
    AnswerNextBox(asked, true);
    again.Click(1106);
    QVERIFY(asked);
    QCOMPARE(asked->text, QStringLiteral("要删除词表“Unit 1 Notepad”吗？它的练习记录也会一起删除。"));
    QCOMPARE(combo->count(), 15);
    QCOMPARE(combo->currentText(), QStringLiteral("全选"));
    QCOMPARE(again.Text(1079), QString::number(kBankRows));
    QVERIFY(!again.Item(1106)->isEnabled());
    QVERIFY(std::filesystem::is_empty(again.lists));
}

int main(int argc, char** argv) {
    // Runs without a display unless the caller chose a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", ZEMBRA_OFFSCREEN_PLATFORM);
    QApplication application(argc, argv);
    // A screen reader's bus, where there is one, is found while the first tests run.
    QAccessible::isActive();
    QtDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "qt_dialog_test.moc"
