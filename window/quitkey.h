// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

// How the window system numbers the physical keys in a key event.
enum class KeyCodes
{
    None,             // no numbers (Qt's offscreen platform): the produced key alone
    Xkb,              // X11 and Wayland: XKB key codes, nativeScanCode()
    WindowsScanCodes, // Windows: set 1 scan codes, nativeScanCode()
    MacVirtualKeys,   // macOS: kVK_ codes, nativeVirtualKey()
};

// The key codes of the window system the program runs on.
KeyCodes keyCodesHere();

// Whether EVENT is Ctrl+Q, the desktop's key for closing a program, by the
// position of the key rather than the letter the layout puts on it: the key
// beside Tab on the letters' top row. Qt's shortcuts go by the produced
// letter, so under a Bulgarian or Russian layout Ctrl with that key would not
// close the program. Where the layout puts a Latin letter on the key, the
// letter decides instead, so AZERTY's Ctrl+A (in the Q key's place) keeps to
// selecting. Any other symbol there goes by the position: BDS's comma, and
// also Dvorak's apostrophe, whose layout has its Q elsewhere as well.
bool isQuitKey(const QKeyEvent& event, KeyCodes codes = keyCodesHere());
