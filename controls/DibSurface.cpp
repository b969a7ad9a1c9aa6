#include "DibSurface.h"

#include <cstring>
#include <new>

namespace {

DibInfoHeader EmptyHeader() {
    DibInfoHeader header;
    std::memset(&header, 0, sizeof(header));
    header.biSize = sizeof(DibInfoHeader);
    return header;
}

// Largest block we agree to allocate; the faces are button-sized.
const uint64_t kMaxBlockBytes = 512u * 1024u * 1024u;

}  // namespace

CDibSurface::CDibSurface()
    : m_pBlock(nullptr), m_header(EmptyHeader()), m_nStride(0), m_nPaletteSize(0) {}

CDibSurface::~CDibSurface() {
    Free();
}

void CDibSurface::Free() {
    delete[] m_pBlock;
    m_pBlock = nullptr;
    m_header = EmptyHeader();
    m_nStride = 0;
    m_nPaletteSize = 0;
}

uint8_t* CDibSurface::Allocate(int width, int height, uint16_t bitsPerPixel) {
    Free();
    if (width < 0 || height < 0) return nullptr;

    uint16_t depth;
    uint16_t paletteSize;
    if (bitsPerPixel <= 1) {
        depth = 1;
        paletteSize = 2;
    } else if (bitsPerPixel <= 4) {
        depth = 4;
        paletteSize = 16;
    } else if (bitsPerPixel <= 8) {
        depth = 8;
        paletteSize = 256;
    } else {
        depth = 24;
        paletteSize = 0;
    }
    const uint64_t stride =
        ((static_cast<uint64_t>(depth) * static_cast<uint64_t>(width) + 31) / 32) * 4;
    const uint64_t imageSize = stride * static_cast<uint64_t>(height);
    const uint64_t total = sizeof(DibInfoHeader) + 4u * paletteSize + imageSize;
    if (total > kMaxBlockBytes) return nullptr;

    uint8_t* block = new (std::nothrow) uint8_t[static_cast<size_t>(total)]();
    if (!block) return nullptr;

    m_header = EmptyHeader();
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = depth;
    m_header.biCompression = 0;  // BI_RGB
    m_header.biSizeImage = static_cast<uint32_t>(imageSize);
    m_nStride = static_cast<uint32_t>(stride);
    m_nPaletteSize = paletteSize;
    m_pBlock = block;
    std::memcpy(m_pBlock, &m_header, sizeof(m_header));
    return m_pBlock;
}

size_t CDibSurface::BlockSize() const {
    if (!m_pBlock) return 0;
    return sizeof(DibInfoHeader) + 4u * m_nPaletteSize + m_header.biSizeImage;
}

uint8_t* CDibSurface::PixelBits() const {
    if (!m_pBlock) return nullptr;
    return m_pBlock + sizeof(DibInfoHeader) + 4u * m_nPaletteSize;
}

void CDibSurface::SetPaletteEntry(int index, int red, int green, int blue) {
    const int i = index & 0xFF;
    if (!m_pBlock || i >= m_nPaletteSize) return;
    uint8_t* entry = Palette() + 4 * i;
    entry[0] = static_cast<uint8_t>(blue);
    entry[1] = static_cast<uint8_t>(green);
    entry[2] = static_cast<uint8_t>(red);
    entry[3] = 0;
}

DibColour CDibSurface::PaletteEntry(int index) const {
    if (!m_pBlock || index < 0 || index >= m_nPaletteSize) return 0;
    const uint8_t* entry = Palette() + 4 * index;
    return MakeDibColour(entry[2], entry[1], entry[0]);
}

void CDibSurface::PutPixel(int x, int y, int value) {
    if (!m_pBlock || m_nPaletteSize == 0 || m_header.biBitCount != 8) return;
    if (x < 0 || x >= m_header.biWidth || y < 0 || y >= m_header.biHeight) return;
    PixelBits()[static_cast<size_t>(m_header.biHeight - 1 - y) * m_nStride + x] =
        static_cast<uint8_t>(value);
}

int CDibSurface::GetPixel(int x, int y) const {
    if (!m_pBlock || m_header.biBitCount != 8) return -1;
    if (x < 0 || x >= m_header.biWidth || y < 0 || y >= m_header.biHeight) return -1;
    return PixelBits()[static_cast<size_t>(m_header.biHeight - 1 - y) * m_nStride + x];
}

void CDibSurface::TintPalette(DibColour colour, int percent) {
    if (!m_pBlock || m_nPaletteSize == 0) return;
    int p = percent > 100 ? 100 : percent;
    if (p < 0) p = 0;
    const int target[3] = {DibBlue(colour), DibGreen(colour), DibRed(colour)};
    uint8_t* entry = Palette();
    for (int i = 0; i < m_nPaletteSize; ++i, entry += 4) {
        for (int c = 0; c < 3; ++c)
            entry[c] = static_cast<uint8_t>((entry[c] * (100 - p) + target[c] * p) / 100);
    }
}

bool CDibSurface::CopyFrom(const CDibSurface& source) {
    if (&source == this) return HasImage();
    if (!source.HasImage()) {
        Free();
        return false;
    }
    if (!Allocate(source.m_header.biWidth, source.m_header.biHeight, source.m_header.biBitCount))
        return false;
    std::memcpy(m_pBlock, source.m_pBlock, source.BlockSize());
    return true;
}

void CDibSurface::FillPixels(int value) {
    if (!m_pBlock) return;
    std::memset(PixelBits(), value & 0xFF, m_header.biSizeImage);
}
