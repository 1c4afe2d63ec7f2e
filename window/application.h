// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QApplication;

// Before the QApplication exists: the window keeps its own colours, font and
// style whatever the desktop's theme, so the theme is told to keep out.
void beforeApplication();

// What the whole program shares before its window is built: its name and
// version, its icon, its style, palette and serif font, and Bulgarian texts
// for the menus Qt itself draws.
void prepareApplication(QApplication& app);
