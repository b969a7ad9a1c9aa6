// The one platform operation of the surface: drawing it on a device
// context.
#include <windows.h>

#include "DibSurface.h"

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(DibInfoHeader), "same header layout");

int CDibSurface::DrawAt(HDC__* target, int x, int y) const {
    if (!m_pBlock || !target) return 0;
    HDC hdc = target;
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    ::SetDIBitsToDevice(hdc, x, y, static_cast<DWORD>(m_header.biWidth),
                        static_cast<DWORD>(m_header.biHeight), 0, 0, 0,
                        static_cast<UINT>(m_header.biHeight), PixelBits(),
                        reinterpret_cast<const BITMAPINFO*>(m_pBlock), DIB_RGB_COLORS);
    return 1;
}
