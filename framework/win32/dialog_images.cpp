#include "framework/win32/dialog_images.h"

#include <algorithm>
#include <optional>

#include "framework/win32/screen_dpi.h"

namespace zembra::win32 {
namespace {

// 32 bits per pixel from the top row down: the layout PixelImage uses.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::vector<std::uint32_t> Bits32(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info = TopDown32(width, height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) bits.clear();
    return bits;
}

std::uint32_t Premultiplied(std::uint32_t colour, std::uint32_t alpha) {
    std::uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) pixel |= (((colour >> shift) & 0xFF) * alpha + 127) / 255 << shift;
    return pixel;
}

// A bitmap the static draws as it is: 24 bits per pixel, so that no control takes it for one
// with transparency.
HBITMAP OpaqueBitmap(const PixelImage& image) {
    BITMAPINFO info = TopDown32(image.width, image.height);
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(image.width); ++x) {
            const std::uint32_t pixel = image.pixels[y * static_cast<std::size_t>(image.width) + x];
            std::uint8_t* out = rows + y * stride + x * 3;
            out[0] = static_cast<std::uint8_t>(pixel);
            out[1] = static_cast<std::uint8_t>(pixel >> 8);
            out[2] = static_cast<std::uint8_t>(pixel >> 16);
        }
    }
    GdiFlush();
    return bitmap;
}

// An icon with an alpha channel (colours not premultiplied, as icons keep them) and a mask that
// marks the fully transparent pixels, for the drawing that has no alpha.
HICON AlphaIcon(const PixelImage& image) {
    BITMAPINFO info = TopDown32(image.width, image.height);
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (colour == nullptr) return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    const std::size_t maskStride = ((static_cast<std::size_t>(image.width) + 15) / 16) * 2;
    std::vector<std::uint8_t> mask(maskStride * static_cast<std::size_t>(image.height), 0);
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(image.width); ++x) {
            const std::size_t at = y * static_cast<std::size_t>(image.width) + x;
            const std::uint32_t pixel = image.pixels[at];
            const std::uint32_t alpha = pixel >> 24;
            std::uint32_t straight = alpha << 24;
            if (alpha != 0) {
                for (int shift = 0; shift < 24; shift += 8) {
                    straight |= std::min<std::uint32_t>(255, (((pixel >> shift) & 0xFF) * 255 + alpha / 2) / alpha)
                                << shift;
                }
            } else {
                mask[y * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
            out[at] = straight;
        }
    }
    GdiFlush();
    HBITMAP maskBitmap = CreateBitmap(image.width, image.height, 1, 1, mask.data());
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colour;
    icon.hbmMask = maskBitmap;
    HICON result = maskBitmap != nullptr ? CreateIconIndirect(&icon) : nullptr;
    DeleteObject(colour);
    if (maskBitmap != nullptr) DeleteObject(maskBitmap);
    return result;
}

// The size a bitmap resource has, from its header, without decoding it; nothing when the header
// cannot be read.
std::optional<SIZE> BitmapResourceSize(HMODULE module, int resource) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), RT_BITMAP);
    if (found == nullptr || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    if (header == nullptr || header->biSize < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    return SIZE{header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
}

}  // namespace

PixelImage PixelsOfBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return {};
    PixelImage image{info.bmWidth, info.bmHeight, Bits32(bitmap, info.bmWidth, info.bmHeight)};
    if (image.pixels.empty()) return {};
    for (std::uint32_t& pixel : image.pixels) pixel |= 0xFF000000;  // a bitmap is opaque
    return image;
}

