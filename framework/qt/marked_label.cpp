#include "framework/qt/marked_label.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

#include "framework/qt/qt_text.h"

namespace zembra {
namespace {

QFont RunFont(QFont font, const TextRun& run) {
    font.setBold(run.bold);
    font.setUnderline(run.underline);
    font.setStrikeOut(run.strikeOut);
    return font;
}

}  // namespace

void MarkedLabel::SetRuns(std::vector<TextRun> runs) {
    m_runs = std::move(runs);
    update();
}

void MarkedLabel::ClearRuns() {
    if (m_runs.empty()) return;
    m_runs.clear();
    update();
}

void MarkedLabel::paintEvent(QPaintEvent* event) {
    if (m_runs.empty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    std::vector<QString> texts;
    texts.reserve(m_runs.size());
    for (const TextRun& run : m_runs) texts.push_back(ToQString(run.text));
    // One line; a line wider than the control is drawn in a smaller font until it fits.
    QFont base = font();
    auto widthAt = [&](const QFont& f) {
        qreal total = 0;
        for (std::size_t k = 0; k < m_runs.size(); ++k) {
            total += QFontMetricsF(RunFont(f, m_runs[k])).horizontalAdvance(texts[k]);
        }
        return total;
    };
    qreal width = widthAt(base);
    if (width > contentsRect().width() && width > 0) {
        base.setPointSizeF(std::max(6.0, base.pointSizeF() * contentsRect().width() / width));
        width = widthAt(base);
    }
    const QRectF area = contentsRect();
    qreal x = area.left();
    if (alignment() & Qt::AlignHCenter) x += std::max<qreal>(0, (area.width() - width) / 2);
    if (alignment() & Qt::AlignRight) x += std::max<qreal>(0, area.width() - width);
    const qreal baseline = area.top() + QFontMetricsF(base).ascent();
    for (std::size_t k = 0; k < m_runs.size(); ++k) {
        const TextRun& run = m_runs[k];
        const QFont f = RunFont(base, run);
        painter.setFont(f);
        painter.setPen(QColor(run.colour & 0xFF, (run.colour >> 8) & 0xFF, (run.colour >> 16) & 0xFF));
        painter.drawText(QPointF(x, baseline), texts[k]);
        x += QFontMetricsF(f).horizontalAdvance(texts[k]);
    }
}

}  // namespace zembra
