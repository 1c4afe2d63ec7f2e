// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <vector>

class QAbstractButton;
class QButtonGroup;
class QWidget;

// The quiz window's keyboard, which the window hands its key and focus
// movements to:
// - Tab walks a fixed cycle of five stops, output box, varieties, minerals,
//   "Изведи", "Чисти", each group of options one stop, entered at its checked
//   option, else at its first enabled one in tab order;
// - the arrows move within a group of options and wrap round at its ends: the
//   varieties along the alphabetical order of the grid, Up and Down from one
//   column into the next, Left and Right along the row; an arrow does the
//   same with Shift, Ctrl or Alt held as without;
// - Enter presses a push button, as Space does;
// - Ctrl+Q closes the window, under any keyboard layout.
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
    using Ring = std::vector<QAbstractButton*>;

    const Ring& ringFor(QAbstractButton* option, int key) const;

    QWidget* window_;
    QButtonGroup* commands_;
    std::vector<std::vector<QWidget*>> tabStops_; // in Tab order, each group by tab index
    Ring varietyOrder_;             // down the columns of the grid, in alphabetical order
    std::vector<Ring> varietyRows_; // across the grid, row by row
    Ring speciesOrder_;             // top to bottom
};
