// Which controls draw their text in red: the result line and the two counters.
#pragma once

#include "framework/dialog.h"
#include "ui/control_ids.h"

namespace zembra {

inline constexpr Colour kRed = Rgb(255, 0, 0);

constexpr bool DrawsRedText(int id) {
    return id == ids::kResultLine || id == ids::kTotalCount || id == ids::kMasteredCount;
}

}  // namespace zembra
