// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the quiz should write, restated for the tests from the learner's side:
// which species each variety belongs to and the texts of the verdicts.

#include "catalogue.h"

#include <string>

namespace answerkey {

inline const std::string kWrong = "Грешен отговор - опитайте отново.\r\n";
inline const std::string kClear = "Направете своя избор!";

// The species of each variety, from the runs of indices the catalogue groups them in.
inline int speciesOf(int variety)
{
    return variety <= 6 ? 0 : variety <= 12 ? 1 : variety <= 16 ? 2 : variety <= 30 ? 3 : 4;
}

inline std::string rightAnswer(int variety)
{
    const auto& v = catalogue::varieties().at(variety);
    return "Правилно!  " + std::string(v.caption) + " -> " +
           std::string(catalogue::speciesCaptions().at(speciesOf(variety))) + "\r\n" +
           std::string(v.description) + "\r\n";
}

} // namespace answerkey
