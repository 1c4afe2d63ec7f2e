// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Linked into every program of the sanitized build, and only there.
//
// LeakSanitizer reports when the process ends, and names each frame of a
// leak's stack by the library it lies in: tests/lsan.supp suppresses leaks by
// library. A library unloaded before then leaves frames of an "<unknown
// module>" that no suppression can name (Mesa's EGL unloads its driver when
// Qt's Wayland plugin terminates the display). So nothing is ever unloaded
// here: this dlclose() stands in for the C library's, for every library the
// program loads, and leaves the library where it is.
extern "C" int dlclose(void*)
{
    return 0;
}
