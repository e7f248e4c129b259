#include "framework/qt/picture_label.h"

#include <QIcon>
#include <QPixmap>

namespace zembra {

PictureLabel::PictureLabel(const QString& resource, QSize size, QWidget* parent)
    : QLabel(parent), m_resource(resource) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(size);
}

void PictureLabel::showEvent(QShowEvent* event) {
    if (pixmap().isNull()) {
        // An icon file holds several sizes at best; take the one nearest the control's.
        setPixmap(m_resource.endsWith(QLatin1String(".ico")) ? QIcon(m_resource).pixmap(size()) : QPixmap(m_resource));
    }
    QLabel::showEvent(event);
}

}  // namespace zembra
