// The Linux program's entry point: one application object in static storage, started once.
#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "app/practice_app.h"
#include "framework/qt/qt_translations.h"
#include "version.h"

namespace {

zembra::PracticeApp theApp;

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

int main(int argc, char** argv) {
    // A session without a display gets a plain explanation instead of Qt's plugin failure.
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        std::fputs(
            "zembra: 没有可用的图形显示，请在桌面中启动本程序。\n"
            "zembra: no graphical display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "        Start Zembra from a desktop session, or under a virtual display: xvfb-run -a zembra\n",
            stderr);
        return 1;
    }

    // The command line is not read: Qt sees only the program's name, so arguments of any kind
    // change nothing.
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("zembra"), nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("zembra"));
    QApplication::setApplicationVersion(QStringLiteral(ZEMBRA_VERSION_STRING));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEMBRA_APP_ID));
    const std::unique_ptr<QTranslator> qtTexts = zembra::InstallQtTranslations(QLocale());

    theApp.InitInstance();
    return 0;
}
