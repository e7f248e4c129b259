// What the Linux program hands the Qt backend for its main dialog: template 102 with its category
// list, the icons and posters from ui/res (compiled in as Qt resources under :/images/), the
// Debian fonts that stand in for the two faces the dialog asks for, and the names a screen reader
// says (ui/accessible_names.h, the same as the Windows program's).
#pragma once

#include "framework/qt/qt_dialog.h"

namespace zembra {

QtDialogResources MainDialogResources();

}  // namespace zembra
