#include <gtest/gtest.h>

#include <cstring>

#include "controls/DibSurface.h"

namespace {

const DibInfoHeader& BlockHeader(const CDibSurface& s) {
    return *reinterpret_cast<const DibInfoHeader*>(s.Block());
}

TEST(DibSurface, StartsEmpty) {
    CDibSurface s;
    EXPECT_FALSE(s.HasImage());
    EXPECT_EQ(nullptr, s.PixelBits());
    EXPECT_EQ(40u, s.Header().biSize);
    EXPECT_EQ(0, s.Header().biWidth);
    EXPECT_EQ(0u, s.Stride());
    EXPECT_EQ(0u, s.PaletteSize());
    // Every operation on an empty surface does nothing.
    s.SetPaletteEntry(0, 1, 2, 3);
    s.PutPixel(0, 0, 7);
    s.TintPalette(0xFFFFFF, 50);
    s.FillPixels(3);
    EXPECT_FALSE(s.HasImage());
}

TEST(DibSurface, AllocateButtonFace) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(75, 23, 8));
    EXPECT_EQ(8, s.Depth());
    EXPECT_EQ(256u, s.PaletteSize());
    EXPECT_EQ(76u, s.Stride());
    EXPECT_EQ(1748u, s.Header().biSizeImage);
    EXPECT_EQ(2812u, s.BlockSize());
    // The header at the start of the block, as the platform reads it.
    const DibInfoHeader& h = BlockHeader(s);
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(75, h.biWidth);
    EXPECT_EQ(23, h.biHeight);
    EXPECT_EQ(1, h.biPlanes);
    EXPECT_EQ(8, h.biBitCount);
    EXPECT_EQ(0u, h.biCompression);
    EXPECT_EQ(1748u, h.biSizeImage);
    EXPECT_EQ(0, h.biXPelsPerMeter);
    EXPECT_EQ(0u, h.biClrUsed);
    EXPECT_EQ(0u, h.biClrImportant);
    EXPECT_EQ(s.Block() + 40 + 1024, s.PixelBits());
}

TEST(DibSurface, AllocateDepthsAndStrides) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(1, 15, 8));
    EXPECT_EQ(4u, s.Stride());
    EXPECT_EQ(60u, s.Header().biSizeImage);

    ASSERT_NE(nullptr, s.Allocate(10, 3, 0));
    EXPECT_EQ(1, s.Depth());
    EXPECT_EQ(2u, s.PaletteSize());
    EXPECT_EQ(4u, s.Stride());  // 10 bits round up to one 32-bit word
    EXPECT_EQ(40u + 8u + 12u, s.BlockSize());

    ASSERT_NE(nullptr, s.Allocate(9, 2, 3));
    EXPECT_EQ(4, s.Depth());
    EXPECT_EQ(16u, s.PaletteSize());
    EXPECT_EQ(8u, s.Stride());  // 36 bits

    ASSERT_NE(nullptr, s.Allocate(10, 2, 5));
    EXPECT_EQ(8, s.Depth());
    EXPECT_EQ(256u, s.PaletteSize());
    EXPECT_EQ(12u, s.Stride());

    ASSERT_NE(nullptr, s.Allocate(5, 2, 16));
    EXPECT_EQ(24, s.Depth());
    EXPECT_EQ(0u, s.PaletteSize());
    EXPECT_EQ(16u, s.Stride());  // 15 bytes padded to 16
    EXPECT_EQ(40u + 32u, s.BlockSize());
    EXPECT_EQ(s.Block() + 40, s.PixelBits());
}

TEST(DibSurface, AllocateRefusesNegativeAndHugeSizes) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(4, 4, 8));
    EXPECT_EQ(nullptr, s.Allocate(-1, 4, 8));
    EXPECT_FALSE(s.HasImage());
    EXPECT_EQ(nullptr, s.Allocate(100000, 100000, 24));
    EXPECT_FALSE(s.HasImage());
    EXPECT_EQ(0u, s.Stride());
}

TEST(DibSurface, TwentyFourBitSurfaceHasNoPaletteOperations) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(3, 3, 16));
    s.FillPixels(0x11);
    const std::string before(reinterpret_cast<const char*>(s.Block()), s.BlockSize());
    s.SetPaletteEntry(0, 1, 2, 3);
    s.PutPixel(0, 0, 0x77);
    s.TintPalette(0xFFFFFF, 100);
    EXPECT_EQ(before, std::string(reinterpret_cast<const char*>(s.Block()), s.BlockSize()));
}

