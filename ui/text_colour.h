// Which controls draw their text in red: the result line and the two counters.
#pragma once

#include "framework/dialog.h"
#include "ui/control_ids.h"

namespace zembra {

inline constexpr Colour kRed = Rgb(255, 0, 0);

// The result line after a miss, where its slips are marked: the typed text in dark grey with its
// slips in a deep orange, then the answer in red as ever with what the typed text lacked in blue.
// Orange against blue stays apart for every common kind of colour blindness.
inline constexpr Colour kTypedTextColour = Rgb(64, 64, 64);
inline constexpr Colour kTypedSlipColour = Rgb(213, 94, 0);
inline constexpr Colour kAnswerSlipColour = Rgb(0, 90, 181);

constexpr bool DrawsRedText(int id) {
    return id == ids::kResultLine || id == ids::kTotalCount || id == ids::kMasteredCount;
}

}  // namespace zembra
