// The shaded button's faces as the drawing rules give them, written apart
// from the generator: every random draw is taken first in the order the
// rules consume them, then each pixel is worked out on its own.  Both the
// native and the Windows tests compare the generated faces with it.
//
// The pins below are SurfaceChecksum values of the normal and hover faces
// of each style for a 75 x 23 button, grain 8, hover light 10, no tint,
// the colours shadow (128, 128, 128), face (212, 208, 200), highlight
// (255, 255, 255), from a fresh runtime sequence.  They were verified by
// ReferenceChecksum: the FNV-1a hash of the reference's pixels and palette
// under a hand-written bitmap header reproduces every one of them, and the
// native test checks that on each run.  The Windows build checks the same
// numbers, so both builds give the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "controls/FaceGenerator.h"

const int kPinnedWidth = 75;
const int kPinnedHeight = 23;
const uint32_t kPinnedNormal[9] = {567184025u,  357360706u,  1575637453u, 2935304634u, 3174135892u,
                                   3107588862u, 3051824214u, 3211593258u, 522276318u};
const uint32_t kPinnedHover[9] = {2277319164u, 2260579047u, 1727256372u, 1016863735u, 753166269u,
                                  3855430931u, 3138071303u, 4250436055u, 2947867779u};

struct ReferenceFace {
    int width = 0, height = 0;
    std::vector<int> pixels;  // row r counted from the bottom: pixels[r * width + x]
    DibColour normal[256] = {}, hover[256] = {};
};

// draw() gives the runtime's rand() values; the percentages are those
// after the request's low 8 bits are taken.
inline ReferenceFace ReferenceShade(uint32_t style, int w, int h, int g, int hoverLight,
                                    const ShadeColours& colours, const std::function<int()>& draw,
                                    int tintPercent = 0, DibColour tint = 0) {
    ReferenceFace f;
    f.width = w;
    f.height = h;
    // The ramp: shadow at 0 up to the face, then from the face (entry 127)
    // to the highlight at 255, blended toward the tint; hover blends every
    // entry further toward the highlight.
    auto mix = [](DibColour a, DibColour b, int wa, int wb, int den) {
        return MakeDibColour((DibRed(a) * wa + DibRed(b) * wb) / den,
                             (DibGreen(a) * wa + DibGreen(b) * wb) / den,
                             (DibBlue(a) * wa + DibBlue(b) * wb) / den);
    };
    const int light = hoverLight > 100 ? 100 : hoverLight,
              p = tintPercent > 100 ? 100 : tintPercent;
    for (int i = 0; i < 256; ++i) {
        const DibColour ramp = i < 128
                                   ? mix(colours.shadow, colours.face, 128 - i, i, 128)
                                   : mix(colours.face, colours.highlight, 255 - i, i - 127, 128);
        f.normal[i] = mix(ramp, tint, 100 - p, p, 100);
        f.hover[i] = mix(f.normal[i], colours.highlight, 100 - light, light, 100);
    }

    if (style > 8) style = 0;
    const int n = w * h;
    const bool strokes = style == 8 && n > 0;
    const bool bands = style == 7 && h >= 2;  // the bands divide by h * h / 4
    std::vector<int> R(static_cast<size_t>((strokes ? 800 : 0) + (bands ? 2 : 1) * n));
    for (int& v : R) v = draw();
    const int D = 32767 / (g == 0 ? 1 : 2 * g);
    auto noise = [&](int i) { return R[i] / D - g; };
    auto cube = [](int t) { return t * t * t / 16384; };

    // Strokes: 200 of them, four draws each, y counted from the top.
    std::vector<int> stroke(static_cast<size_t>(n), 0);
    auto paint = [&](int x, int y, int c) {
        if (x >= 0 && x < w && y >= 0 && y < h) stroke[(h - 1 - y) * w + x] = c;
    };
    for (int k = 0; strokes && k < 200; ++k) {
        const int x0 = R[4 * k] / (32767 / w), y0 = R[4 * k + 1] / (32767 / h);
        const int length = R[4 * k + 2] / (32767 / (w < h ? w : h)) / 2, c = R[4 * k + 3] / 819;
        for (int j = 0; j < length; ++j) {
            if (x0 - j > 0 && y0 + j < h) paint(x0 - j, y0 + j, c);
            if (x0 + j < w && y0 - j > 0) paint(w - x0 + j, y0 - j, c);
        }
    }

    f.pixels.resize(static_cast<size_t>(n));
    const int span = 255 - 2 * g, half = span / 2;
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) {
            const int i = r * w + x;       // drawn row by row from the bottom
            const int column = x * h + r;  // drawn column by column
            const int tx = 255 * (w - x) / w - 127, ty = 255 * r / h - 127;
            int v;
            switch (style) {
            case 1: v = half * (w - x) / w + half * r / h + g + noise(i); break;
            case 2: v = span * r / h + g + noise(i); break;
            case 3: v = span * (w - x) / w + g + noise(column); break;
            case 4: v = cube(ty) * (128 - g) / 128 + 128 + noise(i); break;
            case 5: v = cube(tx) * (128 - g) / 128 + 128 + noise(column); break;
            case 6: {
                // Raised to g, then lowered to 255 - g (which wins when
                // g is above 127).
                int bump = (cube(tx) + cube(ty)) * (128 - g) / 128 + 128;
                if (bump < g) bump = g;
                v = (bump > 255 - g ? 255 - g : bump) + noise(i);
                break;
            }
            case 7:
                v = cube(ty) * (64 - g) * 2 / 128 + 128 + noise(i);
                if (bands) {
                    // Light band on the left, dark on the right, widest in
                    // the middle row.
                    const int q = w / 6 < 16 ? w / 6 : 16, d = x - w / 2;
                    const int l = static_cast<int>(int64_t{q} * (r - h / 2) * (r - h / 2) /
                                                   (int64_t{h} * h / 4)) -
                                  q + w / 2;
                    if (q > 0 && d > l) v = 128 * (w - x) / q + g;
                    if (q > 0 && l + d < 0) v = 255 - g - 128 * x / q;
                    v += noise(n + i);
                }
                break;
            case 8: {
                const int s = (span - 40) / 2;
                v = stroke[i] + s * r / h + s * (w - x) / w + R[800 + i] / D;
                break;
            }
            default: v = 128 + noise(i); break;
            }
            f.pixels[i] = v & 0xFF;
        }
    return f;
}

