// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A test program that cannot run on this machine at all (a style, a theme or
// a window system missing) ends with status 77, which CTest reports as a skip.
// A row skipped on its own (QSKIP) leaves the status to the rows that ran, so
// a failure beside it still fails the test.

#include <QTest>

namespace skipall {

inline bool& skipped()
{
    static bool whole = false;
    return whole;
}

// Qt Test's status, or 77 when the program skipped as a whole and nothing failed.
inline int status(int qtestStatus)
{
    return qtestStatus == 0 && skipped() ? 77 : qtestStatus;
}

} // namespace skipall

// In initTestCase(): skips every test of the program.
#define SKIP_WHOLE_PROGRAM(reason)                                                                 \
    do {                                                                                           \
        skipall::skipped() = true;                                                                 \
        QSKIP(reason);                                                                             \
    } while (false)
