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
    // The dialog face: 2167 + 536 of 2048 units per em.
    {"微软雅黑", "Microsoft YaHei", "WenQuanYi Micro Hei", 2167.0 / 2048, 536.0 / 2048},
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
