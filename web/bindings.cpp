// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The quiz and its catalogue as the browser page sees them. The page's
// script implements QuizView on its HTML controls (QuizView.extend) and
// hands it to a Quiz, which then drives the page exactly as it drives the
// desktop window.

#include "catalogue.h"
#include "form.h"
#include "quiz.h"
#include "quizview.h"

#include <emscripten/bind.h>

#include <cstdint>
#include <string>

namespace {

// A QuizView whose operations are the methods of a JavaScript object.
class ScriptView : public emscripten::wrapper<QuizView>
{
public:
    EMSCRIPTEN_WRAPPER(ScriptView);

    void SetOptionChecked(OptionGroup group, std::int16_t index, bool checked) override
    {
        call<void>("SetOptionChecked", group, index, checked);
    }
    void SetOptionEnabled(OptionGroup group, std::int16_t index, bool enabled) override
    {
        call<void>("SetOptionEnabled", group, index, enabled);
    }
    std::string OptionCaption(OptionGroup group, std::int16_t index) const override
    {
        return call<std::string>("OptionCaption", group, index);
    }
    std::string KeyEntry(std::int16_t variety) const override
    {
        return call<std::string>("KeyEntry", variety);
    }
    std::string DescriptionEntry(std::int16_t variety) const override
    {
        return call<std::string>("DescriptionEntry", variety);
    }
    std::string GetOutputText() const override { return call<std::string>("GetOutputText"); }
    void SetOutputText(const std::string& text) override { call<void>("SetOutputText", text); }
};

// The catalogue's texts by index. The page only asks with indices the quiz
// hands it, so at() never throws; if it did, the page's call would fail
// loudly rather than read past the end.
std::string speciesCaption(int species)
{
    return std::string(catalogue::speciesCaptions().at(species));
}
std::string varietyCaption(int variety)
{
    return std::string(catalogue::varieties().at(variety).caption);
}
std::string keyText(int variety)
{
    return std::string(catalogue::varieties().at(variety).keyText);
}
std::string description(int variety)
{
    return std::string(catalogue::varieties().at(variety).description);
}
std::string introductoryText()
{
    return std::string(form::kIntroductoryText);
}

} // namespace

EMSCRIPTEN_BINDINGS(orseta)
{
    using namespace emscripten;

    enum_<OptionGroup>("OptionGroup")
        .value("Varieties", OptionGroup::Varieties)
        .value("Species", OptionGroup::Species);

    class_<QuizView>("QuizView").allow_subclass<ScriptView>("ScriptView");

    class_<Quiz>("Quiz")
        .constructor<QuizView&>()
        .function("OnFormLoad", &Quiz::OnFormLoad)
        .function("OnVarietyClick", &Quiz::OnVarietyClick)
        .function("OnSpeciesClick", &Quiz::OnSpeciesClick)
        .function("OnCommandClick", &Quiz::OnCommandClick);

    function("speciesCaption", &speciesCaption);
    function("varietyCaption", &varietyCaption);
    function("keyText", &keyText);
    function("description", &description);
    function("introductoryText", &introductoryText);
}
