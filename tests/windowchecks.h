// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Checks of the drawn window that more than one test makes: contrast as WCAG
// reckons it, and captions that stick out of the room the style gives them.

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <cmath>

namespace windowchecks {

inline double luminance(QColor c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// From 1 (the same) to 21 (black on white).
inline double contrast(QColor a, QColor b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The family a font resolved to, without the foundry Qt adds when two
// foundries offer it ("Nimbus Roman [urw]").
inline QString familyOf(const QFont& font)
{
    const QString family = QFontInfo(font).family();
    return family.left(family.indexOf(QLatin1String(" [")));
}

// Where the style puts a control's caption.
inline QRect captionRect(QWidget* w)
{
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        return frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                              QStyle::SC_GroupBoxLabel, frame);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
        return button->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents
                                                     : QStyle::SE_PushButtonContents,
                                               &option, button);
    }
    return qobject_cast<QLabel*>(w)->contentsRect();
}

// Whether a caption's ink fits its room, set as the styles set it: from the
// left or centred across, centred down. Ink rather than line height, which
// the URW fonts give generously (22 px where Liberation has 18).
inline bool fits(const QString& text, const QFont& font, const QWidget* w, QRectF room)
{
    const QFontMetricsF metrics(font, w);
    const QRectF ink = metrics.tightBoundingRect(text).translated(
        room.left(), room.top() + (room.height() - metrics.height()) / 2 + metrics.ascent());
    return metrics.horizontalAdvance(text) <= room.width() && ink.top() >= room.top() - 0.5 &&
           ink.bottom() <= room.bottom() + 0.5;
}

// The buttons, frames and banner whose captions stick out of their room.
inline QStringList clippedCaptions(const QWidget* window)
{
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            text = frame->title();
        else if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else
            continue;
        if (!fits(text, w->font(), w, captionRect(w)))
            clipped << w->objectName();
    }
    return clipped;
}

} // namespace windowchecks
