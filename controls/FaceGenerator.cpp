#include "FaceGenerator.h"

#include <algorithm>

CCrtRandom& ProgramRandom() {
    static CCrtRandom random;
    return random;
}

namespace {

int Cube(int t) {
    return t * t * t / 16384;
}

// Pixel access by row counted from the bottom (the first row in memory).
class FaceRows {
public:
    explicit FaceRows(CDibSurface& surface)
        : m_pBits(surface.PixelBits()), m_nStride(surface.Stride()) {}
    uint8_t& At(int x, int r) { return m_pBits[static_cast<size_t>(r) * m_nStride + x]; }
    void Set(int x, int r, int value) { At(x, r) = static_cast<uint8_t>(value); }
    void Add(int x, int r, int value) { At(x, r) = static_cast<uint8_t>(At(x, r) + value); }

private:
    uint8_t* m_pBits;
    uint32_t m_nStride;
};

// noise() = rand() / D - g with D = 32767 / N, N = 2g (or 1 for g = 0).
class Grain {
public:
    Grain(int g, CCrtRandom& random)
        : m_nGrain(g), m_nDivisor(32767 / (g >= 1 ? 2 * g : 1)), m_random(random) {}
    int Noise() { return m_random.Next() / m_nDivisor - m_nGrain; }
    int Raw() { return m_random.Next() / m_nDivisor; }

private:
    int m_nGrain;
    int m_nDivisor;
    CCrtRandom& m_random;
};

void ShadeTexture(CDibSurface& face, uint32_t style, int g, CCrtRandom& random) {
    const int w = face.Width();
    const int h = face.Height();
    if (w <= 0 || h <= 0) return;
    FaceRows px(face);
    Grain grain(g, random);
    if (style > ShadeStrokes) style = ShadeNoise;

    switch (style) {
    case ShadeDiagonal: {
        const int s = (255 - 2 * g) / 2;
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x) {
                px.Set(x, r, s * (w - x) / w + s * r / h + g);
                px.Add(x, r, grain.Noise());
            }
        break;
    }
    case ShadeRowGradient:
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x) {
                px.Set(x, r, (255 - 2 * g) * r / h + g);
                px.Add(x, r, grain.Noise());
            }
        break;
    case ShadeColumnGradient:
        for (int x = 0; x < w; ++x)
            for (int r = 0; r < h; ++r) {
                px.Set(x, r, (255 - 2 * g) * (w - x) / w + g);
                px.Add(x, r, grain.Noise());
            }
        break;
    case ShadeRowBump:
        for (int r = 0; r < h; ++r) {
            const int t = 255 * r / h - 127;
            for (int x = 0; x < w; ++x) {
                px.Set(x, r, Cube(t) * (128 - g) / 128 + 128);
                px.Add(x, r, grain.Noise());
            }
        }
        break;
    case ShadeColumnBump:
        for (int x = 0; x < w; ++x) {
            const int t = 255 * (w - x) / w - 127;
            for (int r = 0; r < h; ++r) {
                px.Set(x, r, Cube(t) * (128 - g) / 128 + 128);
                px.Add(x, r, grain.Noise());
            }
        }
        break;
    case ShadeSoftBump:
        for (int r = 0; r < h; ++r) {
            const int ty = 255 * r / h - 127;
            for (int x = 0; x < w; ++x) {
                const int tx = 255 * (w - x) / w - 127;
                int value = (Cube(tx) + Cube(ty)) * (128 - g) / 128 + 128;
                if (value < g) value = g;
                if (value > 255 - g) value = 255 - g;
                px.Set(x, r, value);
                px.Add(x, r, grain.Noise());
            }
        }
        break;
    case ShadeRoundedBump: {
        for (int r = 0; r < h; ++r) {
            const int t = 255 * r / h - 127;
            for (int x = 0; x < w; ++x) {
                px.Set(x, r, Cube(t) * (64 - g) * 2 / 128 + 128);
                px.Add(x, r, grain.Noise());
            }
        }
        // The side bands divide by the squared half height: a face lower
        // than 2 pixels keeps the first pass only.
        const int q = std::min(w / 6, 16);
        const int h2 = h / 2;
        const int w2 = w / 2;
        const int64_t H = (static_cast<int64_t>(h) * h) / 4;
        if (H == 0) break;
        for (int r = 0; r < h; ++r) {
            const int kr = static_cast<int>(static_cast<int64_t>(q) * (r - h2) * (r - h2) / H);
            const int l = kr - q + w2;
            for (int x = 0; x < w; ++x) {
                const int d = x - w2;
                // q is 0 only below 6 pixels of width, where neither band
                // condition can hold.
                if (d > l && q > 0) px.Set(x, r, 128 * (w - x) / q + g);
                if (l + d < 0 && q > 0) px.Set(x, r, (255 - g) - 128 * x / q);
                px.Add(x, r, grain.Noise());
            }
        }
        break;
    }
    case ShadeStrokes: {
        face.FillPixels(0);
        // The stroke positions divide 32767 by the size: only faces of 1 to
        // 32767 pixels in each direction get strokes.
        if (w <= 32767 && h <= 32767) {
            const int dw = 32767 / w;
            const int dh = 32767 / h;
            const int m = std::min(w, h);
            for (int stroke = 0; stroke < 200; ++stroke) {
                const int x0 = random.Next() / dw;
                const int y0 = random.Next() / dh;
                const int n = (random.Next() / (32767 / m)) / 2;
                const int c = random.Next() / 819;
                for (int j = 0; j < n; ++j) {
                    if (x0 - j > 0 && y0 + j < h) face.PutPixel(x0 - j, y0 + j, c);
                    if (x0 + j < w && y0 - j > 0) face.PutPixel(w - x0 + j, y0 - j, c);
                }
            }
        }
        const int s = (255 - 2 * g - 40) / 2;
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x) {
                px.Add(x, r, s * r / h + s * (w - x) / w);
                px.Add(x, r, grain.Raw());
            }
        break;
    }
    default:  // ShadeNoise
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x) {
                px.Set(x, r, 128);
                px.Add(x, r, grain.Noise());
            }
        break;
    }
}

}  // namespace