TEST(DibSurface, SetPaletteEntryUsesLowByteOfIndex) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(2, 2, 8));
    s.SetPaletteEntry(300, 10, 20, 30);
    EXPECT_EQ(MakeDibColour(10, 20, 30), s.PaletteEntry(44));
    const uint8_t* entry = s.Block() + 40 + 4 * 44;
    EXPECT_EQ(30, entry[0]);  // blue, green, red, 0
    EXPECT_EQ(20, entry[1]);
    EXPECT_EQ(10, entry[2]);
    EXPECT_EQ(0, entry[3]);

    // A 16-entry palette ignores indexes past its end.
    ASSERT_NE(nullptr, s.Allocate(2, 2, 4));
    s.SetPaletteEntry(20, 1, 2, 3);
    s.SetPaletteEntry(256 + 15, 4, 5, 6);
    EXPECT_EQ(MakeDibColour(4, 5, 6), s.PaletteEntry(15));
    for (int i = 0; i < 15; ++i) EXPECT_EQ(0u, s.PaletteEntry(i));
}

TEST(DibSurface, PutPixelAddressesRowsFromTheTop) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(5, 3, 8));  // stride 8
    s.FillPixels(0);
    s.PutPixel(0, 0, 0x1AB);  // top row: last row in memory, low 8 bits stored
    EXPECT_EQ(0xAB, s.PixelBits()[2 * 8 + 0]);
    s.PutPixel(4, 2, 9);  // bottom row: first row in memory
    EXPECT_EQ(9, s.PixelBits()[4]);
    s.PutPixel(3, 1, 5);
    EXPECT_EQ(5, s.PixelBits()[8 + 3]);
    EXPECT_EQ(5, s.GetPixel(3, 1));

    // Outside the surface: ignored.
    const std::string before(reinterpret_cast<const char*>(s.PixelBits()), s.Header().biSizeImage);
    s.PutPixel(-1, 0, 1);
    s.PutPixel(5, 0, 1);
    s.PutPixel(0, 3, 1);
    s.PutPixel(0, -1, 1);
    EXPECT_EQ(before,
              std::string(reinterpret_cast<const char*>(s.PixelBits()), s.Header().biSizeImage));
}

TEST(DibSurface, OneColumnSurfaceUsesOneByteOfEachRow) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(1, 15, 8));
    s.FillPixels(0);
    for (int y = 0; y < 15; ++y) s.PutPixel(0, y, y + 1);
    for (int r = 0; r < 15; ++r) {
        EXPECT_EQ(15 - r, s.PixelBits()[r * 4]);
        EXPECT_EQ(0, s.PixelBits()[r * 4 + 1]);
    }
}

TEST(DibSurface, TintPaletteBlendsAndClamps) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(1, 1, 8));
    s.SetPaletteEntry(7, 0, 100, 200);
    s.TintPalette(MakeDibColour(255, 255, 255), 10);
    EXPECT_EQ(MakeDibColour(25, 115, 205), s.PaletteEntry(7));

    for (int i = 0; i < 256; ++i) s.SetPaletteEntry(i, i, 255 - i, i / 2);
    s.TintPalette(MakeDibColour(1, 2, 3), 250);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(MakeDibColour(1, 2, 3), s.PaletteEntry(i)) << i;

    s.SetPaletteEntry(3, 40, 50, 60);
    s.TintPalette(MakeDibColour(255, 0, 0), 0);
    EXPECT_EQ(MakeDibColour(40, 50, 60), s.PaletteEntry(3));
}

TEST(DibSurface, CopyFromCopiesTheWholeBlock) {
    CDibSurface a, b;
    ASSERT_NE(nullptr, a.Allocate(6, 4, 8));
    for (int i = 0; i < 256; ++i) a.SetPaletteEntry(i, i, i, 255 - i);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) a.PutPixel(x, y, x * 10 + y);
    ASSERT_TRUE(b.CopyFrom(a));
    ASSERT_EQ(a.BlockSize(), b.BlockSize());
    EXPECT_EQ(0, std::memcmp(a.Block(), b.Block(), a.BlockSize()));
    EXPECT_NE(a.Block(), b.Block());
    EXPECT_EQ(a.Stride(), b.Stride());
    // Independent afterwards.
    b.PutPixel(0, 0, 99);
    EXPECT_EQ(0, a.GetPixel(0, 0));

    CDibSurface empty;
    EXPECT_FALSE(b.CopyFrom(empty));
    EXPECT_FALSE(b.HasImage());
}

TEST(DibSurface, FillPixelsCoversPadding) {
    CDibSurface s;
    ASSERT_NE(nullptr, s.Allocate(3, 2, 8));
    s.FillPixels(0x105);
    for (uint32_t i = 0; i < s.Header().biSizeImage; ++i) EXPECT_EQ(5, s.PixelBits()[i]);
}

}  // namespace
