// Checksums (SurfaceChecksum) of the normal and hover faces of each style
// for a 75 x 23 button, grain 8, hover light 10, no tint, the colours
// shadow (128, 128, 128), face (212, 208, 200), highlight (255, 255, 255),
// generated from a fresh runtime sequence.  The Windows build checks the
// same numbers.
#pragma once

#include <cstdint>

const int kPinnedWidth = 75;
const int kPinnedHeight = 23;
const uint32_t kPinnedNormal[9] = {567184025u,  357360706u,  1575637453u, 2935304634u, 3174135892u,
                                   3107588862u, 3051824214u, 3211593258u, 522276318u};
const uint32_t kPinnedHover[9] = {2277319164u, 2260579047u, 1727256372u, 1016863735u, 753166269u,
                                  3855430931u, 3138071303u, 4250436055u, 2947867779u};
