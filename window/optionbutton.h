// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRadioButton>

class QAccessibleInterface;

// A radio button that keeps its caption exactly as the quiz quotes it, with a
// trailing CR LF or blank, while it shows and announces the caption without
// them: a line break would push the visible text out of the button, and a
// screen reader should not read out a stray blank.
//
// Its accessibility action selects it the way a click does, so voice control
// and switch access reach the quiz like the mouse and the keyboard.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    OptionButton(const QString& caption, QWidget* parent);

    const QString& caption() const { return caption_; }

    // Makes screen readers and other assistive tools see every OptionButton
    // through the interface above; once per program is enough.
    static void registerAccessibleInterface();

private:
    QString caption_;
};
