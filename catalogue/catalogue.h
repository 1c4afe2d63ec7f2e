// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The fixed body of knowledge the quiz asks about: five mineral species and
// thirty-three varieties, each variety with its answer key and description.
// All text is UTF-8; a line break inside a text is CR LF. Captions are kept
// exactly as the learner's answer line quotes them, trailing CR LF and blanks
// included, so nothing here may be trimmed.

#include <array>
#include <cstddef>
#include <string_view>

namespace catalogue {

inline constexpr std::size_t kSpeciesCount = 5;
inline constexpr std::size_t kVarietyCount = 33;

struct Variety
{
    std::string_view caption;
    std::string_view keyText; // the species index as a single digit, read by ReadLeadingNumber
    std::string_view description;
};

// Species captions by species index 0..4.
const std::array<std::string_view, kSpeciesCount>& speciesCaptions();

// Varieties by variety index 0..32: grouped by species, alphabetical within a species.
const std::array<Variety, kVarietyCount>& varieties();

} // namespace catalogue
