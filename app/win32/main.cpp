// The Windows program's entry point. The command line is not read.
#include <windows.h>

#include "app/practice_app.h"

namespace {

// The one application object, in static storage for the life of the process.
zembra::PracticeApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    theApp.InitInstance();
    return 0;
}
