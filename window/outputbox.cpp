// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputbox.h"

#include "layout.h"

OutputBox::OutputBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setAccessibleName(layout::toText(form::kOutputName));
    setAccessibleDescription(layout::toText(form::kOutputDescription));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    // Without this the box would keep Tab for itself, and it has the focus at start.
    setTabChangesFocus(true);
}

std::string OutputBox::text() const
{
    // The document gives each paragraph break back as LF; everything the quiz
    // writes breaks lines with CR LF only.
    return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

void OutputBox::setText(const std::string& text)
{
    setPlainText(QString::fromStdString(text));
}
