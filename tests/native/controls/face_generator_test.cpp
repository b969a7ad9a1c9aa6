#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/FaceGenerator.h"
#include "reference_faces.h"

namespace {

const ShadeColours kColours = {MakeDibColour(255, 255, 255), MakeDibColour(212, 208, 200),
                               MakeDibColour(128, 128, 128)};

ShadeRequest Request(uint32_t style, int grain = 8, int hoverLight = 10, int tintPercent = 0,
                     DibColour tint = 0) {
    ShadeRequest r;
    r.style = style;
    r.grain = grain;
    r.hoverLight = hoverLight;
    r.tintPercent = tintPercent;
    r.tintColour = tint;
    return r;
}

// Pixel of the normal face at column x, row r counted from the bottom.
int At(const ShadedFaces& f, int x, int r) {
    return f.normal.GetPixel(x, f.normal.Height() - 1 - r);
}

void Generate(ShadedFaces& f, uint32_t style, int w, int h, int grain = 8) {
    CCrtRandom random;
    GenerateShadedFaces(f, Request(style, grain), w, h, 4, kColours, random);
}

// The first values of the runtime's unseeded rand(), and what they give as
// noise() for grain 8 (D = 32767 / 16 = 2047, noise = R / 2047 - 8):
//   41 -> -8, 18467 -> 1, 6334 -> -5, 26500 -> 4, 19169 -> 1, 15724 -> -1,
//   11478 -> -3, 29358 -> 6, 26962 -> 5, 24464 -> 3.
TEST(CrtRandom, ReproducesTheRuntimeSequence) {
    CCrtRandom random;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(value, random.Next());
    random.Reset();
    EXPECT_EQ(41, random.Next());
}

TEST(FaceGenerator, SurfaceSizes) {
    ShadedFaces f;
    Generate(f, 7, 75, 23);
    for (const CDibSurface* s : {&f.normal, &f.pressed, &f.disabled, &f.hover}) {
        EXPECT_EQ(75, s->Width());
        EXPECT_EQ(23, s->Height());
        EXPECT_EQ(8, s->Depth());
        EXPECT_EQ(256u, s->PaletteSize());
    }
    EXPECT_EQ(75 - 8 - 1, f.focusHorizontal.Width());
    EXPECT_EQ(1, f.focusHorizontal.Height());
    EXPECT_EQ(1, f.focusVertical.Width());
    EXPECT_EQ(23 - 8, f.focusVertical.Height());

    // Lines never shorter than one pixel.
    Generate(f, 0, 5, 6);
    EXPECT_EQ(1, f.focusHorizontal.Width());
    EXPECT_EQ(1, f.focusVertical.Height());
}

TEST(FaceGenerator, PaletteRampFromTheSystemColours) {
    ShadedFaces f;
    Generate(f, 7, 75, 23);
    EXPECT_EQ(MakeDibColour(128, 128, 128), f.normal.PaletteEntry(0));
    EXPECT_EQ(MakeDibColour(170, 168, 164), f.normal.PaletteEntry(64));
    EXPECT_EQ(MakeDibColour(212, 208, 200), f.normal.PaletteEntry(128));
    EXPECT_EQ(MakeDibColour(233, 231, 227), f.normal.PaletteEntry(192));
    EXPECT_EQ(MakeDibColour(255, 255, 255), f.normal.PaletteEntry(255));
    // The focus lines carry the same ramp.
    for (int i : {0, 64, 128, 192, 255}) {
        EXPECT_EQ(f.normal.PaletteEntry(i), f.focusHorizontal.PaletteEntry(i));
        EXPECT_EQ(f.normal.PaletteEntry(i), f.focusVertical.PaletteEntry(i));
    }
    // Hover and pressed faces: blended 10 % toward the highlight colour.
    EXPECT_EQ(MakeDibColour(216, 212, 205), f.hover.PaletteEntry(128));
    EXPECT_EQ(MakeDibColour(216, 212, 205), f.pressed.PaletteEntry(128));
    EXPECT_EQ(MakeDibColour(212, 208, 200), f.disabled.PaletteEntry(128));
}

TEST(FaceGenerator, FinishingCopiesShareThePixels) {
    ShadedFaces f;
    Generate(f, 6, 75, 23);
    const uint32_t n = f.normal.Header().biSizeImage;
    EXPECT_EQ(0, std::memcmp(f.normal.PixelBits(), f.disabled.PixelBits(), n));
    EXPECT_EQ(0, std::memcmp(f.normal.PixelBits(), f.hover.PixelBits(), n));
    EXPECT_EQ(0, std::memcmp(f.normal.PixelBits(), f.pressed.PixelBits(), n));
    EXPECT_EQ(0, std::memcmp(f.hover.Block(), f.pressed.Block(), f.hover.BlockSize()));
}

TEST(FaceGenerator, TintBlendsOnlyTheFaces) {
    ShadedFaces f;
    CCrtRandom random;
    GenerateShadedFaces(f, Request(0, 8, 0, 150, MakeDibColour(10, 20, 30)), 20, 10, 4, kColours,
                        random);
    // Above 100 % acts like 100 %: every entry is the tint colour.
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(MakeDibColour(10, 20, 30), f.normal.PaletteEntry(i)) << i;
    EXPECT_EQ(MakeDibColour(128, 128, 128), f.focusHorizontal.PaletteEntry(0));

    GenerateShadedFaces(f, Request(0, 8, 0, 50, MakeDibColour(0, 0, 0)), 20, 10, 4, kColours,
                        random);
    EXPECT_EQ(MakeDibColour(106, 104, 100), f.normal.PaletteEntry(128));
}

TEST(FaceGenerator, DottedFocusLines) {
    ShadedFaces f;
    Generate(f, 0, 30, 20);
    ASSERT_EQ(21, f.focusHorizontal.Width());
    for (int x = 0; x < 21; ++x) EXPECT_EQ(x % 2 ? 255 : 0, f.focusHorizontal.PixelBits()[x]);
    ASSERT_EQ(12, f.focusVertical.Height());
    for (int r = 0; r < 12; ++r)
        EXPECT_EQ(r % 2 ? 255 : 0, f.focusVertical.PixelBits()[r * f.focusVertical.Stride()]);
}

// Hand-worked pixels of each style for a 10 x 4 face with grain 8, using
// the noise values listed above.  Pixels are visited from the bottom row.
struct Pixel {
    int x, r, value;
};
struct HandWorked {
    const char* name;
    uint32_t style;
    std::vector<Pixel> pixels;
};

class HandWorkedFace : public ::testing::TestWithParam<HandWorked> {};

TEST_P(HandWorkedFace, Pixels) {
    ShadedFaces f;
    Generate(f, GetParam().style, 10, 4);
    for (const Pixel& p : GetParam().pixels)
        EXPECT_EQ(p.value, At(f, p.x, p.r)) << "x=" << p.x << " r=" << p.r;
}

INSTANTIATE_TEST_SUITE_P(
    FaceGenerator, HandWorkedFace,
    ::testing::Values(
        // 128 + noise.
        HandWorked{"Style0Noise", 0, {{0, 0, 120}, {1, 0, 129}, {2, 0, 123}, {3, 0, 132}}},
        // S = 239 / 2 = 119.  x = 0: 119 + 0 + 8 = 127, -8.  x = 1: 1071 / 10
        // = 107, + 8 = 115, +1.  x = 2: 952 / 10 = 95, + 8 = 103, -5.
        HandWorked{"Style1Diagonal", 1, {{0, 0, 119}, {1, 0, 116}, {2, 0, 98}}},
        // 8 + noise.
        HandWorked{"Style2RowGradient", 2, {{0, 0, 0}, {1, 0, 9}, {2, 0, 3}, {3, 0, 12}}},
        // Column 0 first, from the bottom up: 239 + 8 = 247 plus -8, 1, -5, 4.
        // Column 1: 2151 / 10 = 215, + 8 = 223, then the fifth draw (+1), the
        // sixth (-1).
        HandWorked{"Style3ColumnGradientVisitsColumns",
                   3,
                   {{0, 0, 239}, {0, 1, 248}, {0, 2, 242}, {0, 3, 251}, {1, 0, 224}, {1, 1, 222}}},
        // t = -127, cube = -2048383 / 16384 = -125; -125 * 120 / 128 = -117;
        // + 128 = 11.
        HandWorked{"Style4RowBump", 4, {{0, 0, 3}, {1, 0, 12}, {2, 0, 6}}},
        // Column 0: t = 128, cube = 128, 128 * 120 / 128 + 128 = 248.
        HandWorked{"Style5ColumnBump", 5, {{0, 0, 240}, {0, 1, 249}, {0, 2, 243}, {0, 3, 252}}},
        // x = 0: cube(128) + cube(-127) = 3; 360 / 128 = 2; 130, -8.  x = 1:
        // tx = 229 - 127 = 102, cube = 64; 64 - 125 = -61; -7320 / 128 = -57;
        // 71, +1.  x = 2: tx = 77, cube = 27; -98 * 120 / 128 = -91; 37, -5.
        HandWorked{"Style6SoftBump", 6, {{0, 0, 122}, {1, 0, 72}, {2, 0, 32}}}),
    [](const ::testing::TestParamInfo<HandWorked>& info) { return std::string(info.param.name); });

TEST(FaceGenerator, Style5WrapsAtColumnZero) {
    // A sequence whose first draw is the largest noise (+8): 248 + 8 wraps
    // to 0.
    uint32_t seed = 1;
    for (;; ++seed) {
        CCrtRandom probe(seed);
        if (probe.Next() / 2047 == 16) break;
    }
    ShadedFaces f;
    CCrtRandom random(seed);
    GenerateShadedFaces(f, Request(5), 10, 4, 4, kColours, random);
    EXPECT_EQ(0, At(f, 0, 0));
}

TEST(FaceGenerator, Style6ClampsToTheGrain) {
    // Grain 60: values below 60 are raised to 60, above 195 lowered to 195.
    ShadedFaces f;
    CCrtRandom random;
    GenerateShadedFaces(f, Request(6, 60), 40, 30, 4, kColours, random);
    // Bottom-right corner: cube(-125 + -125-ish) far below 60, so 60 + noise
    // with noise in -60 .. +60.
    CCrtRandom replay;
    int expected = -1;
    const int d = 32767 / 120;
    for (int i = 0; i < 40; ++i) {  // bottom row, up to x = 39
        const int n = replay.Next() / d - 60;
        if (i == 39) expected = (60 + n) & 0xFF;
    }
    EXPECT_EQ(expected, At(f, 39, 0));
}

TEST(FaceGenerator, Style7FirstPassAndBands) {
    ShadedFaces f;
    Generate(f, 7, 75, 23);
    // Middle row r = 11: light band x = 0..11, dark band x = 63..74, each
    // value within the grain of its formula.
    for (int x = 0; x < 75; ++x) {
        const int v = At(f, x, 11);
        int base;
        if (x <= 11) base = 247 - 128 * x / 12;
        else if (x >= 63) base = 128 * (75 - x) / 12 + 8;
        else base = 128;  // t = 255 * 11 / 23 - 127 = -6, cube = 0
        // Two noises for band pixels (first pass and second pass).
        const int spread = (x <= 11 || x >= 63) ? 8 : 16;
        int diff = ((v - base) % 256 + 256 + 128) % 256 - 128;
        EXPECT_LE(diff, spread) << "x=" << x << " v=" << v;
        EXPECT_GE(diff, -spread) << "x=" << x << " v=" << v;
    }
    // Bottom and top rows: only x = 0 (light) and x = 74 (dark).
    for (int r : {0, 22}) {
        EXPECT_GE(At(f, 0, r), 239);
        EXPECT_LE(At(f, 74, r), 18 + 8);
        EXPECT_GE(At(f, 74, r), 18 - 8);
    }
    // x = 1 in the bottom row keeps the first pass: cube(-127) * 56 * 2 / 128
    // + 128 = 19, plus two noises.
    EXPECT_LE(At(f, 1, 0), 19 + 16);
    EXPECT_GE(At(f, 1, 0), 19 - 16);
}

TEST(FaceGenerator, Style7BandsAreExact) {
    // The exact values with the random draws replayed: first pass for all
    // pixels, then second pass.
    ShadedFaces f;
    Generate(f, 7, 75, 23);
    CCrtRandom replay;
    for (int i = 0; i < 75 * 23; ++i) replay.Next();
    int second[23][75];
    for (int r = 0; r < 23; ++r)
        for (int x = 0; x < 75; ++x) second[r][x] = replay.Next() / 2047 - 8;
    // Light band pixel (0, r=11): 247 + second noise.
    EXPECT_EQ((247 + second[11][0]) & 0xFF, At(f, 0, 11));
    // Dark band pixel (74, r=11): 128 * 1 / 12 + 8 = 18.
    EXPECT_EQ((18 + second[11][74]) & 0xFF, At(f, 74, 11));
    // x = 11 and x = 63 are the bands' inner edges: 247 - 117 = 130 and
    // 128 * 12 / 12 + 8 = 136.
    EXPECT_EQ((130 + second[11][11]) & 0xFF, At(f, 11, 11));
    EXPECT_EQ((136 + second[11][63]) & 0xFF, At(f, 63, 11));
}

TEST(FaceGenerator, Style8Strokes) {
    // A wide face, so that the second stroke is not painted over later.
    const int w = 200, h = 40;
    ShadedFaces f;
    Generate(f, 8, w, h);
    // 800 draws for 200 strokes, then one per pixel: R / 2047 with no -8.
    CCrtRandom replay;
    for (int i = 0; i < 800; ++i) replay.Next();
    static int raw[40][200];
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) raw[r][x] = replay.Next() / 2047;
    // S = (255 - 16 - 40) / 2 = 99.  Column 0 is never stroked:
    // r = 0: 0 + 0 + 99 = 99.  r = 10: 990 / 40 = 24, + 99.
    EXPECT_EQ(99 + raw[0][0], At(f, 0, 0));
    EXPECT_EQ(24 + 99 + raw[10][0], At(f, 0, 10));
    // The second stroke takes draws 5..8 (19169, 15724, 11478, 29358):
    // x0 = 19169 / 163 = 117, y0 = 15724 / 819 = 19 (from the top),
    // n = (11478 / 819) / 2 = 7, colour 29358 / 819 = 35.  Its first half
    // runs from (117, 19) down-left; (114, 22) is row r = 17:
    // 35 + 1683 / 40 + 8514 / 200 = 35 + 42 + 42 = 119.
    EXPECT_EQ(119 + raw[17][114], At(f, 114, 17));
    // Its second half starts at (200 - 117, 19) = (83, 19) going up-right;
    // (84, 18) is row r = 21: 35 + 2079 / 40 + 11484 / 200 = 35 + 51 + 57.
    EXPECT_EQ(143 + raw[21][84], At(f, 84, 21));
    // A pixel beside it that no stroke reached: (115, 22), r = 17:
    // 1683 / 40 + 8415 / 200 = 42 + 42.
    EXPECT_EQ(84 + raw[17][115], At(f, 115, 17));
}

