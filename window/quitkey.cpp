// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#include "quitkey.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// The key beside Tab, where US, Bulgarian and Russian keyboards have Q, Я, Й
// or the comma.
constexpr quint32 kXkbQ = 24; // evdev KEY_Q + 8
constexpr quint32 kWindowsQ = 0x10;
constexpr quint32 kMacQ = 12; // kVK_ANSI_Q

} // namespace

KeyCodes keyCodesHere()
{
#if defined(Q_OS_WIN)
    return KeyCodes::WindowsScanCodes;
#elif defined(Q_OS_MACOS)
    return KeyCodes::MacVirtualKeys;
#else
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")))
        return KeyCodes::Xkb;
    return KeyCodes::None;
#endif
}

bool isQuitKey(const QKeyEvent& event, KeyCodes codes)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return event.key() == Qt::Key_Q;
    switch (codes) {
    case KeyCodes::Xkb:
        return event.nativeScanCode() == kXkbQ;
    case KeyCodes::WindowsScanCodes:
        return event.nativeScanCode() == kWindowsQ;
    case KeyCodes::MacVirtualKeys:
        return event.nativeVirtualKey() == kMacQ;
    case KeyCodes::None:
        break;
    }
    return false;
}
