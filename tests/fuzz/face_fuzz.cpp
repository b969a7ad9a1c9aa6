// Fuzz target: the shaded button's face generator with any style, grain,
// tint, hover light and colours, at sizes the buttons take, against the
// faces the drawing rules give (tests/native/controls/reference_faces.h).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "controls/FaceGenerator.h"
#include "tests/native/controls/reference_faces.h"

#define CHECK(cond)           \
    do {                      \
        if (!(cond)) abort(); \
    } while (0)

namespace {
uint32_t Take(const uint8_t*& data, size_t& size, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes && size > 0; ++i, --size) v = v << 8 | *data++;
    return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ShadeRequest request;
    request.style = Take(data, size, 4);
    request.grain = static_cast<int>(Take(data, size, 2));
    request.hoverLight = static_cast<int>(Take(data, size, 2));
    request.tintPercent = static_cast<int>(Take(data, size, 2));
    request.tintColour = Take(data, size, 4);
    int width = static_cast<int>(Take(data, size, 2) % 400);
    int height = static_cast<int>(Take(data, size, 2) % 120);
    int inset = static_cast<int>(Take(data, size, 1) % 12);
    ShadeColours colours;
    colours.highlight = Take(data, size, 3);
    colours.face = Take(data, size, 3);
    colours.shadow = Take(data, size, 3);
    CCrtRandom random(Take(data, size, 4));

    // The same request from the same random state gives the same bytes.
    CCrtRandom replay = random, rules = random;
    ShadedFaces faces, again;
    GenerateShadedFaces(faces, request, width, height, inset, colours, random);
    GenerateShadedFaces(again, request, width, height, inset, colours, replay);
    CHECK(SurfaceChecksum(faces.normal) == SurfaceChecksum(again.normal));
    CHECK(SurfaceChecksum(faces.pressed) == SurfaceChecksum(again.pressed));
    CHECK(SurfaceChecksum(faces.hover) == SurfaceChecksum(again.hover));
    CHECK(SurfaceChecksum(faces.disabled) == SurfaceChecksum(again.disabled));

    const ReferenceFace ref = ReferenceShade(
        request.style, width, height, request.grain & 0xFF, request.hoverLight & 0xFF, colours,
        [&rules] { return rules.Next(); }, request.tintPercent & 0xFF, request.tintColour);
    CHECK(FaceMismatch(ref, faces).empty());
    // Both runs, and the rules, took the same number of draws.
    const int next = random.Next();
    CHECK(next == replay.Next());
    CHECK(next == rules.Next());
    return 0;
}
