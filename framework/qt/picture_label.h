// A picture or icon control whose image is decoded the first time the control is actually shown:
// of the sixteen posters the dialog holds only one is ever shown, and the tick and cross start
// hidden; decoding them all would cost start-up time and memory for nothing.
#pragma once

#include <QLabel>
#include <QString>

namespace zembra {

class PictureLabel : public QLabel {
public:
    // `size` is the picture's size as drawn; the control takes it now and keeps it.
    PictureLabel(const QString& resource, QSize size, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_resource;
};

}  // namespace zembra
