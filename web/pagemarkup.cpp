// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every control is in the HTML from the start, in its place, with its text,
// so the browser shows the form as soon as it has the markup and the style,
// and the quiz module only has to wire it up.

#include "pagemarkup.h"

#include "catalogue.h"
#include "encode.h"
#include "form.h"
#include "keyrules.h"

#include <string_view>

namespace {

// Said, in place of the form, where the quiz cannot run.
constexpr std::string_view kUnavailable =
    "Викторината не може да се покаже: нужни са JavaScript и WebAssembly, а този браузър "
    "не ги поддържа или са изключени.";

// The page's id of a control of the form (form::elementId).
std::string id(std::string_view array, int index)
{
    return form::elementId(array, index);
}

// Each group of options is one Tab stop, entered where the keyboard's rules
// enter it at start, with none chosen or retired: the other options are left
// out of the Tab order, as the page's script keeps them.
std::string optionMarkup(form::StopKind group, std::string_view array, int index,
                         std::string_view caption)
{
    const bool entry = form::groupEntry(group, form::OptionStates{}) == index;
    return "<label class=\"option\" id=\"" + id(array, index) +
           "\"><input type=\"radio\" name=\"" + std::string(array) + "\" value=\"" + std::to_string(index) +
           "\" autocomplete=\"off\"" + (entry ? "" : " tabindex=\"-1\"") +
           "><span>" + encode::html(form::shownCaption(caption)) + "</span></label>\n";
}

} // namespace

std::string pageMarkup(const Assets& assets)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"bg\" data-state=\"loading\"" +
                       assets.rootAttributes +
                       ">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += assets.head;
    html += "<title>" + encode::html(form::kCaption) + "</title>\n";
    html += "<meta name=\"description\" content=\"" + encode::html(ORSETA_DESCRIPTION) + "\">\n";
    html += "<meta name=\"theme-color\" content=\"" + encode::rgb(form::kWindowColour) + "\">\n";
    html += assets.noscript;
    html += assets.script;
    html += "</head>\n<body>\n<main id=\"Tesmoril\">\n";
    const std::string box = id(form::kOutputArray, 0);
    html += "<h1 id=\"" + id(form::kBannerArray, 0) + "\">" + encode::html(form::kBannerText) + "</h1>\n";
    html += "<noscript><p class=\"notice\">" + encode::html(kUnavailable) + "</p></noscript>\n";
    html += "<p class=\"notice\" id=\"unavailable\" hidden>" + encode::html(kUnavailable) + "</p>\n";
    html += "<div class=\"quiz\">\n";

    html +=
        "<label class=\"unseen\" for=\"" + box + "\">" + encode::html(form::kOutputName) + "</label>\n";
    // autocomplete="off" on the box and the options: on a reload, or in a tab
    // brought back, Firefox would otherwise put back what they held, over the
    // form as the quiz starts it.
    html += "<textarea id=\"" + box +
            "\" readonly autofocus autocomplete=\"off\" spellcheck=\"false\" aria-describedby=\"" +
            box + "-about\">" +
            encode::html(form::kIntroductoryText) + "</textarea>\n";
    html += "<p class=\"unseen\" id=\"" + box + "-about\">" + encode::html(form::kOutputDescription) +
            "</p>\n";
    // What a screen reader is to read of the box beyond the line the focus
    // brings it to: the introductory text once the page is there, and after a
    // verdict the variety's description. A screen reader reads a box it comes
    // to by its line, and in Chromium not at all past that line.
    html += "<p class=\"unseen\" id=\"" + box + "-spoken\" aria-live=\"polite\"></p>\n";

    html += "<fieldset id=\"" + id(form::kFrameArray, 0) + "\">\n<legend>" + encode::html(form::kVarietyFrameTitle) +
            "</legend>\n<div class=\"options\">\n";
    for (const auto& column : form::kVarietyGrid) {
        for (const form::GridCell& cell : column)
            html += optionMarkup(form::StopKind::Varieties, form::kVarietyArray, cell.variety,
                                 catalogue::varieties().at(cell.variety).caption);
    }
    html += "</div>\n</fieldset>\n";

    html += "<fieldset id=\"" + id(form::kFrameArray, 1) + "\">\n<legend>" + encode::html(form::kSpeciesFrameTitle) +
            "</legend>\n<div class=\"options\">\n";
    for (int k = 0; k < int(catalogue::kSpeciesCount); ++k)
        html += optionMarkup(form::StopKind::Species, form::kSpeciesArray, k,
                             catalogue::speciesCaptions().at(k));
    html += "</div>\n</fieldset>\n";

    html += "<div class=\"commands\">\n";
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        html += "<button type=\"button\" class=\"command\" id=\"" + id(form::kCommandArray, i) +
                "\">" + encode::html(form::kCommandCaptions.at(i)) + "</button>\n";
    html += "</div>\n</div>\n</main>\n</body>\n</html>\n";
    return html;
}
