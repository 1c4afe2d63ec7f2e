// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick for orseta's start-up: the least a Qt Widgets program does to
// show a window, one label in it.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Орсета"));
    label.show();
    return QApplication::exec();
}
