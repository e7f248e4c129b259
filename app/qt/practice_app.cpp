// The Qt program's application object: the one dialog, run modally.
#include "app/practice_app.h"

#include "app/qt/main_dialog_resources.h"
#include "app/qt/progress_location.h"
#include "drill/practice_dialog.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_speech.h"

namespace zembra {

bool PracticeApp::InitInstance() {
    const std::filesystem::path progressFile = ProgressFilePath();
    // A folder that cannot be made shows up as the progress file's own diagnostic.
    CreatePrivateFolders(progressFile.parent_path());

    QtDialog window(MainDialogResources());
    QtSpeech speech;
    PracticeDialog dialog(window, DrillEnvironment::ForProgressFile(progressFile), &speech);
    window.DoModal(dialog);  // the end code is of no use
    return false;
}

}  // namespace zembra
