#include "GdiHandle.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>

namespace {

// The same bounds as other bitmaps: bad sizes never ask for gigabytes.
constexpr LONG kMaxSide = 32767;
constexpr int64_t kMaxPixels = 64 << 20;

int Height(const DibBits& dib) { return dib.header.biHeight < 0 ? -dib.header.biHeight : dib.header.biHeight; }

// The memory row that shows image row y.
unsigned char* Row(DibBits& dib, int y) {
    const int row = dib.header.biHeight < 0 ? y : Height(dib) - 1 - y;
    return dib.bits.data() + static_cast<size_t>(row) * dib.lineWidth;
}

QRgb Entry(const DibBits& dib, unsigned index) {
    return index < dib.palette.size() ? dib.palette[index] : qRgb(0, 0, 0);
}

int Expand5(unsigned v) { return static_cast<int>((v << 3) | (v >> 2)); }

// The nearest colour table entry; the first of equals, as a lookup from the start finds it.
class Nearest {
public:
    explicit Nearest(const DibBits& dib) : m_palette(dib.palette) {}
    unsigned operator()(QRgb c) {
        c &= 0x00FFFFFF;
        if (auto it = m_cache.find(c); it != m_cache.end())
            return it->second;
        unsigned best = 0;
        int bestDistance = INT32_MAX;
        for (size_t i = 0; i < m_palette.size(); ++i) {
            const int dr = qRed(c) - qRed(m_palette[i]);
            const int dg = qGreen(c) - qGreen(m_palette[i]);
            const int db = qBlue(c) - qBlue(m_palette[i]);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<unsigned>(i);
            }
        }
        m_cache.emplace(c, best);
        return best;
    }

private:
    const std::vector<QRgb>& m_palette;
    std::unordered_map<QRgb, unsigned> m_cache;
};

} // namespace

HBITMAP CreateDIBSection(HDC /*dc*/, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD /*offset*/) {
    if (bits)
        *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || section)
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int depth = h.biBitCount;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biCompression != BI_RGB)
        return nullptr;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return nullptr;
    // INT32_MIN has no positive height.
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight < -kMaxSide || h.biWidth > kMaxSide || h.biHeight > kMaxSide)
        return nullptr;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (int64_t(width) * height > kMaxPixels)
        return nullptr;

    auto dib = std::make_unique<DibBits>();
    dib->header = h;
    dib->header.biSize = sizeof(BITMAPINFOHEADER);
    dib->lineWidth = ((static_cast<size_t>(depth) * static_cast<size_t>(width) + 31) / 32) * 4;
    if (depth <= 8) {
        const DWORD full = 1u << depth;
        const DWORD used = (h.biClrUsed == 0 || h.biClrUsed > full) ? full : h.biClrUsed;
        // The table follows the header at its stated size.
        const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const unsigned char*>(info) + h.biSize);
        for (DWORD i = 0; i < used; ++i)
            dib->palette.push_back(qRgb(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
    }
    QImage image;
    try {
        dib->bits.assign(dib->lineWidth * static_cast<size_t>(height), 0);
        dib->seen = dib->bits;
        image = QImage(width, height, QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (image.isNull())
        return nullptr;
    image.fill(depth <= 8 ? Entry(*dib, 0) : qRgb(0, 0, 0));
    HBITMAP__* bitmap = NewBitmap(image, false);
    bitmap->dib = std::move(dib);
    if (bits)
        *bits = bitmap->dib->bits.data();
    return bitmap;
}

namespace {

// Image rows first..last from the memory.
void Decode(HBITMAP__* bitmap, int first, int last) {
    DibBits& dib = *bitmap->dib;
    const int width = dib.header.biWidth;
    const int depth = dib.header.biBitCount;
    for (int y = first; y <= last; ++y) {
        const unsigned char* in = Row(dib, y);
        auto* out = reinterpret_cast<QRgb*>(bitmap->image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (depth) {
            case 1: out[x] = Entry(dib, (in[x >> 3] >> (7 - (x & 7))) & 1); break;
            case 4: out[x] = Entry(dib, (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4)); break;
            case 8: out[x] = Entry(dib, in[x]); break;
            case 16: {
                const unsigned v = in[2 * x] | (in[2 * x + 1] << 8);
                out[x] = qRgb(Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
                break;
            }
            case 24: out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]); break;
            default: out[x] = qRgb(in[4 * x + 2], in[4 * x + 1], in[4 * x]); break;
            }
        }
    }
}

} // namespace

void SyncImageFromDib(HBITMAP__* bitmap) {
    if (!bitmap || !bitmap->dib || bitmap->dib->bits == bitmap->dib->seen)
        return;
    Decode(bitmap, 0, bitmap->image.height() - 1);
    bitmap->dib->seen = bitmap->dib->bits;
}

void SyncDibFromImage(HBITMAP__* bitmap, const QRect& area) {
    if (!bitmap || !bitmap->dib)
        return;
    DibBits& dib = *bitmap->dib;
    const QRect r = area.intersected(bitmap->image.rect());
    if (r.isEmpty())
        return;
    const int depth = dib.header.biBitCount;
    Nearest nearest(dib);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(bitmap->image.constScanLine(y));
        unsigned char* out = Row(dib, y);
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = in[x];
            switch (depth) {
            case 1: {
                const unsigned char bit = static_cast<unsigned char>(0x80 >> (x & 7));
                out[x >> 3] = nearest(c) ? (out[x >> 3] | bit) : (out[x >> 3] & ~bit);
                break;
            }
            case 4: {
                const unsigned i = nearest(c);
                out[x >> 1] = (x & 1) ? ((out[x >> 1] & 0xF0) | i) : ((out[x >> 1] & 0x0F) | (i << 4));
                break;
            }
            case 8: out[x] = static_cast<unsigned char>(nearest(c)); break;
            case 16: {
                const unsigned v = ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
                out[2 * x] = static_cast<unsigned char>(v);
                out[2 * x + 1] = static_cast<unsigned char>(v >> 8);
                break;
            }
            case 24:
                out[3 * x] = static_cast<unsigned char>(qBlue(c));
                out[3 * x + 1] = static_cast<unsigned char>(qGreen(c));
                out[3 * x + 2] = static_cast<unsigned char>(qRed(c));
                break;
            default:
                out[4 * x] = static_cast<unsigned char>(qBlue(c));
                out[4 * x + 1] = static_cast<unsigned char>(qGreen(c));
                out[4 * x + 2] = static_cast<unsigned char>(qRed(c));
                out[4 * x + 3] = 0;
                break;
            }
        }
        // Only these rows changed; the rest of the memory is as the image last showed it.
        const size_t offset = static_cast<size_t>(out - dib.bits.data());
        std::memcpy(dib.seen.data() + offset, out, dib.lineWidth);
    }
    // Drawing rounds to what the memory can hold (table colours, 5 bits a channel); the image shows that.
    if (depth <= 16)
        Decode(bitmap, r.top(), r.bottom());
}
