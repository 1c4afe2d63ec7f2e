// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRadioButton>

#include <string_view>

class QAccessibleInterface;

// A radio button that keeps its caption exactly as the quiz quotes it, with a
// trailing CR LF or blank, while it shows and announces it as the form does
// (form::shownCaption).
//
// Its accessibility action selects it the way a click does, so voice control
// and switch access reach the quiz like the mouse and the keyboard.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    OptionButton(std::string_view caption, QWidget* parent);

    const QString& caption() const { return caption_; }

    // Makes screen readers and other assistive tools see every OptionButton
    // through the interface above; once per program is enough.
    static void registerAccessibleInterface();

private:
    QString caption_;
};
