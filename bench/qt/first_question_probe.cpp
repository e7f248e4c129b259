// The Linux program's start-up as the pupil sees it, ending the moment the first question (the
// prompt line 1002) has been painted. It builds the dialog as PracticeApp::InitInstance does; the
// program itself has no such exit.
#include <QApplication>

#include "app/qt/main_dialog_resources.h"
#include "app/qt/progress_location.h"
#include "bench/qt/exit_on_first_paint.h"
#include "drill/practice_dialog.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_speech.h"
#include "ui/control_ids.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::filesystem::path progressFile = zembra::ProgressFilePath();
    zembra::CreatePrivateFolders(progressFile.parent_path());

    zembra::QtDialog window(zembra::MainDialogResources());
    zembra::QtSpeech speech;
    zembra::DrillEnvironment environment = zembra::DrillEnvironment::ForProgressFile(progressFile);
    environment.listsFolder = progressFile.parent_path() / "lists";
    zembra::PracticeDialog dialog(window, std::move(environment), &speech);
    window.Create(dialog);
    new ExitOnFirstPaint(window.Item(zembra::ids::kPromptLine));
    window.Show();
    return QApplication::exec();
}
