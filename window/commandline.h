// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program takes no arguments of its own beyond --help and --version; Qt
// takes its own (-platform, -style, …) out of the command line as it starts.

#include <QStringList>

#include <optional>

// --help and --version are answered before Qt starts, so they work where no
// display can be opened. Returns the exit status when the program is to end.
std::optional<int> answerCommandLine(int argc, char* argv[]);

// What is left once Qt has taken its own options is not understood: says so
// in one line and returns the exit status.
std::optional<int> rejectUnknownArguments(const QStringList& arguments);
