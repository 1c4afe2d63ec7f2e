// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The designed window (form.h) in Qt's terms: a place in twips becomes a
// rectangle in device-independent pixels, a colour a QColor, a text a QString.

#include "form.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <string_view>

namespace layout {

constexpr QRect toPixels(form::Place twips)
{
    const form::Place p = form::inPixels(twips);
    return {p.left, p.top, p.width, p.height};
}

inline QString toText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QColor toColor(form::Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace layout
