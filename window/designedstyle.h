// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's look, the same on every desktop: Qt's Fusion style with the
// window's own palette, flat button colours and one way of showing the
// keyboard focus.

#include <QPalette>
#include <QProxyStyle>

// Every role of every colour group, so nothing is left for a desktop palette
// to fill in.
QPalette designedPalette();

// Fusion, with these differences:
// - The focus is a dark blue frame (form::kFocusColour, kFocusFrameWidth), for
//   every control: round an option's caption when the focus came from the
//   keyboard, and along the edge of a push button or the output box whenever
//   it has the focus. Fusion's own marks are too faint on the pastel colours,
//   or tint the whole control.
// - A push button is flat in its palette's Button colour with a dark edge
//   (form::kButtonEdgeColour), a shade darker while pressed
//   (form::kPressedCommandColours); Fusion paints the colour as a gradient.
// - The output box has a frame of its own: grey (form::kOutputFrameColour,
//   kOutputFrameWidth), dark blue with the focus.
// - Group boxes have a classic etched frame below the title. Fusion draws its
//   rounded frame from a PNG, and Qt reads any image only after loading every
//   image-format plugin on the computer (GIF, ICO, JPEG, and SVG with Qt SVG):
//   about a millisecond before the window could first be drawn.
// Nothing here is cached by palette, and no palette changes with the focus,
// so Fusion's pixmap cache does not grow as the learner works.
class DesignedStyle : public QProxyStyle
{
public:
    DesignedStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};
