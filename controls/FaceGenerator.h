// The shaded button's faces: an 8-bit palette ramp from the system's
// button colours under a procedural texture with random grain.  Pure pixel
// and palette arithmetic; the button supplies its size, its focus inset,
// the three system colours and the program's random sequence.
#pragma once

#include <cstdint>

#include "DibSurface.h"

// The C runtime's unseeded rand() sequence (state * 214013 + 2531011, bits
// 16..30 of the state), so that faces come out byte for byte the same on
// every run and in every build.
class CCrtRandom {
public:
    explicit CCrtRandom(uint32_t seed = 1) : m_nState(seed) {}
    int Next() {
        m_nState = m_nState * 214013u + 2531011u;
        return static_cast<int>((m_nState >> 16) & 0x7FFF);
    }
    void Reset(uint32_t seed = 1) { m_nState = seed; }

private:
    uint32_t m_nState;
};

// The one random sequence of the program, drawn by every button in the
// order the buttons generate their faces.
CCrtRandom& ProgramRandom();

enum ShadeStyle : uint32_t {
    ShadeNoise = 0,
    ShadeDiagonal = 1,
    ShadeRowGradient = 2,
    ShadeColumnGradient = 3,
    ShadeRowBump = 4,
    ShadeColumnBump = 5,
    ShadeSoftBump = 6,
    ShadeRoundedBump = 7,
    ShadeStrokes = 8
};

struct ShadeColours {
    DibColour highlight;  // COLOR_BTNHIGHLIGHT
    DibColour face;       // COLOR_BTNFACE
    DibColour shadow;     // COLOR_BTNSHADOW
};

// The six surfaces a shaded button paints from.
struct ShadedFaces {
    CDibSurface normal;
    CDibSurface pressed;
    CDibSurface disabled;
    CDibSurface hover;
    CDibSurface focusHorizontal;  // max(w - 2K - 1, 1) x 1
    CDibSurface focusVertical;    // 1 x max(h - 2K, 1)
};

struct ShadeRequest {
    uint32_t style = ShadeNoise;  // outside 1..8 acts as ShadeNoise
    int grain = 0;                // low 8 bits used
    int hoverLight = 0;           // low 8 bits used, percent
    int tintPercent = 0;          // low 8 bits used
    DibColour tintColour = 0;
};

// Builds all six surfaces for a width x height button with focus inset
// focusInset.  Surfaces that cannot be allocated stay empty.  A face too
// small for a style's arithmetic keeps the parts that are well defined:
// the rounded bump's bands need a height of at least 2, the strokes a
// face of 1 to 32767 pixels in each direction; otherwise those steps are
// left out.
void GenerateShadedFaces(ShadedFaces& faces, const ShadeRequest& request, int width, int height,
                         int focusInset, const ShadeColours& colours, CCrtRandom& random);

// Writes the three-colour ramp into an 8-bit surface's palette.
void WriteShadePalette(CDibSurface& surface, const ShadeColours& colours);

// FNV-1a over a surface's header, palette and the used bytes of every
// pixel row (row padding left out); 0 for an empty surface.
uint32_t SurfaceChecksum(const CDibSurface& surface);
