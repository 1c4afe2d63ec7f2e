// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the quiz needs of its window. The real window implements it on its
// controls; tests implement it on plain data. Texts are UTF-8 with CR LF line
// breaks and must come back exactly as they were stored.

#include <cstdint>
#include <string>

enum class OptionGroup
{
    Varieties, // Option1(0..32)
    Species,   // Option2(0..4)
};

class QuizView
{
public:
    virtual ~QuizView() = default;

    // Checking or clearing an option here never counts as the learner's selection.
    virtual void SetOptionChecked(OptionGroup group, std::int16_t index, bool checked) = 0;
    // A disabled option cannot be selected by the learner.
    virtual void SetOptionEnabled(OptionGroup group, std::int16_t index, bool enabled) = 0;
    virtual std::string OptionCaption(OptionGroup group, std::int16_t index) const = 0;

    virtual std::string KeyEntry(std::int16_t variety) const = 0;
    virtual std::string DescriptionEntry(std::int16_t variety) const = 0;

    virtual std::string GetOutputText() const = 0;
    virtual void SetOutputText(const std::string& text) = 0;

protected:
    QuizView() = default;
    QuizView(const QuizView&) = default;
    QuizView& operator=(const QuizView&) = default;
};
