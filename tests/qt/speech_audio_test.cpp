// The Linux program's speech as a pupil hears it: the real Qt dialog and its speech over
// speech-dispatcher, with what reaches the sound system recorded from the null sink's monitor
// (run by with_audio_stack.sh). Silence before a submission; the answer within a second after
// it; silence again at once when Enter moves on while a long answer is still being read; and
// 听一听 says it again.
//
//   speech_audio_test            the checks; exits 0 when all hold
//   speech_audio_test --bench N  the time from each of N submissions to the first sound, and
//                                their median (a benchmark, not a check)
//   speech_audio_test --close-at-once  closing while the engine connects takes no time to speak of
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "app/qt/main_dialog_resources.h"
#include "data/word_bank.h"
#include "drill/practice_dialog.h"
#include "drill/read_aloud.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_speech.h"
#include "ui/control_ids.h"

using namespace zembra;

namespace {

constexpr int kRate = 16000;     // the null sink's rate, mono
constexpr qint64 kBlockMs = 10;  // the recording is judged in blocks of 10 ms
constexpr int kSilentPeak = 64;  // a null sink's silence is zeros; anything this quiet is silence

// The null sink's monitor, recorded as it plays: the loudest sample of each 10 ms block, with the
// time each block was heard on the test's clock.
class Recorder {
public:
    explicit Recorder(const QElapsedTimer& clock) : m_clock(clock) {
        QObject::connect(&m_parec, &QProcess::readyReadStandardOutput, [this] { Read(); });
        m_parec.start(QStringLiteral("parec"), {QStringLiteral("--device=zembra_test.monitor"), QStringLiteral("--raw"),
                                                QStringLiteral("--format=s16le"), QStringLiteral("--rate=16000"),
                                                QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10")});
    }
    ~Recorder() {
        m_parec.kill();
        m_parec.waitForFinished(1000);
    }
    bool Running() { return m_parec.waitForStarted(3000); }

    // The loudest block between two times.
    int Peak(qint64 from, qint64 to) const {
        int peak = 0;
        for (const Block& block : m_blocks) {
            if (block.at >= from && block.at < to) peak = std::max(peak, block.peak);
        }
        return peak;
    }
    // The first block louder than `level` at or after `from`.
    std::optional<qint64> FirstLoud(qint64 from, int level) const {
        for (const Block& block : m_blocks) {
            if (block.at >= from && block.peak > level) return block.at;
        }
        return std::nullopt;
    }
    // The last block louder than `level` at or after `from`.
    std::optional<qint64> LastLoud(qint64 from, int level) const {
        std::optional<qint64> last;
        for (const Block& block : m_blocks) {
            if (block.at >= from && block.peak > level) last = block.at;
        }
        return last;
    }
    qint64 HeardUntil() const { return m_blocks.empty() ? -1 : m_blocks.back().at; }

private:
    struct Block {
        qint64 at;
        int peak;
    };

    void Read() {
        m_pending += m_parec.readAllStandardOutput();
        const qint64 now = m_clock.elapsed();
        const qsizetype blockBytes = kRate * kBlockMs / 1000 * 2;
        const qsizetype blocks = m_pending.size() / blockBytes;
        for (qsizetype b = 0; b < blocks; ++b) {
            int peak = 0;
            for (qsizetype i = b * blockBytes; i + 1 < (b + 1) * blockBytes; i += 2) {
                const auto sample = static_cast<qint16>(static_cast<quint8>(m_pending[i]) |
                                                        (static_cast<quint8>(m_pending[i + 1]) << 8));
                peak = std::max(peak, std::abs(static_cast<int>(sample)));
            }
            // The newest block was heard now; each one before it a block earlier.
            m_blocks.push_back({now - (blocks - 1 - b) * kBlockMs, peak});
        }
        m_pending.remove(0, blocks * blockBytes);
    }

    const QElapsedTimer& m_clock;
    QProcess m_parec;
    QByteArray m_pending;
    std::vector<Block> m_blocks;
};

// The row with the longest reading, so that it is still being read after a second.
int LongestRow() {
    int longest = 0;
    for (int row = 0; row < kBankRows; ++row) {
        if (ReadAloud(kWordRows[row].answer).size() > ReadAloud(kWordRows[longest].answer).size()) longest = row;
    }
    return longest;
}

int failures = 0;
void Check(bool ok, const char* what, qint64 value = 0) {
    std::printf("%s %s (%lld)\n", ok ? "PASS" : "FAIL", what, static_cast<long long>(value));
    std::fflush(stdout);
    if (!ok) ++failures;
}

// The desktop's speech, and when it told that its voice was found: connecting takes the service
// seconds on a loaded machine, and what is measured here starts once it has.
struct WatchedSpeech final : Speech {
    void Start(ReadyHandler ready) override {
        speech.Start([this, ready](bool available, std::string_view why) {
            told = true;
            ready(available, why);
        });
    }
    void Speak(const std::string& text) override { speech.Speak(text); }
    void Stop() override { speech.Stop(); }

    QtSpeech speech;
    bool told = false;
};

struct Drill {
    explicit Drill(const std::filesystem::path& file) : dialog(host, Environment(file), &speech) {}
    static DrillEnvironment Environment(const std::filesystem::path& file) {
        return {file, [] { return std::int64_t{1700000000}; }, [](std::string_view) {}};
    }
    void Press(Qt::Key key) { QTest::keyClick(host.Window()->windowHandle(), key); }
    void SubmitWrong() {
        QTest::keyClicks(host.Item(ids::kAnswerBox), QStringLiteral("zzz"));
        Press(Qt::Key_Return);
    }

    QtDialog host{MainDialogResources()};
    WatchedSpeech speech;
    PracticeDialog dialog;
};

// Waits until the recording has reached `until` on the test's clock.
void HearUntil(const Recorder& recorder, qint64 until) {
    QTRY_VERIFY_WITH_TIMEOUT(recorder.HeardUntil() >= until, 5000);
}

// Waits (20 s at most) until nothing louder than `loud` has been heard for 700 ms; when it was last
// heard, or `since`.
qint64 WaitForQuiet(const Recorder& recorder, qint64 since, int loud) {
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 20000) {
        QTest::qWait(100);
        const std::optional<qint64> last = recorder.LastLoud(since, loud);
        if (!last && recorder.HeardUntil() - since > 700) return since;
        if (last && recorder.HeardUntil() - *last > 700) return *last;
    }
    return since;
}

// In 听写, the time from the next row being shown (Enter after a submission) to the first sample
// of its word, with the voice quiet before.
std::optional<qint64> DictationOnset(Drill& drill, const Recorder& recorder, const QElapsedTimer& clock, int loud) {
    if (drill.host.IsItemEnabled(ids::kSubmit)) drill.SubmitWrong();
    WaitForQuiet(recorder, clock.elapsed(), loud);
    const qint64 asked = clock.elapsed();
    drill.Press(Qt::Key_Return);
    QTest::qWait(1200);
    HearUntil(recorder, asked + 1200);
    const std::optional<qint64> onset = recorder.FirstLoud(asked, loud);
    if (!onset) return std::nullopt;
    return *onset - asked;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool benchDictation = argc >= 3 && QByteArray(argv[1]) == "--bench-dictation";
    const int benchRows = argc >= 3 && (QByteArray(argv[1]) == "--bench" || benchDictation) ? std::atoi(argv[2]) : 0;
    // Closed while the speech service is still being connected to: the program ends at once.
    if (argc >= 2 && QByteArray(argv[1]) == "--close-at-once") {
        QElapsedTimer closing;
        {
            QTemporaryDir dir;
            Drill drill(std::filesystem::path(dir.path().toStdString()) / "ZbXxYy.zb");
            drill.host.Create(drill.dialog);
            drill.host.Show();
            QTest::qWait(100);
            drill.host.EndDialog(kIdCancel);
            closing.start();
        }
        Check(closing.elapsed() <= 500, "closed within half a second while the voice connects (ms)", closing.elapsed());
        return failures == 0 ? 0 : 1;
    }

    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "ZbXxYy.zb";
    const int row = LongestRow();
    {
        std::ofstream out(file, std::ios::binary);
        out << "3\r\n";
        for (int r = 0; r < kBankRows; ++r) out << (r == row ? "\r\n" : "1\r\n");
    }

    QElapsedTimer clock;
    clock.start();
    Recorder recorder(clock);
    if (!recorder.Running()) {
        std::puts("parec did not start");
        return 1;
    }
    Drill drill(file);
    drill.host.Create(drill.dialog);
    drill.host.Show();
    if (!QTest::qWaitForWindowExposed(drill.host.Window())) return 1;
    auto* listen = qobject_cast<QPushButton*>(drill.host.Item(ids::kListen));
    const qint64 shown = clock.elapsed();
    // Silence while the speech service is connected to (over a second with espeak-ng's voices).
    QTest::qWait(2500);
    Check(QTest::qWaitFor([&] { return drill.speech.told; }, 30000), "the speech service answers within 30 s");
    const qint64 connected = clock.elapsed();
    HearUntil(recorder, connected);
    const int floor = recorder.Peak(shown, connected);
    const int loud = std::max(kSilentPeak, floor * 8);

    drill.Press(Qt::Key_Return);  // the next button: the row is asked, the answer box focused
    if (benchDictation) {
        QTest::mouseClick(drill.host.Item(ids::kDictation), Qt::LeftButton);
        std::vector<qint64> latencies;
        for (int i = 0; i < benchRows; ++i) {
            const std::optional<qint64> onset = DictationOnset(drill, recorder, clock, loud);
            if (!onset) {
                std::printf("row %d: nothing heard within a second\n", i);
                continue;
            }
            latencies.push_back(*onset);
            std::printf("row %d: %lld ms\n", i, static_cast<long long>(*onset));
        }
        if (latencies.empty()) return 1;
        std::sort(latencies.begin(), latencies.end());
        std::printf("row shown in 听写 to first speech sample: median %lld ms of %zu (min %lld, max %lld)\n",
                    static_cast<long long>(latencies[latencies.size() / 2]), latencies.size(),
                    static_cast<long long>(latencies.front()), static_cast<long long>(latencies.back()));
        return 0;
    }
    if (benchRows > 0) {
        std::vector<qint64> latencies;
        for (int i = 0; i < benchRows; ++i) {
            if (!drill.host.IsItemEnabled(ids::kSubmit)) drill.Press(Qt::Key_Return);
            QTest::qWait(300);
            const qint64 submitted = clock.elapsed();
            drill.SubmitWrong();
            QTest::qWait(1000);
            HearUntil(recorder, submitted + 1000);
            const std::optional<qint64> onset = recorder.FirstLoud(submitted, loud);
            if (!onset) {
                std::printf("row %d: nothing heard within a second\n", i);
                continue;
            }
            latencies.push_back(*onset - submitted);
            std::printf("row %d: %lld ms\n", i, static_cast<long long>(*onset - submitted));
        }
        if (latencies.empty()) return 1;
        std::sort(latencies.begin(), latencies.end());
        std::printf("submit to first speech sample: median %lld ms of %zu (min %lld, max %lld)\n",
                    static_cast<long long>(latencies[latencies.size() / 2]), latencies.size(),
                    static_cast<long long>(latencies.front()), static_cast<long long>(latencies.back()));
        return 0;
    }

    Check(floor <= kSilentPeak, "silence from start-up to the first submission (loudest sample)", floor);
    QTest::qWait(500);
    HearUntil(recorder, clock.elapsed());
    Check(recorder.Peak(shown, clock.elapsed()) <= kSilentPeak, "silence while the row is asked");

    // A wrong answer: the answer is read.
    qint64 submitted = clock.elapsed();
    drill.SubmitWrong();
    QTest::qWait(1200);
    HearUntil(recorder, submitted + 1200);
    const std::optional<qint64> onset = recorder.FirstLoud(submitted, loud);
    Check(onset && *onset - submitted <= 1000, "the answer is heard within a second of the submission",
          onset ? *onset - submitted : -1);
    Check(recorder.Peak(submitted, submitted + 1200) > std::max(2000, loud * 4), "clearly above the noise floor",
          recorder.Peak(submitted, submitted + 1200));
    Check(listen->isEnabled(), "听一听 is enabled once the answer is checked");

    // Still reading: Enter moves on, and the voice stops at once.
    const qint64 next = clock.elapsed();
    Check(recorder.Peak(next - 200, next) > loud, "the long answer is still being read when Enter is pressed");
    drill.Press(Qt::Key_Return);
    QTest::qWait(1500);
    HearUntil(recorder, next + 1500);
    const std::optional<qint64> lastSound = recorder.LastLoud(next, loud);
    Check(!lastSound || *lastSound - next <= 250, "silent within 250 ms of Enter", lastSound ? *lastSound - next : 0);
    Check(recorder.Peak(next + 300, next + 1500) <= loud, "nothing is read over the next question");
    Check(!listen->isEnabled(), "听一听 is disabled while the row is asked");

    // The answer read to its end, then 听一听 reads it again.
    submitted = clock.elapsed();
    drill.SubmitWrong();
    qint64 quietSince = submitted;
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 20000) {
        QTest::qWait(100);
        const std::optional<qint64> last = recorder.LastLoud(submitted, loud);
        if (last && recorder.HeardUntil() - *last > 700) {
            quietSince = *last;
            break;
        }
    }
    const std::optional<qint64> first = recorder.FirstLoud(submitted, loud);
    const qint64 length = first ? quietSince - *first : -1;
    Check(length >= 500 && length <= 15000, "the whole answer lasts a plausible time (ms)", length);

    const qint64 clicked = clock.elapsed();
    QTest::mouseClick(listen, Qt::LeftButton);
    QTest::qWait(1200);
    HearUntil(recorder, clicked + 1200);
    const std::optional<qint64> again = recorder.FirstLoud(clicked, loud);
    Check(again && *again - clicked <= 1000, "听一听 reads it again within a second", again ? *again - clicked : -1);

    // 听写: the next row is said as soon as it is shown, before anything is typed.
    QTest::mouseClick(drill.host.Item(ids::kDictation), Qt::LeftButton);
    Check(drill.dialog.Dictating(), "听写 is on");
    const std::optional<qint64> dictated = DictationOnset(drill, recorder, clock, loud);
    Check(dictated && *dictated <= 1000, "in 听写 the row is heard within a second of being shown (ms)",
          dictated.value_or(-1));

    drill.host.EndDialog(kIdCancel);
    return failures == 0 ? 0 : 1;
}
