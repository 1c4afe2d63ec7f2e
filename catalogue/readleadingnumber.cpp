// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readleadingnumber.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <string>

namespace catalogue {

namespace {
bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
} // namespace

double ReadLeadingNumber(std::string_view text)
{
    std::size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string_view::npos)
        return 0;
    text.remove_prefix(pos);

    // Find the extent of [+-]digits[.digits] ourselves: from_chars alone would
    // also accept "inf", "nan" and exponents, which are not numbers here.
    bool negative = false;
    std::size_t end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
        negative = text[end] == '-';
        ++end;
    }
    const std::size_t begin = end;
    bool anyDigit = false;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
        anyDigit = true;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;

    double value = 0;
#if defined(__cpp_lib_to_chars)
    std::from_chars(text.data() + begin, text.data() + end, value, std::chars_format::fixed);
#else
    // A C++ library without from_chars for doubles (Emscripten's, for the
    // browser page). Its C library, musl, reads '.' as the decimal point in
    // every locale, so strtod reads the same digits the same way.
    const std::string digits(text.substr(begin, end - begin));
    value = std::strtod(digits.c_str(), nullptr);
#endif
    return negative ? -value : value;
}

} // namespace catalogue
