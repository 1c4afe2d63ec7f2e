// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyrules.h"

#include <QObject>

#include <optional>

class QAbstractButton;
class QButtonGroup;
class QWidget;

// The quiz window's keyboard, which the window hands its key and focus
// movements to. Where Tab and the arrows go is form/keyrules.h's; here the
// keys become its questions, and its answers focus and click the widgets.
// Besides, Enter presses a push button, as Space does, and Ctrl+Q closes the
// window, under any keyboard layout.
class Keyboard : public QObject
{
    Q_OBJECT

public:
    // Takes the key presses of every control of the groups and of OUTPUT.
    Keyboard(QWidget* window, QButtonGroup* varieties, QButtonGroup* species,
             QButtonGroup* commands, QWidget* output);

    // The window's focusNextPrevChild(): false where the focus is on none of
    // the controls above, for Qt's own chain to take over.
    bool focusNextPrevChild(bool next);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<form::Focusable> focusableOf(QObject* control) const;
    QWidget* widgetOf(form::Focusable control) const;
    form::OptionStates optionStates() const;

    QWidget* window_;
    QButtonGroup* varieties_;
    QButtonGroup* species_;
    QButtonGroup* commands_;
    QWidget* output_;
};