// FNV-1a over a 40-byte BITMAPINFOHEADER for an 8-bit bottom-up image,
// 256 palette entries (blue, green, red, 0) and each row's width bytes.
inline uint32_t ReferenceChecksum(const ReferenceFace& f, const DibColour (&palette)[256]) {
    std::vector<uint8_t> bytes;
    auto put = [&bytes](uint32_t v, int size) {
        for (int b = 0; b < size; ++b) bytes.push_back(static_cast<uint8_t>(v >> (8 * b)));
    };
    const uint32_t stride = (static_cast<uint32_t>(f.width) + 3) / 4 * 4;
    put(40, 4), put(f.width, 4), put(f.height, 4), put(1, 2), put(8, 2), put(0, 4);
    put(stride * f.height, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (DibColour c : palette)
        put(DibBlue(c), 1), put(DibGreen(c), 1), put(DibRed(c), 1), put(0, 1);
    for (int v : f.pixels) bytes.push_back(static_cast<uint8_t>(v));
    uint32_t hash = 0x811C9DC5u;
    for (uint8_t b : bytes) hash = (hash ^ b) * 0x01000193u;
    return hash;
}

// Where generated faces differ from the reference ("" when they match):
// normal and disabled show the normal ramp, hover and pressed the hover
// ramp, all four the same pixels.
inline std::string FaceMismatch(const ReferenceFace& ref, const ShadedFaces& faces) {
    std::ostringstream out;
    const struct {
        const char* name;
        const CDibSurface& surface;
        const DibColour* palette;
    } checked[] = {{"normal", faces.normal, ref.normal},
                   {"disabled", faces.disabled, ref.normal},
                   {"hover", faces.hover, ref.hover},
                   {"pressed", faces.pressed, ref.hover}};
    for (const auto& c : checked) {
        if (c.surface.Width() != ref.width || c.surface.Height() != ref.height) {
            out << c.name << " is " << c.surface.Width() << " x " << c.surface.Height() << "; ";
            continue;
        }
        for (int i = 0; i < 256; ++i)
            if (c.surface.PaletteEntry(i) != c.palette[i]) {
                out << c.name << " palette " << i << "; ";
                break;
            }
        for (size_t i = 0; i < ref.pixels.size(); ++i) {
            const int x = static_cast<int>(i) % ref.width, r = static_cast<int>(i) / ref.width;
            const int got = c.surface.GetPixel(x, ref.height - 1 - r);
            if (got != ref.pixels[i]) {
                out << c.name << " pixel x=" << x << " r=" << r << " is " << got << ", not "
                    << ref.pixels[i] << "; ";
                break;
            }
        }
    }
    return out.str();
}
