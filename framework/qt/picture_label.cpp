#include "framework/qt/picture_label.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>

#include "framework/qt/icon_file.h"

namespace zembra {
namespace {

QImage Read(const QString& resource, QSize wanted) {
    if (resource.isEmpty()) return {};
    if (resource.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)) {
        QFile file(resource);
        return file.open(QIODevice::ReadOnly) ? ReadIconImage(file.readAll(), wanted) : QImage();
    }
    if (resource.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) {
        // Read where it lies (a resource stored uncompressed, or a mapped file), without a copy.
        QFile file(resource);
        const uchar* data = file.open(QIODevice::ReadOnly) ? file.map(0, file.size()) : nullptr;
        if (data) {
            QImage image = ReadRgbBitmapFile(
                QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(file.size())));
            if (!image.isNull()) return image;
        }
    }
    QImageReader reader(resource);
    ReadAsItsNameSays(reader);
    return reader.read();
}

bool Covers(const QImage& image, QSize size) {
    return image.width() >= size.width() && image.height() >= size.height();
}

}  // namespace

void ReadAsItsNameSays(QImageReader& reader) {
    reader.setFormat(QFileInfo(reader.fileName()).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
}

PictureLabel::PictureLabel(const QString& resource, const QString& doubleSize, QSize size, QWidget* parent)
    : QLabel(parent), m_resource(resource), m_doubleSize(doubleSize) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(size);
}

QImage PictureLabel::Picture(qreal devicePixelRatio) const {
    const QSize pixels = (QSizeF(size()) * devicePixelRatio).toSize();
    QImage image = Read(m_resource, pixels);
    if (!Covers(image, pixels)) {
        const QImage larger = Read(m_doubleSize, pixels);
        if (!larger.isNull()) image = larger;
    }
    if (image.isNull() || image.size() == pixels) return image;
    // Filtered on premultiplied colours, so transparent pixels lend no colour to the edges.
    if (image.hasAlphaChannel()) image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void PictureLabel::Load() {
    const qreal ratio = devicePixelRatioF();
    if (!pixmap().isNull() && qFuzzyCompare(pixmap().devicePixelRatio(), ratio)) return;
    QPixmap picture = QPixmap::fromImage(Picture(ratio));
    picture.setDevicePixelRatio(ratio);
    setPixmap(picture);
}

bool PictureLabel::event(QEvent* event) {
    // Made when first shown, and again when the window moves to a screen of another scale.
    if (event->type() == QEvent::Show || (event->type() == QEvent::ScreenChangeInternal && isVisible())) Load();
    return QLabel::event(event);
}

}  // namespace zembra
