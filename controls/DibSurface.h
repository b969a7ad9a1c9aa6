// An in-memory bitmap in the Windows device-independent bitmap layout: one
// contiguous block holding the 40-byte info header, the palette and the
// pixel rows (bottom row first).  Everything except DrawAt is plain memory
// work and builds on any platform.
#pragma once

#include <cstddef>
#include <cstdint>

// Packed colour 0x00BBGGRR (red in the low byte), as the platform uses.
typedef uint32_t DibColour;

inline DibColour MakeDibColour(int red, int green, int blue) {
    return static_cast<DibColour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
inline int DibRed(DibColour c) {
    return static_cast<int>(c & 0xFF);
}
inline int DibGreen(DibColour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int DibBlue(DibColour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Same layout as the platform's BITMAPINFOHEADER.
struct DibInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(DibInfoHeader) == 40, "the info header is 40 bytes");

// The device context handle type of the platform, declared without its
// headers so that this file stays platform-free.
struct HDC__;

class CDibSurface {
public:
    CDibSurface();
    ~CDibSurface();
    CDibSurface(const CDibSurface&) = delete;
    CDibSurface& operator=(const CDibSurface&) = delete;

    // Frees the old block and allocates width x height pixels.  Requested
    // depths up to 1, 4 and 8 bits give palettes of 2, 16 and 256 entries;
    // anything larger gives 24 bits without a palette.  Palette and pixels
    // start zeroed.  Returns the block, or null (surface empty) when the
    // size is negative, too large or cannot be allocated.
    uint8_t* Allocate(int width, int height, uint16_t bitsPerPixel);
    void Free();

    bool HasImage() const { return m_pBlock != nullptr; }
    // First pixel byte (the bottom row), or null when empty.
    uint8_t* PixelBits() const;

    // Only the low 8 bits of index count; indexes past the palette are
    // ignored.
    void SetPaletteEntry(int index, int red, int green, int blue);
    // y counts from the top row.  8-bit surfaces only; positions outside
    // the surface are ignored.  Stores the low 8 bits of value.
    void PutPixel(int x, int y, int value);
    // Blends every palette entry toward colour by percent (at most 100).
    void TintPalette(DibColour colour, int percent);
    // Makes this surface a copy of source (same size, depth and contents).
    // Copying an empty source leaves this surface empty.
    bool CopyFrom(const CDibSurface& source);
    // Every byte of the pixel area, padding included, becomes value & 0xFF.
    void FillPixels(int value);

    // Draws the picture unscaled with its top-left corner at (x, y) on the
    // target.  Returns 1 when drawn, 0 when empty or without a target.
    // Windows build only.
    int DrawAt(HDC__* target, int x, int y) const;

    // Inspection.
    const DibInfoHeader& Header() const { return m_header; }
    const uint8_t* Block() const { return m_pBlock; }
    size_t BlockSize() const;
    int Width() const { return m_pBlock ? m_header.biWidth : 0; }
    int Height() const { return m_pBlock ? m_header.biHeight : 0; }
    int Depth() const { return m_pBlock ? m_header.biBitCount : 0; }
    uint32_t Stride() const { return m_nStride; }
    uint16_t PaletteSize() const { return m_nPaletteSize; }
    // Palette entry as 0x00BBGGRR; 0 outside the palette.
    DibColour PaletteEntry(int index) const;
    // The byte at (x, y), y from the top row, of an 8-bit surface; -1
    // outside the surface.
    int GetPixel(int x, int y) const;

private:
    uint8_t* Palette() const { return m_pBlock ? m_pBlock + sizeof(DibInfoHeader) : nullptr; }

    uint8_t* m_pBlock;
    DibInfoHeader m_header;
    uint32_t m_nStride;
    uint16_t m_nPaletteSize;
};
