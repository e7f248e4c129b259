// The pictures of a dialog's icon and bitmap statics at the screen's scale. The dialog manager
// loads those that the template names in their titles for 96 dots per inch (a bitmap at its own
// size, an icon at the system's icon size, resized without smoothing), and a bitmap static whose
// template names its bitmap in its creation data gets it here at the first show, at its own size
// for 96 dots per inch, as the dialog manager would load it; at any other scale, and for an icon whose image is not
// already of the icon size, the control gets a copy resampled smoothly from the full resource, sized to the scale. The
// copies belong to this object, which must outlive the controls that show them.
#pragma once

#include <map>

#include <windows.h>

#include "framework/win32/image_resample.h"

namespace zembra::win32 {

class DialogImages {
public:
    explicit DialogImages(HMODULE module) : m_module(module) {}
    ~DialogImages();
    DialogImages(const DialogImages&) = delete;
    DialogImages& operator=(const DialogImages&) = delete;

    // Gives the icon or bitmap static `control` the picture `resource` drawn for `dpi`. Does
    // nothing when the control already shows it for that scale, or when the dialog manager's own
    // picture is already right. A control that shows no picture yet gets it here.
    void Fit(HWND control, int resource, int dpi);

    // Releases every copy; for when the controls are gone.
    void Clear();

    // The resource's full image, as the resampling reads it (empty when it cannot be loaded).
    const PixelImage& Source(int resource, bool icon);

private:
    struct Shown {
        int dpi;
        HANDLE image;  // ours, or nullptr while the control shows the dialog manager's picture
        bool icon;
    };

    void Release(const Shown& shown) const;

    HMODULE m_module;
    std::map<int, PixelImage> m_sources;  // by resource id
    std::map<HWND, Shown> m_shown;
};

// The pixels of a bitmap or icon handle (an icon's transparency from its alpha, else its mask).
PixelImage PixelsOfBitmap(HBITMAP bitmap);
PixelImage PixelsOfIcon(HICON icon);

}  // namespace zembra::win32
