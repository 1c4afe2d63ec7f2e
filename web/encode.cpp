// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "encode.h"

#include <cstdint>
#include <stdexcept>

namespace encode {

std::string html(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            break; // the parser would make LF of CR LF anyway
        default:
            out += c;
        }
    }
    return out;
}

std::string json(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string base64(std::string_view bytes)
{
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = unsigned(std::uint8_t(bytes[i])) << 16 |
                           unsigned(std::uint8_t(bytes[i + 1])) << 8 | std::uint8_t(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0})
            out += kDigits[(n >> shift) & 63];
    }
    if (i < bytes.size()) {
        unsigned n = unsigned(std::uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            n |= unsigned(std::uint8_t(bytes[i + 1])) << 8;
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string inlined(std::string text)
{
    for (std::size_t at = 0; (at = text.find("</", at)) != std::string::npos; at += 3)
        text.replace(at, 2, "<\\/");
    return text;
}

std::string rgb(form::Rgb c)
{
    return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
           std::to_string(c.blue) + ")";
}

std::string filledIn(std::string text,
                     const std::vector<std::pair<std::string_view, std::string>>& values)
{
    for (const auto& [placeholder, value] : values) {
        std::size_t at = text.find(placeholder);
        if (at == std::string::npos)
            throw std::runtime_error("no " + std::string(placeholder) + " to fill in");
        for (; at != std::string::npos; at = text.find(placeholder, at + value.size()))
            text.replace(at, placeholder.size(), value);
    }
    return text;
}

} // namespace encode