PixelImage PixelsOfIcon(HICON icon) {
    ICONINFO parts{};
    if (icon == nullptr || !GetIconInfo(icon, &parts)) return {};
    PixelImage image;
    BITMAP info{};
    if (parts.hbmColor != nullptr && GetObjectW(parts.hbmColor, sizeof info, &info) != 0) {
        std::vector<std::uint32_t> colour = Bits32(parts.hbmColor, info.bmWidth, info.bmHeight);
        std::vector<std::uint32_t> mask = Bits32(parts.hbmMask, info.bmWidth, info.bmHeight);
        const bool hasAlpha = std::any_of(colour.begin(), colour.end(), [](std::uint32_t p) { return p >> 24 != 0; });
        if (!colour.empty() && (hasAlpha || mask.size() == colour.size())) {
            image = {info.bmWidth, info.bmHeight, std::move(colour)};
            for (std::size_t i = 0; i < image.pixels.size(); ++i) {
                // A set mask bit comes back white: the pixel is transparent.
                const std::uint32_t alpha = hasAlpha ? image.pixels[i] >> 24 : ((mask[i] & 0xFFFFFF) != 0 ? 0 : 255);
                image.pixels[i] = Premultiplied(image.pixels[i] & 0xFFFFFF, alpha);
            }
        }
    }
    if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
    if (parts.hbmMask != nullptr) DeleteObject(parts.hbmMask);
    return image;
}

DialogImages::~DialogImages() { Clear(); }

void DialogImages::Clear() {
    for (const auto& [control, shown] : m_shown) Release(shown);
    m_shown.clear();
}

void DialogImages::Release(const Shown& shown) const {
    if (shown.image == nullptr) return;
    if (shown.icon)
        DestroyIcon(static_cast<HICON>(shown.image));
    else
        DeleteObject(shown.image);
}

const PixelImage& DialogImages::Source(int resource, bool icon) {
    if (const auto found = m_sources.find(resource); found != m_sources.end()) return found->second;
    PixelImage image;
    // Without a size the first image of the group comes at its own size, not the icon size.
    if (HANDLE loaded = LoadImageW(m_module, MAKEINTRESOURCEW(resource), icon ? IMAGE_ICON : IMAGE_BITMAP, 0, 0,
                                   icon ? LR_DEFAULTCOLOR : LR_CREATEDIBSECTION)) {
        if (icon) {
            image = PixelsOfIcon(static_cast<HICON>(loaded));
            DestroyIcon(static_cast<HICON>(loaded));
        } else {
            image = PixelsOfBitmap(static_cast<HBITMAP>(loaded));
            DeleteObject(loaded);
        }
    }
    return m_sources.emplace(resource, std::move(image)).first->second;
}

void DialogImages::Fit(HWND control, int resource, int dpi) {
    const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    if (type != SS_ICON && type != SS_BITMAP) return;
    const bool icon = type == SS_ICON;
    const auto shown = m_shown.find(control);
    if (shown != m_shown.end() && shown->second.dpi == dpi) return;
    // The picture the control has from the dialog manager, if any: a bitmap static whose template
    // names its bitmap in its creation data has none, and gets it here when it is first shown.
    const bool managersPicture =
        shown == m_shown.end() && SendMessageW(control, STM_GETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, 0) != 0;
    // A bitmap shown at the size it has at this scale is the resource as it is: the dialog
    // manager's is left as it is, and one the control lacks is loaded as the dialog manager loads
    // it, neither decoded for that (the poster at the start, at 96 dots per inch).
    if (!icon && shown == m_shown.end()) {
        const std::optional<SIZE> size = BitmapResourceSize(m_module, resource);
        if (size && ScaleToDpi(size->cx, dpi) == size->cx && ScaleToDpi(size->cy, dpi) == size->cy) {
            if (managersPicture) return;
            HANDLE image = LoadImageW(m_module, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
            if (image == nullptr) return;
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
            m_shown[control] = {dpi, image, false};
            return;
        }
    }

    const PixelImage& source = Source(resource, icon);
    if (source.pixels.empty()) return;
    const int width = icon ? IconSizeForDpi(dpi) : ScaleToDpi(source.width, dpi);
    const int height = icon ? width : ScaleToDpi(source.height, dpi);
    // The dialog manager's picture is the resource one to one: nothing to improve.
    if (managersPicture && width == source.width && height == source.height) return;

    const PixelImage scaled = Resample(source, width, height);
    HANDLE image = icon ? static_cast<HANDLE>(AlphaIcon(scaled)) : static_cast<HANDLE>(OpaqueBitmap(scaled));
    if (image == nullptr) return;
    // The control takes the picture's size.
    SendMessageW(control, STM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    if (shown != m_shown.end()) Release(shown->second);
    m_shown[control] = {dpi, image, icon};
}

}  // namespace zembra::win32
