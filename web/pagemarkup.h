// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// What differs between the site's page and the one file: where the style,
// script and icon come from.
struct Assets
{
    std::string head;     // links to the style, icon and manifest, or the style itself
    std::string script;   // the script element
    std::string noscript; // what hides the form where scripts do not run
    std::string rootAttributes;
};

// The whole page, every control written out in Tab order: the output box,
// the varieties, the minerals, then the two buttons, each as the quiz leaves
// it at start: enabled, none chosen, the box with the introductory text.
std::string pageMarkup(const Assets& assets);
