// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "catalogue.h"
#include "quizview.h"

#include <array>
#include <span>
#include <string>
#include <vector>

// A QuizView on plain data, filled from the catalogue. It keeps every text
// exactly and logs each call, so a test can check what the quiz did and in
// which order.
class FakeQuizView : public QuizView
{
public:
    struct Option
    {
        bool checked = false;
        bool enabled = true;
    };

    std::array<Option, catalogue::kVarietyCount> varieties;
    std::array<Option, catalogue::kSpeciesCount> species;
    std::string output = "intro";
    mutable std::vector<std::string> log; // reads are logged too

    Option& option(OptionGroup group, std::int16_t index)
    {
        return group == OptionGroup::Varieties ? varieties.at(index) : species.at(index);
    }

    // What a learner's selection does to the options before the quiz hears of it.
    void select(OptionGroup group, std::int16_t index)
    {
        for (Option& o : group == OptionGroup::Varieties ? std::span<Option>(varieties)
                                                         : std::span<Option>(species))
            o.checked = false;
        option(group, index).checked = true;
    }

    void SetOptionChecked(OptionGroup group, std::int16_t index, bool checked) override
    {
        log.push_back(name("checked", group, index) + (checked ? " on" : " off"));
        option(group, index).checked = checked;
    }
    void SetOptionEnabled(OptionGroup group, std::int16_t index, bool enabled) override
    {
        log.push_back(name("enabled", group, index) + (enabled ? " on" : " off"));
        option(group, index).enabled = enabled;
    }
    std::string OptionCaption(OptionGroup group, std::int16_t index) const override
    {
        log.push_back(name("caption", group, index));
        return std::string(group == OptionGroup::Varieties
                               ? catalogue::varieties().at(index).caption
                               : catalogue::speciesCaptions().at(index));
    }
    std::string KeyEntry(std::int16_t variety) const override
    {
        log.push_back("key " + std::to_string(variety));
        return std::string(catalogue::varieties().at(variety).keyText);
    }
    std::string DescriptionEntry(std::int16_t variety) const override
    {
        log.push_back("description " + std::to_string(variety));
        return std::string(catalogue::varieties().at(variety).description);
    }
    std::string GetOutputText() const override
    {
        log.push_back("get");
        return output;
    }
    void SetOutputText(const std::string& text) override
    {
        log.push_back("set");
        output = text;
    }

private:
    static std::string name(const char* what, OptionGroup group, std::int16_t index)
    {
        return std::string(what) + (group == OptionGroup::Varieties ? " V" : " S") +
               std::to_string(index);
    }
};
