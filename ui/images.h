// The images of the main dialog and its window, by resource id, with the files in ui/res that hold
// them: the one list that the Windows resource script and the Qt program's pictures are made from.
#pragma once

#include <string>
#include <vector>

namespace zembra {

struct Image {
    int id;            // icon or bitmap resource id
    std::string file;  // in ui/res
    bool icon;         // an icon, drawn at the system's icon size; else a bitmap
    int width = 0;     // a bitmap's size in pixels
    int height = 0;
    // In ui/res: the same picture drawn twice as large (PNG), for screens scaled above 100 %;
    // empty when there is none.
    std::string doubleSizeFile = {};
};

// The application icon, the tick and the cross, then the posters in poster order.
std::vector<Image> MainDialogImages();

}  // namespace zembra
