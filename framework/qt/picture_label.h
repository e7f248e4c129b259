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
#include <QImageReader>
#include <QLabel>
#include <QString>

namespace zembra {

// Makes `reader` read its file as the format that the file's name says, and only so. Left to
// find the format itself, Qt loads every image plugin to ask it whether it reads the file, even
// for a bitmap or PNG that it reads without one.
void ReadAsItsNameSays(QImageReader& reader);

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
