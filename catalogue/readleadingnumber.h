// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

namespace catalogue {

// Reads the decimal number at the start of a text, after any leading blanks:
// "  3" and "3 кварц" give 3, "-1.5x" gives -1.5. A text that does not start
// with a number gives 0.
double ReadLeadingNumber(std::string_view text);

} // namespace catalogue
