// Start-up and shutdown on Windows: the dialog runs modally once, by one copy per user session,
// then the program ends.
#include "app/practice_app.h"

#include <utility>

#include "app/win32/lists_folder.h"
#include "app/win32/running_copy.h"
#include "drill/practice_dialog.h"
#include "framework/diagnostics.h"
#include "framework/win32/dialog_host.h"
#include "framework/win32/sapi_speech.h"
#include "ui/accessible_names.h"
#include "ui/control_ids.h"
#include "ui/texts.h"

namespace zembra {

namespace {

// The progress file's fixed place. The program is a 32-bit one without a requested execution
// level, so for a standard user Windows keeps this file in the user's virtual store.
constexpr wchar_t kProgressFile[] = LR"(C:\windows\ZbXxYy.zb)";

// How long a second start waits for the running copy's dialog, which may itself be starting.
constexpr DWORD kRunningCopyWaitMs = 5000;

}  // namespace

bool PracticeApp::InitInstance() {
    const win32::RunningCopy copy;
    if (!copy.IsFirst()) {
        // Another copy runs the drill in this session: it is brought forward, and this one ends
        // without having touched the progress file.
        copy.BringRunningCopyForward(kRunningCopyWaitMs);
        WriteDiagnostic(texts::kAlreadyRunning);
        return false;
    }
    // The host outlives the dialog object: the fonts go only after the dialog is gone.
    win32::DialogHost host(ids::kDialog, ids::kAppIcon);
    host.SetAccessibleNames(MainDialogAccessibleNames());
    win32::SapiSpeech speech;
    DrillEnvironment environment = DrillEnvironment::ForProgressFile(kProgressFile);
    environment.listsFolder = win32::ListsFolderPath();
    PracticeDialog dialog(host, std::move(environment), &speech);
    host.DoModal(dialog);  // the end code is of no interest
    return false;
}

}  // namespace zembra
