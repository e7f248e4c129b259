// Start-up and shutdown on Windows: the dialog runs modally once, then the program ends.
#include "app/practice_app.h"

#include "drill/practice_dialog.h"
#include "framework/win32/dialog_host.h"
#include "framework/win32/sapi_speech.h"
#include "ui/accessible_names.h"
#include "ui/control_ids.h"

namespace zembra {

namespace {

// The progress file's fixed place. The program is a 32-bit one without a requested execution
// level, so for a standard user Windows keeps this file in the user's virtual store.
constexpr wchar_t kProgressFile[] = LR"(C:\windows\ZbXxYy.zb)";

}  // namespace

bool PracticeApp::InitInstance() {
    // The host outlives the dialog object: the fonts go only after the dialog is gone.
    win32::DialogHost host(ids::kDialog, ids::kAppIcon);
    host.SetAccessibleNames(MainDialogAccessibleNames());
    win32::SapiSpeech speech;
    PracticeDialog dialog(host, DrillEnvironment::ForProgressFile(kProgressFile), &speech);
    host.DoModal(dialog);  // the end code is of no interest
    return false;
}

}  // namespace zembra
