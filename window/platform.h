// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Starting Qt's window system where a part of it is missing. Call
// guardPlatformStart() before the QApplication is built and platformStarted()
// right after:
// - a desktop that names Wayland alone in QT_QPA_PLATFORM still gets the
//   window on X11 when Qt's Wayland plugin is missing and DISPLAY is set
//   (a -platform option on the command line is left to decide alone);
// - when no window system can be used at all, the program ends with one line
//   saying what to install and status 1, where Qt would abort with a
//   paragraph about reinstalling.
void guardPlatformStart(int argc, char* argv[]);
void platformStarted();
