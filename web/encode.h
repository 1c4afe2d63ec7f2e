// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Text as each of the page's languages needs it written.

#include "form.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace encode {

// Text in HTML, in an element or a quoted attribute.
std::string html(std::string_view text);

// Text in a JSON or JavaScript string in double quotes; the texts here hold
// no control characters but line breaks.
std::string json(std::string_view text);

std::string base64(std::string_view bytes);

// Text inside a <script> or <style> element, where "</" could end it early.
std::string inlined(std::string text);

// A colour in CSS: "rgb(192, 192, 255)".
std::string rgb(form::Rgb c);

// TEMPLATE with each placeholder ("@NAME@") replaced by its text.
std::string filledIn(std::string text,
                     const std::vector<std::pair<std::string_view, std::string>>& values);

} // namespace encode
