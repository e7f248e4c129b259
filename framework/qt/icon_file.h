// Icon files (.ico) read as the platform draws them. Each image of an icon is a colour bitmap
// with an AND mask: where a mask bit is set the pixel is transparent and the screen shows
// through. Qt's own reader keeps the mask only for some bit depths and draws the rest on black.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace zembra {

// The image of `file` that suits `wanted` best (the smallest one at least as large, else the
// largest), with the mask as its alpha channel. Colour images of 1, 4, 8, 24 and 32 bits per
// pixel are read (a 32-bit one with an alpha channel of its own uses that), PNG images through
// Qt. A null image when the file is not a well-formed icon.
QImage ReadIconImage(const QByteArray& file, QSize wanted);

// A bitmap file (.bmp) of 24 bits per pixel, uncompressed, as an opaque image: the pixels Qt's own
// reader gives, read in one pass. A null image for any other kind of bitmap file, or one that is
// not well-formed, which is then left to Qt.
QImage ReadRgbBitmapFile(const QByteArray& file);

}  // namespace zembra
