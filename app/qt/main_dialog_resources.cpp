#include "app/qt/main_dialog_resources.h"

#include "ui/accessible_names.h"
#include "ui/control_ids.h"
#include "ui/images.h"
#include "ui/main_dialog_template.h"

namespace zembra {
namespace {

// The faces that the template and the fonts of the dialog name, and the Debian fonts drawn in
// their place (fonts-arphic-uming, fonts-wqy-microhei).
constexpr FaceStandIn kFaces[] = {
    // Song: 220 + 36 of 256 units per em.
    {"宋体", "SimSun", "AR PL UMing CN", 220.0 / 256, 36.0 / 256},
    // The dialog face, with the line height the template was laid out for: 17 px at 9 points
    // (96 dpi), so that its 167-unit picture rectangles hold the 354-px posters and every frame
    // holds what it frames. Measured from the face's own 2167 + 536 of 2048 units, the lines come
    // out at 16 px and the posters stick out of their frame at the bottom.
    {"微软雅黑", "Microsoft YaHei", "WenQuanYi Micro Hei", 1.1, 3.8 / 12},
};

}  // namespace

QtDialogResources MainDialogResources() {
    std::vector<QtImage> images;
    const auto resource = [](const std::string& file) {
        return file.empty() ? QString() : QStringLiteral(":/images/") + QString::fromStdString(file);
    };
    for (const Image& image : MainDialogImages()) {
        images.push_back(
            {image.id, resource(image.file), QSize(image.width, image.height), resource(image.doubleSizeFile)});
    }
    return {MainDialogTemplate(),       MainDialogComboLists(), std::move(images), ids::kAppIcon, kFaces,
            MainDialogAccessibleNames()};
}

}  // namespace zembra