TEST(FaceGenerator, StylesOutsideTheRangeAreNoise) {
    ShadedFaces a, b, c;
    Generate(a, 0, 75, 23);
    Generate(b, 9, 75, 23);
    Generate(c, 4294967295u, 75, 23);
    EXPECT_EQ(SurfaceChecksum(a.normal), SurfaceChecksum(b.normal));
    EXPECT_EQ(SurfaceChecksum(a.normal), SurfaceChecksum(c.normal));
    for (int r = 0; r < 23; ++r)
        for (int x = 0; x < 75; ++x) {
            ASSERT_GE(At(a, x, r), 120);
            ASSERT_LE(At(a, x, r), 136);
        }
}

TEST(FaceGenerator, GrainZeroAndFull) {
    ShadedFaces f;
    Generate(f, 0, 75, 23, 0);
    CCrtRandom replay;
    for (int r = 0; r < 23; ++r)
        for (int x = 0; x < 75; ++x) {
            const int expected = replay.Next() == 32767 ? 129 : 128;
            ASSERT_EQ(expected, At(f, x, r));
        }

    // Grain 255: D = 64, noise = R / 64 - 255.  41 -> -255, 18467 -> 33.
    Generate(f, 0, 75, 23, 255);
    EXPECT_EQ((128 - 255) & 0xFF, At(f, 0, 0));
    EXPECT_EQ(161, At(f, 1, 0));
    // Only the low 8 bits of the grain count.
    ShadedFaces g;
    Generate(g, 0, 75, 23, 256 + 255);
    EXPECT_EQ(SurfaceChecksum(f.normal), SurfaceChecksum(g.normal));
}

