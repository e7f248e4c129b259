#include "framework/qt/icon_file.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zembra {
namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

// Little-endian fields of a byte range, every read checked against its end.
class Bytes {
public:
    Bytes(const QByteArray& data, std::size_t offset, std::size_t size) : m_data(data), m_begin(offset), m_size(size) {}

    bool Has(std::size_t offset, std::size_t count) const { return offset <= m_size && count <= m_size - offset; }
    std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(m_data[Index(at)]); }
    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(U8(at) | U8(at + 1) << 8); }
    std::uint32_t U32(std::size_t at) const { return U16(at) | static_cast<std::uint32_t>(U16(at + 2)) << 16; }
    QByteArray Slice(std::size_t at, std::size_t count) const {
        return m_data.mid(Index(at), static_cast<qsizetype>(count));
    }

private:
    qsizetype Index(std::size_t at) const { return static_cast<qsizetype>(m_begin + at); }

    const QByteArray& m_data;
    std::size_t m_begin;
    std::size_t m_size;
};

struct Entry {
    int width, height;
    std::size_t offset, size;
};

std::vector<Entry> ReadDirectory(const QByteArray& file) {
    const Bytes bytes(file, 0, static_cast<std::size_t>(file.size()));
    if (!bytes.Has(0, kDirectorySize) || bytes.U16(0) != 0 || bytes.U16(2) != 1) return {};
    const std::size_t count = bytes.U16(4);
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectorySize + i * kEntrySize;
        if (!bytes.Has(at, kEntrySize)) return {};
        // A width or height of 0 stands for 256.
        const Entry entry{bytes.U8(at) ? bytes.U8(at) : 256, bytes.U8(at + 1) ? bytes.U8(at + 1) : 256,
                          bytes.U32(at + 12), bytes.U32(at + 8)};
        if (!bytes.Has(entry.offset, entry.size)) return {};
        entries.push_back(entry);
    }
    return entries;
}

// Rows of a bottom-up bitmap are padded to whole 32-bit words.
std::size_t Stride(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

QImage ReadBitmapImage(const Bytes& bytes) {
    if (!bytes.Has(0, kInfoHeaderSize)) return {};
    const std::size_t headerSize = bytes.U32(0);
    const auto width = static_cast<std::int32_t>(bytes.U32(4));
    const auto doubleHeight = static_cast<std::int32_t>(bytes.U32(8));
    const int bits = bytes.U16(14);
    const std::uint32_t compression = bytes.U32(16);
    std::size_t colours = bytes.U32(32);
    // The height counts the colour bitmap and the mask; sizes beyond 1024 are no icon.
    if (width <= 0 || width > 1024 || doubleHeight <= 0 || doubleHeight > 2048 || doubleHeight % 2 != 0) return {};
    if (compression != 0 || headerSize < kInfoHeaderSize) return {};
    const int height = doubleHeight / 2;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = std::size_t{1} << bits;
    if (bits > 8) colours = 0;

    const std::size_t paletteAt = headerSize;
    const std::size_t colourAt = paletteAt + colours * 4;
    const std::size_t colourStride = Stride(width, bits);
    const std::size_t maskAt = colourAt + colourStride * static_cast<std::size_t>(height);
    const std::size_t maskStride = Stride(width, 1);
    if (!bytes.Has(maskAt, maskStride * static_cast<std::size_t>(height))) return {};

    std::vector<QRgb> palette(colours);
    for (std::size_t i = 0; i < colours; ++i) {
        const std::size_t at = paletteAt + i * 4;
        palette[i] = qRgb(bytes.U8(at + 2), bytes.U8(at + 1), bytes.U8(at));
    }

    QImage image(width, height, QImage::Format_ARGB32);
    bool ownAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = colourAt + colourStride * static_cast<std::size_t>(height - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            switch (bits) {
                case 24:
                case 32: {
                    const std::size_t at = row + ux * static_cast<std::size_t>(bits / 8);
                    const int alpha = bits == 32 ? bytes.U8(at + 3) : 255;
                    ownAlpha = ownAlpha || alpha != 0;
                    line[x] = qRgba(bytes.U8(at + 2), bytes.U8(at + 1), bytes.U8(at), alpha);
                    break;
                }
                default: {
                    const std::size_t bit = ux * static_cast<std::size_t>(bits);
                    const int shift = 8 - bits - static_cast<int>(bit % 8);
                    const std::size_t index = (bytes.U8(row + bit / 8) >> shift) & ((1u << bits) - 1);
                    line[x] = palette[index];
                }
            }
        }
    }
    // A 32-bit image with alpha values of its own is drawn by them; every other one by its mask.
    // (A set mask bit over a non-black colour inverts the screen on the platform; a picture cannot
    // show that, so it counts as transparent too.)
    if (bits == 32 && ownAlpha) return image;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = maskAt + maskStride * static_cast<std::size_t>(height - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            const bool transparent = (bytes.U8(row + ux / 8) >> (7 - ux % 8)) & 1;
            line[x] = transparent ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
        }
    }
    return image;
}

}  // namespace

QImage ReadRgbBitmapFile(const QByteArray& file) {
    constexpr std::size_t kFileHeaderSize = 14;
    const Bytes bytes(file, 0, static_cast<std::size_t>(file.size()));
    if (!bytes.Has(0, kFileHeaderSize + kInfoHeaderSize) || bytes.U16(0) != 0x4D42) return {};  // "BM"
    const std::size_t pixelsAt = bytes.U32(10);
    const auto width = static_cast<std::int32_t>(bytes.U32(kFileHeaderSize + 4));
    const auto height = static_cast<std::int32_t>(bytes.U32(kFileHeaderSize + 8));
    if (bytes.U32(kFileHeaderSize) < kInfoHeaderSize || bytes.U16(kFileHeaderSize + 14) != 24 ||
        bytes.U32(kFileHeaderSize + 16) != 0) {
        return {};
    }
    // Rows go bottom-up, or top-down when the height is negative.
    if (width <= 0 || width > 16384 || height == 0 || height < -16384 || height > 16384) return {};
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = Stride(width, 24);
    if (!bytes.Has(pixelsAt, stride * static_cast<std::size_t>(rows))) return {};

    QImage image(width, rows, QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(file.constData()) + pixelsAt;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* in = pixels + stride * static_cast<std::size_t>(height < 0 ? y : rows - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

QImage ReadIconImage(const QByteArray& file, QSize wanted) {
    const std::vector<Entry> entries = ReadDirectory(file);
    std::optional<Entry> best;
    for (const Entry& entry : entries) {
        const bool large = entry.width >= wanted.width() && entry.height >= wanted.height();
        const bool bestLarge = best && best->width >= wanted.width() && best->height >= wanted.height();
        if (!best || (large && (!bestLarge || entry.width < best->width)) ||
            (!large && !bestLarge && entry.width > best->width)) {
            best = entry;
        }
    }
    if (!best) return {};
    const Bytes bytes(file, best->offset, best->size);
    static const QByteArray png("\x89PNG\r\n\x1A\n", 8);
    if (bytes.Has(0, 8) && bytes.Slice(0, 8) == png) {
        return QImage::fromData(bytes.Slice(0, best->size), "PNG").convertToFormat(QImage::Format_ARGB32);
    }
    return ReadBitmapImage(bytes);
}

}  // namespace zembra
