// What the Linux program hands the Qt backend for its main dialog: template 102 with its category
// list, the icons and posters from ui/res (compiled in as Qt resources under :/images/), and the
// Debian fonts that stand in for the two faces the dialog asks for.
#pragma once

#include "framework/qt/qt_dialog.h"

namespace zembra {

QtDialogResources MainDialogResources();

}  // namespace zembra
