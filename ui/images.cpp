#include "ui/images.h"

#include "ui/control_ids.h"
#include "ui/poster.h"

namespace zembra {

std::vector<Image> MainDialogImages() {
    std::vector<Image> images{
        {ids::kAppIcon, "app.ico", true},
        {ids::kTickIcon, "tick.ico", true},
        {ids::kCrossIcon, "cross.ico", true},
    };
    for (const Poster& poster : kPosterOrder) {
        images.push_back(
            {poster.bitmap, "poster_" + std::to_string(poster.bitmap) + ".bmp", false, poster.width, poster.height});
    }
    return images;
}

}  // namespace zembra
