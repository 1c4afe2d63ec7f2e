// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The quiz and its catalogue as the browser page sees them. The page's
// script implements QuizView on its HTML controls (QuizView.extend) and
// hands it to a Quiz, which then drives the page exactly as it drives the
// desktop window.

#include "catalogue.h"
#include "form.h"
#include "keyrules.h"
#include "quiz.h"
#include "quizview.h"

#include <emscripten/bind.h>

#include <cstdint>
#include <optional>
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

// The keyboard's rules (keyrules.h) for the page, which describes its
// controls in plain objects: a control as {kind, index}, the options' states
// as {varietyRetired: [...], speciesRetired: [...], chosenVariety,
// chosenSpecies}, and a key as its keydown event.
using emscripten::val;

form::OptionStates optionStates(const val& states)
{
    form::OptionStates read;
    for (int i = 0; i < int(read.varietyRetired.size()); ++i)
        read.varietyRetired.at(i) = states["varietyRetired"][i].as<bool>();
    for (int i = 0; i < int(read.speciesRetired.size()); ++i)
        read.speciesRetired.at(i) = states["speciesRetired"][i].as<bool>();
    read.chosenVariety = states["chosenVariety"].as<int>();
    read.chosenSpecies = states["chosenSpecies"].as<int>();
    return read;
}

std::optional<form::Arrow> arrowOf(const std::string& key)
{
    if (key == "ArrowUp")
        return form::Arrow::Up;
    if (key == "ArrowDown")
        return form::Arrow::Down;
    if (key == "ArrowLeft")
        return form::Arrow::Left;
    if (key == "ArrowRight")
        return form::Arrow::Right;
    return std::nullopt;
}

// Whether the page takes a keydown as an arrow among the options.
bool isPlainArrow(const val& event)
{
    return arrowOf(event["key"].as<std::string>()) &&
           form::isPlainArrow({event["shiftKey"].as<bool>(), event["ctrlKey"].as<bool>(),
                               event["altKey"].as<bool>(), event["metaKey"].as<bool>()},
                              form::KeyHost::Browser);
}

// The option a group is entered at, or -1.
int groupEntry(form::StopKind group, const val& states)
{
    return form::groupEntry(group, optionStates(states)).value_or(-1);
}

// The control Tab or Shift+Tab goes to, or null to leave the key to the browser.
val tabTarget(form::Focusable from, bool backward, const val& states)
{
    const auto to = form::tabTarget(from, backward, optionStates(states), form::KeyHost::Browser);
    return to ? val(*to) : val::null();
}

// Where an arrow goes from an option, {to, choiceFollows}, or null to stay.
val arrowTarget(form::Focusable from, const std::string& key, const val& states)
{
    const auto arrow = arrowOf(key);
    const auto move = arrow ? form::arrowTarget(from, *arrow, optionStates(states)) : std::nullopt;
    return move ? val(*move) : val::null();
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

    enum_<form::StopKind>("StopKind")
        .value("OutputBox", form::StopKind::OutputBox)
        .value("Varieties", form::StopKind::Varieties)
        .value("Species", form::StopKind::Species)
        .value("Command", form::StopKind::Command);
    value_object<form::Focusable>("Focusable")
        .field("kind", &form::Focusable::kind)
        .field("index", &form::Focusable::index);
    value_object<form::ArrowMove>("ArrowMove")
        .field("to", &form::ArrowMove::to)
        .field("choiceFollows", &form::ArrowMove::choiceFollows);
    function("isPlainArrow", &isPlainArrow);
    function("groupEntry", &groupEntry);
    function("tabTarget", &tabTarget);
    function("arrowTarget", &arrowTarget);
}
