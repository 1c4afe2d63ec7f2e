// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

// The page's whole style sheet: what comes from the designed form (the
// colours, the font, the places and the scale), then PAGE_CSS, the rest of
// the look, in which "@media (--designed)" is the condition for showing the
// designed form. FONT_SOURCE is the url() of the served font, quoted.
std::string pageStyle(const std::string& pageCss, const std::string& fontSource);

// The style sheet that hides the form where scripts do not run.
inline constexpr std::string_view kNoScriptCss = ".quiz { display: none; }\n";
