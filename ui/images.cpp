#include "ui/images.h"

#include "ui/control_ids.h"
#include "ui/poster.h"

namespace zembra {

std::vector<Image> MainDialogImages() {
    std::vector<Image> images{
        {ids::kAppIcon, "app.ico", true},
        {ids::kTickIcon, "tick.ico", true, 0, 0, "2x/tick.png"},
        {ids::kCrossIcon, "cross.ico", true, 0, 0, "2x/cross.png"},
    };
    for (const Poster& poster : kPosterOrder) {
        const std::string name = "poster_" + std::to_string(poster.bitmap);
        images.push_back({poster.bitmap, name + ".bmp", false, poster.width, poster.height, "2x/" + name + ".png"});
    }
    return images;
}

}  // namespace zembra
