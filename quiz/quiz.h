// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The whole behaviour of the quiz: what it remembers between the learner's
// selections, how "Изведи" judges a pairing and what it writes, and how
// "Чисти" starts over. It reaches the window only through QuizView.

#include "quizview.h"

#include <cstdint>

class Quiz
{
public:
    explicit Quiz(QuizView& view) : view_(view) {}

    // The window has been built and is about to be shown.
    void OnFormLoad();
    void OnVarietyClick(std::int16_t variety);
    void OnSpeciesClick(std::int16_t species);
    // 0 checks the pairing, 1 starts over; any other button does nothing.
    void OnCommandClick(std::int16_t button);

    // Unsets both species, and clears and enables every option. Leaves the output alone.
    void ResetQuiz();
    void ClearOutput();

    // True when the species last selected is the one the answer key gives for
    // the variety last selected; two unset sides (-1, -1) do not count.
    bool IsPairingCorrect() const;

    int SelectedSpecies() const { return SelectedSpecies_; }
    double ExpectedSpecies() const { return ExpectedSpecies_; }
    std::int16_t SelectedVariety() const { return SelectedVariety_; }

private:
    void check();

    QuizView& view_;
    // -1: none selected since the last reset.
    int SelectedSpecies_ = -1;
    // The answer key of SelectedVariety_; -1: none selected since the last reset.
    double ExpectedSpecies_ = -1;
    // Survives a reset: only a new selection changes it.
    std::int16_t SelectedVariety_ = 0;
};