TEST(FaceGenerator, ButtonsDrawFromOneSequence) {
    // Two buttons generated one after the other continue the sequence.
    CCrtRandom random;
    ShadedFaces first, second;
    GenerateShadedFaces(first, Request(0), 10, 4, 4, kColours, random);
    GenerateShadedFaces(second, Request(0), 10, 4, 4, kColours, random);
    CCrtRandom replay;
    for (int i = 0; i < 40; ++i) replay.Next();
    EXPECT_EQ((128 + replay.Next() / 2047 - 8) & 0xFF, At(second, 0, 0));
    EXPECT_NE(SurfaceChecksum(first.normal), SurfaceChecksum(second.normal));
}

TEST(FaceGenerator, TinyFacesDoNotCrash) {
    ShadedFaces f;
    for (uint32_t style = 0; style <= 8; ++style) {
        for (int w : {0, 1, 2, 5}) {
            for (int h : {0, 1, 2}) {
                Generate(f, style, w, h);
                EXPECT_TRUE(f.normal.HasImage());
                EXPECT_EQ(w, f.normal.Width());
                EXPECT_EQ(h, f.normal.Height());
            }
        }
    }
    // Style 7 one pixel high keeps its first pass: cube(-127) -> 19, -8.
    Generate(f, 7, 10, 1);
    EXPECT_EQ(11, At(f, 0, 0));
    // Style 8 one pixel high: strokes cannot land (y0 + j < 1 needs y0 = 0,
    // and x0 - j > 0 with j = 0 ...), the shading still runs.
    Generate(f, 8, 1, 1);
    EXPECT_TRUE(f.normal.HasImage());
}

