// Animated GIF files for the tests of animated pictures: every frame covers
// the whole picture and carries its own delay.
#pragma once

#include <windows.h>

#include <vector>

#include "SkinTestSupport.h"

namespace skintest
{

struct GifFrame
{
    Pixels pixels;
    int delayMs; // stored in hundredths of a second
};

// All frames the same size, at most 256 colours over all of them.
std::vector<BYTE> AnimatedGif(const std::vector<GifFrame>& frames);

// A picture of one colour, in frames of one colour each.
std::vector<BYTE> SolidGif(int width, int height, const std::vector<COLORREF>& colours, int delayMs);

} // namespace skintest
