#include "framework/qt/yes_no_box.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

namespace zembra {

YesNoBox::YesNoBox(const QString& text, const QString& caption, QWidget* owner) : QMessageBox(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(caption);
    setTextFormat(Qt::PlainText);
    setText(text);
    setIcon(QMessageBox::NoIcon);
    setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    setDefaultButton(QMessageBox::Yes);
    // The labels a Chinese system gives these buttons, with their access keys.
    button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
}

bool YesNoBox::Ask() {
    exec();
    return clickedButton() == button(QMessageBox::Yes);
}

void YesNoBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void YesNoBox::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace zembra