TEST(FaceGenerator, EveryStyleAsTheRulesGiveItAndPinned) {
    // Every style, 75 x 23, grain 8, hover light 10, the example colours, a
    // fresh sequence: the faces match the reference pixel for pixel, and
    // the reference's own checksum reproduces each pin (how the pins were
    // verified), so the pins hold the Windows build to the same bytes.
    for (uint32_t style = 0; style <= 8; ++style) {
        ShadedFaces f;
        Generate(f, style, kPinnedWidth, kPinnedHeight);
        CCrtRandom random;
        const ReferenceFace ref = ReferenceShade(style, kPinnedWidth, kPinnedHeight, 8, 10,
                                                 kColours, [&random] { return random.Next(); });
        EXPECT_EQ("", FaceMismatch(ref, f)) << "style " << style;
        EXPECT_EQ(kPinnedNormal[style], ReferenceChecksum(ref, ref.normal)) << "style " << style;
        EXPECT_EQ(kPinnedHover[style], ReferenceChecksum(ref, ref.hover)) << "style " << style;
        EXPECT_EQ(kPinnedNormal[style], SurfaceChecksum(f.normal)) << "style " << style;
        EXPECT_EQ(kPinnedHover[style], SurfaceChecksum(f.hover)) << "style " << style;
    }
}

}  // namespace
