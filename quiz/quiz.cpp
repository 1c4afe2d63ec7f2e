// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz.h"

#include "catalogue.h"
#include "readleadingnumber.h"

namespace {
constexpr auto kLastVariety = static_cast<std::int16_t>(catalogue::kVarietyCount - 1);
constexpr auto kLastSpecies = static_cast<std::int16_t>(catalogue::kSpeciesCount - 1);
constexpr const char* kLineBreak = "\r\n";
} // namespace

void Quiz::OnFormLoad()
{
    ResetQuiz();
}

void Quiz::ResetQuiz()
{
    SelectedSpecies_ = -1;
    ExpectedSpecies_ = -1;
    for (std::int16_t v = 0; v <= kLastVariety; ++v) {
        view_.SetOptionChecked(OptionGroup::Varieties, v, false);
        view_.SetOptionEnabled(OptionGroup::Varieties, v, true);
    }
    for (std::int16_t k = 0; k <= kLastSpecies; ++k) {
        view_.SetOptionChecked(OptionGroup::Species, k, false);
        view_.SetOptionEnabled(OptionGroup::Species, k, true);
    }
}

void Quiz::ClearOutput()
{
    view_.SetOutputText({});
}

void Quiz::OnVarietyClick(std::int16_t variety)
{
    ExpectedSpecies_ = catalogue::ReadLeadingNumber(view_.KeyEntry(variety));
    SelectedVariety_ = variety;
    ClearOutput();
}

void Quiz::OnSpeciesClick(std::int16_t species)
{
    SelectedSpecies_ = species;
    ClearOutput();
}

void Quiz::OnCommandClick(std::int16_t button)
{
    switch (button) {
    case 0:
        check();
        break;
    case 1:
        ResetQuiz();
        view_.SetOutputText("Направете своя избор!");
        break;
    default:
        break;
    }
}

bool Quiz::IsPairingCorrect() const
{
    return SelectedSpecies_ == ExpectedSpecies_ && ExpectedSpecies_ + SelectedSpecies_ >= 0;
}

void Quiz::check()
{
    if (!IsPairingCorrect()) {
        view_.SetOutputText(std::string("Грешен отговор - опитайте отново.") + kLineBreak);
        return;
    }

    const auto species = static_cast<std::int16_t>(SelectedSpecies_);
    const std::string varietyCaption =
        view_.OptionCaption(OptionGroup::Varieties, SelectedVariety_);
    const std::string speciesCaption = view_.OptionCaption(OptionGroup::Species, species);
    view_.SetOutputText("Правилно!  " + varietyCaption + " -> " + speciesCaption + kLineBreak);
    // Appended to what the box holds now, not to the line just built. The box
    // is read before the description: the operands of + have no fixed order.
    const std::string shown = view_.GetOutputText();
    view_.SetOutputText(shown + view_.DescriptionEntry(SelectedVariety_) + kLineBreak);

    // The variety is retired until "Чисти"; the selection itself stays as it was.
    view_.SetOptionChecked(OptionGroup::Varieties, SelectedVariety_, false);
    view_.SetOptionEnabled(OptionGroup::Varieties, SelectedVariety_, false);
}
