// A picture or icon control whose image is decoded the first time the control is actually shown:
// of the sixteen posters the dialog holds only one is ever shown, and the tick and cross start
// hidden; decoding them all would cost start-up time and memory for nothing.
//
// The picture is drawn in the screen's own pixels: on a screen scaled above 100 % it is made
// from the picture drawn twice as large where there is one, shrunk smoothly to the pixels it
// covers; a picture of the plain size blown up would be blurred. An icon keeps its mask as its
// transparency.
#pragma once

#include <QImage>
#include <QLabel>
#include <QString>

namespace zembra {

class PictureLabel : public QLabel {
public:
    // `size` is the picture's size as drawn, in the dialog's pixels; the control takes it now and
    // keeps it. `doubleSize` may be empty.
    PictureLabel(const QString& resource, const QString& doubleSize, QSize size, QWidget* parent);

    // The picture as the control draws it on a screen of the given pixel ratio.
    QImage Picture(qreal devicePixelRatio) const;

protected:
    bool event(QEvent* event) override;

private:
    void Load();

    QString m_resource;
    QString m_doubleSize;
};

}  // namespace zembra
