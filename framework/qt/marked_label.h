// A text static that can draw its line as styled runs (ControlHost::SetItemMarkedText) while its
// text, which a screen reader reads, stays plain.
#pragma once

#include <QLabel>

#include <vector>

#include "framework/text_run.h"

namespace zembra {

class MarkedLabel : public QLabel {
public:
    using QLabel::QLabel;

    // Drawn in place of the text until the text is set again through SetPlainText.
    void SetRuns(std::vector<TextRun> runs);
    void ClearRuns();
    bool HasRuns() const { return !m_runs.empty(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<TextRun> m_runs;
};

}  // namespace zembra
