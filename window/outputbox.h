// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

#include <string>

// The box the quiz writes its verdicts and descriptions into. The learner
// reads, selects and copies from it, and a screen reader reads it when it
// takes the focus; it offers its scroll bar at all times and wraps at word
// boundaries. Its frame, drawn by the application's style, turns dark with
// the focus.
//
// Its text goes in and out exactly as the quiz writes it, lines broken by
// CR LF: the document keeps each CR LF as a paragraph break.
class OutputBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit OutputBox(QWidget* parent);

    std::string text() const;
    void setText(const std::string& text);
};
