// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>
#include <QWidget>

// A left click where a learner would click any control of the window: a radio
// button reacts only on its indicator and caption, so at the left end,
// halfway down.
inline void click(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
}
