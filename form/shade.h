// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A pressed button's face: its colour a shade darker, as Qt's
// QColor::darker() makes it, worked out here so that the page paints the
// very colour the window does. Qt turns the colour into HSV in 16-bit
// channels with float arithmetic, divides the value and turns it back; the
// steps below are Qt 6's, float for float (checked against Qt 6.4's
// darker(115) on every 8-bit colour).

#include "form.h"

namespace form {

// How much darker, in Qt's terms: the value divided by 1.15.
inline constexpr int kPressedDarkness = 115;

namespace shade {

inline constexpr int kChannel = 65535; // Qt's 16 bits a channel

constexpr float magnitude(float x)
{
    return x < 0 ? -x : x;
}

// qRound(), qFuzzyCompare() and qFuzzyIsNull() for floats.
constexpr int rounded(float x)
{
    return x >= 0.0f ? int(x + 0.5f) : int(x - 0.5f);
}
constexpr bool nearlyEqual(float a, float b)
{
    return magnitude(a - b) * 100000.f <= std::min(magnitude(a), magnitude(b));
}
constexpr bool nearlyZero(float x)
{
    return magnitude(x) <= 0.00001f;
}

// A 16-bit channel back in 8 bits, rounded.
constexpr int eightBits(int channel)
{
    return (channel + 128) / 257;
}

} // namespace shade

constexpr Rgb darker(Rgb colour, int factor)
{
    using namespace shade;
    const float r = float(colour.red * 0x101) / float(kChannel);
    const float g = float(colour.green * 0x101) / float(kChannel);
    const float b = float(colour.blue * 0x101) / float(kChannel);
    const float most = std::max({r, g, b});
    const float delta = most - std::min({r, g, b});

    // To HSV: hue in hundredths of a degree, or none for a grey.
    int value = rounded(most * kChannel);
    int saturation = 0;
    int hue = -1;
    if (!nearlyZero(delta)) {
        saturation = rounded(delta / most * kChannel);
        float sector = nearlyEqual(r, most)   ? (g - b) / delta
                       : nearlyEqual(g, most) ? 2.0f + (b - r) / delta
                                              : 4.0f + (r - g) / delta;
        sector *= 60.0f;
        if (sector < 0.0f)
            sector += 360.0f;
        hue = rounded(sector * 100.0f);
    }

    value = value * 100 / factor;

    // And back to RGB.
    if (saturation == 0 || hue < 0)
        return {eightBits(value), eightBits(value), eightBits(value)};
    const float h = hue == 36000 ? 0.0f : float(hue) / 6000.0f;
    const float s = float(saturation) / float(kChannel);
    const float v = float(value) / float(kChannel);
    const int i = int(h);
    const float f = h - float(i);
    const int p = eightBits(rounded(v * (1.0f - s) * kChannel));
    const int top = eightBits(rounded(v * kChannel));
    const int falling = eightBits(rounded(v * (1.0f - s * f) * kChannel));
    const int rising = eightBits(rounded(v * (1.0f - s * (1.0f - f)) * kChannel));
    switch (i) {
    case 0:
        return {top, rising, p};
    case 1:
        return {falling, top, p};
    case 2:
        return {p, top, rising};
    case 3:
        return {p, falling, top};
    case 4:
        return {rising, p, top};
    default:
        return {top, p, falling};
    }
}

constexpr Rgb pressedColour(Rgb face)
{
    return darker(face, kPressedDarkness);
}

// The buttons' pressed faces, by button, worked out as the program is built,
// so that no view's own float arithmetic at run time can round them
// differently.
inline constexpr std::array<Rgb, kCommandColours.size()> kPressedCommandColours{
    pressedColour(kCommandColours[0]), pressedColour(kCommandColours[1])};

// What Qt 6's QColor(face).darker(115) gives for the buttons' faces, which
// the window painted before it took the shade from here.
static_assert(kPressedCommandColours[0] == Rgb{167, 222, 167});
static_assert(kPressedCommandColours[1] == Rgb{222, 111, 111});

// The group frames are etched as Qt draws a sunken frame: a line in the
// window colour at half its value, with a white line beside it.
inline constexpr Rgb kEtchShadowColour = darker(kWindowColour, 200);
inline constexpr Rgb kEtchLightColour{255, 255, 255};

} // namespace form
