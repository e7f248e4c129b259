// The time from an Enter key's arrival to the end of the painting that shows its result, in the
// real Qt dialog with the program's resources: 200 presses alternating submit (every other one
// with the right answer typed) and next, after a few unmeasured ones.
//
// The key arrives when the dialog's window receives it (this probe's filter sees it first). The
// painting has ended when the event loop is next about to wait with nothing to do after the press
// has painted: Qt paints the widgets a change has touched once the events before are handled, and
// the window system has the pixels when that painting returns. A press whose painting comes in
// several rounds ends with the last. The steps run from a timer: a press, then 30 ms for its
// painting, then the release.
//
//   enter_latency_probe [--pictures DIR]
//
// With --pictures, the rows come in a fixed order and, once each press is drawn, the window is
// grabbed: a checksum of it per press is printed and the first pictures are written to DIR, so
// that two builds can be compared for what the pupil sees. Otherwise the probe prints the median
// and 99th percentile, in milliseconds, for all presses, the submits and the nexts, and the median
// number of paint events a press caused.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/qt/main_dialog_resources.h"
#include "bench/press_times.h"
#include "drill/practice_dialog.h"
#include "framework/qt/qt_dialog.h"
#include "ui/control_ids.h"

namespace {

using zembra::bench::kMeasuredPresses;
using zembra::bench::kWarmUpPresses;
constexpr int kStepMilliseconds = 15;

using zembra::bench::Press;

class Probe : public QObject {
public:
    Probe(zembra::QtDialog& host, QString pictures) : m_host(host), m_pictures(std::move(pictures)) {
        m_clock.start();
        m_presses.reserve(kWarmUpPresses + kMeasuredPresses);
        // Installed after the dialog's own filter, so called before it.
        qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { AboutToWait(); });
        connect(&m_steps, &QTimer::timeout, this, [this] { Step(); });
        m_steps.start(kStepMilliseconds);
    }

    int Report() const { return zembra::bench::ReportPresses(m_presses, true); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && m_expecting && watched == m_host.Window()->windowHandle()) {
            m_expecting = false;
            m_presses.back().arrived = Now();
            m_open = &m_presses.back();
            m_paintsDrawn = 0;
        } else if (event->type() == QEvent::Paint && m_open != nullptr) {
            ++m_open->paints;
        }
        return false;
    }

private:
    double Now() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }

    // Each time the loop has nothing left to do after the press has painted more, it may be the
    // end of its painting; the last such time before the next press is.
    void AboutToWait() {
        if (m_open == nullptr || m_open->paints == m_paintsDrawn) return;
        m_open->drawn = Now();
        m_paintsDrawn = m_open->paints;
    }

    // One step per timer tick: type (before a submit with the right answer), Enter down, a tick
    // for its painting, Enter up.
    void Step() {
        QWindow* window = m_host.Window()->windowHandle();
        const int total = kWarmUpPresses + kMeasuredPresses;
        switch (m_phase) {
            case 0: {
                if (static_cast<int>(m_presses.size()) == total) {
                    m_steps.stop();
                    m_host.EndDialog(zembra::kIdCancel);  // ends without saving
                    QCoreApplication::quit();
                    return;
                }
                // The first press is on 下一题, which has the focus at the start; then submit and
                // next take turns, as the enabled state of 提交 says.
                const bool submit = !m_presses.empty() && m_host.IsItemEnabled(zembra::ids::kSubmit);
                if (submit && ++m_submits % 2 == 0) {
                    m_host.SetItemText(zembra::ids::kAnswerBox, m_host.GetItemText(zembra::ids::kAnswerHolder));
                }
                m_presses.push_back({submit});
                m_phase = 1;
                return;
            }
            case 1:
                m_expecting = true;
                QCoreApplication::postEvent(window,
                                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r"));
                m_phase = 2;
                return;
            case 2:
                m_phase = 3;
                return;
            default:
                // The press is over; what the release paints is not its painting.
                if (!m_pictures.isEmpty()) TakePicture();
                m_open = nullptr;
                QCoreApplication::postEvent(window,
                                            new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r"));
                m_phase = 0;
                return;
        }
    }

    void TakePicture() const {
        const QImage image = m_host.Window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        std::uint64_t sum = 14695981039346656037u;  // FNV-1a
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) sum = (sum ^ (row[x] & 0xFFFFFF)) * 1099511628211u;
        }
        const std::size_t press = m_presses.size();
        std::printf("press %3zu %-6s %016llx\n", press, m_presses.back().submit ? "submit" : "next",
                    static_cast<unsigned long long>(sum));
        if (press <= kWarmUpPresses + 4) image.save(QDir(m_pictures).filePath(QString("press-%1.png").arg(press)));
    }

    zembra::QtDialog& m_host;
    QString m_pictures;
    QElapsedTimer m_clock;
    QTimer m_steps;
    std::vector<Press> m_presses;
    Press* m_open = nullptr;
    int m_paintsDrawn = 0;
    bool m_expecting = false;
    int m_phase = 0;
    int m_submits = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // A steady text cursor: a blinking one repaints the answer box by itself now and then, which
    // is no press's painting.
    QApplication::setCursorFlashTime(0);
    const QStringList arguments = QCoreApplication::arguments();
    const QString pictures = arguments.size() == 3 && arguments[1] == "--pictures" ? arguments[2] : QString();
    if (!pictures.isEmpty()) QDir().mkpath(pictures);

    // A progress file of the probe's own, with every third row mastered; nothing is saved.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zembra-enter-latency";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "ZbXxYy.zb";
    {
        std::ofstream out(file, std::ios::binary);
        out << "3\r\n";
        for (int row = 0; row < 1754; ++row) out << (row % 3 == 0 ? "1\r\n" : "\r\n");
    }

    // The rows drawn by the clock, or in a fixed order for the pictures.
    std::int64_t second = 1'700'000'000;
    std::function<std::int64_t()> clock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    if (!pictures.isEmpty()) clock = [&second] { return second++; };
    zembra::QtDialog host(zembra::MainDialogResources());
    zembra::PracticeDialog dialog(host, zembra::DrillEnvironment{file, clock, [](std::string_view) {}});
    host.Create(dialog);
    host.Show();
    Probe probe(host, pictures);
    QApplication::exec();
    std::filesystem::remove_all(folder);
    return probe.Report();
}
