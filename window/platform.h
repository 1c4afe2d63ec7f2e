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

// Ends the program with STATUS once its event loop is over. On Wayland it
// ends at once, without taking Qt's connection to the compositor down: Qt
// 6.4's Wayland plugin can deadlock there (its event thread waits in
// wl_display_read_events for the main thread, which waits for it to finish),
// seen once in about a hundred closes on sway. The window is gone by then,
// and the program keeps nothing that would need saving.
int platformFinished(int status);