void WriteShadePalette(CDibSurface& surface, const ShadeColours& colours) {
    const DibColour sh = colours.shadow, fc = colours.face, hi = colours.highlight;
    for (int i = 0; i <= 128; ++i)
        surface.SetPaletteEntry(i, (DibRed(sh) * (128 - i) + DibRed(fc) * i) / 128,
                                (DibGreen(sh) * (128 - i) + DibGreen(fc) * i) / 128,
                                (DibBlue(sh) * (128 - i) + DibBlue(fc) * i) / 128);
    for (int k = 1; k <= 128; ++k)
        surface.SetPaletteEntry(127 + k, (DibRed(fc) * (128 - k) + DibRed(hi) * k) / 128,
                                (DibGreen(fc) * (128 - k) + DibGreen(hi) * k) / 128,
                                (DibBlue(fc) * (128 - k) + DibBlue(hi) * k) / 128);
}

void GenerateShadedFaces(ShadedFaces& faces, const ShadeRequest& request, int width, int height,
                         int focusInset, const ShadeColours& colours, CCrtRandom& random) {
    const int g = request.grain & 0xFF;
    const int k = focusInset;

    faces.focusHorizontal.Allocate(std::max(width - 2 * k - 1, 1), 1, 8);
    faces.focusVertical.Allocate(1, std::max(height - 2 * k, 1), 8);
    faces.normal.Allocate(width, height, 8);

    WriteShadePalette(faces.normal, colours);
    WriteShadePalette(faces.focusHorizontal, colours);
    WriteShadePalette(faces.focusVertical, colours);
    faces.normal.TintPalette(request.tintColour, request.tintPercent & 0xFF);

    if (faces.focusHorizontal.HasImage()) {
        uint8_t* line = faces.focusHorizontal.PixelBits();
        for (int x = 0; x < faces.focusHorizontal.Width(); ++x) line[x] = (x % 2) ? 255 : 0;
    }
    if (faces.focusVertical.HasImage()) {
        uint8_t* column = faces.focusVertical.PixelBits();
        const uint32_t stride = faces.focusVertical.Stride();
        for (int r = 0; r < faces.focusVertical.Height(); ++r)
            column[r * stride] = (r % 2) ? 255 : 0;
    }

    if (faces.normal.HasImage()) ShadeTexture(faces.normal, request.style, g, random);

    faces.disabled.CopyFrom(faces.normal);
    faces.hover.CopyFrom(faces.normal);
    faces.hover.TintPalette(colours.highlight, request.hoverLight & 0xFF);
    faces.pressed.CopyFrom(faces.hover);
}

uint32_t SurfaceChecksum(const CDibSurface& surface) {
    if (!surface.HasImage()) return 0;
    uint32_t hash = 2166136261u;
    auto feed = [&hash](const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            hash ^= p[i];
            hash *= 16777619u;
        }
    };
    feed(surface.Block(), sizeof(DibInfoHeader) + 4u * surface.PaletteSize());
    const size_t rowBytes = (static_cast<size_t>(surface.Depth()) * surface.Width() + 7) / 8;
    const uint8_t* row = surface.PixelBits();
    for (int r = 0; r < surface.Height(); ++r, row += surface.Stride()) feed(row, rowBytes);
    return hash;
}
