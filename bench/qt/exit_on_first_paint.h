// Ends the process as soon as a widget has been painted for the first time, so that the wall
// time of a run is the time from process start to that widget on the screen.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

class ExitOnFirstPaint : public QObject {
public:
    explicit ExitOnFirstPaint(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            // Queued, so it runs once this paint has reached the window's backing store.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    std::fflush(stdout);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};
