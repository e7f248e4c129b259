// The yardstick: the smallest Qt 6 dialog of the same kind (one line edit, two buttons), built
// the same way, ending the moment its line edit has been painted.
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bench/qt/exit_on_first_paint.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Minimal"));
    auto* edit = new QLineEdit(&dialog);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
    buttons->addWidget(new QPushButton(QStringLiteral("Cancel"), &dialog));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addLayout(buttons);
    new ExitOnFirstPaint(edit);
    dialog.show();
    return QApplication::exec();
}
