// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagestyle.h"

#include "encode.h"
#include "form.h"

namespace {

using encode::rgb;

// The smallest scale at which the designed form is shown: below it a native
// radio button and the 20 px rows are too small a target for a finger or a
// shaky hand (WCAG 2.5.8 asks for 24 px, or that much space round it).
constexpr double kLeastScale = 1.2;

// The designed form's size at scale 1, in pixels.
constexpr form::Place kFormPixels = form::inPixels(form::kClientArea);

// A length of N pixels of the designed form at the page's scale, worked out
// from the form's whole width (--form): a browser may round a length to its
// own unit (Firefox to 1/60 px), which on one pixel's worth would add up to
// several pixels across the form.
std::string scaled(int pixels)
{
    return pixels == 0 ? "0"
                       : "calc(var(--form) * " + std::to_string(pixels) + " / " +
                             std::to_string(kFormPixels.width) + ")";
}

std::string placeRule(std::string_view id, form::Place twips)
{
    const form::Place p = form::inPixels(twips);
    return "#" + std::string(id) + " { left: " + scaled(p.left) + "; top: " + scaled(p.top) +
           "; width: " + scaled(p.width) + "; height: " + scaled(p.height) + "; }\n";
}

// The page's id of a control of the form (form::elementId).
std::string id(std::string_view array, int index)
{
    return form::elementId(array, index);
}

// The font, the colours and the widths of the lines the form gives, as
// custom properties for PAGE_CSS; a width is a plain number of the form's
// pixels, which PAGE_CSS multiplies by 1px or by the scale (--u). The font
// served is a subset of the first of Times New Roman's twins, so a device
// that has that font installed uses its own.
std::string lookRules(const std::string& fontSource)
{
    const auto number = [](int n) { return std::to_string(n); };
    return "@font-face {\n  font-family: \"Orseta Serif\";\n  src: local(\"" +
           std::string(form::kFontTwins.front()) + "\"), url(" + fontSource +
           ") format(\"woff2\");\n  font-display: swap;\n}\n"
           ":root {\n  --font: \"" +
           std::string(form::kFontFamily) +
           "\", \"Orseta Serif\", serif;\n"
           "  --window: " +
           rgb(form::kWindowColour) + ";\n  --text: " + rgb(form::kTextColour) +
           ";\n  --disabled-text: " + rgb(form::kDisabledTextColour) +
           ";\n  --focus: " + rgb(form::kFocusColour) +
           ";\n  --focus-width: " + number(form::kFocusFrameWidth) +
           ";\n  --frame: " + rgb(form::kFrameColour) +
           ";\n  --frame-line: " + rgb(form::kOutputFrameColour) +
           ";\n  --etch-shadow: " + rgb(form::kEtchShadowColour) +
           ";\n  --etch-light: " + rgb(form::kEtchLightColour) +
           ";\n  --output: " + rgb(form::kOutputColour) +
           ";\n  --output-line-width: " + number(form::kOutputFrameWidth) +
           ";\n  --button-edge: " + rgb(form::kButtonEdgeColour) +
           ";\n  --button-edge-width: " + number(form::kButtonEdgeWidth) +
           ";\n  --banner: " + rgb(form::kBannerColour) + ";\n}\n";
}

// The controls' colours, in both layouts.
std::string colourRules()
{
    std::string css;
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        css += "#" + id(form::kCommandArray, i) + " { background: " + rgb(form::kCommandColours.at(i)) + "; }\n";
    // Pressed, a shade darker, as the window paints it.
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        css += "#" + id(form::kCommandArray, i) + ":active { background: " +
               rgb(form::kPressedCommandColours.at(i)) + "; }\n";
    css += "#" + id(form::kFrameArray, 1) + " .option { background: " + rgb(form::kSpeciesColour) + "; }\n";
    for (int column = 0; column < form::kGridColumns; ++column) {
        std::string selectors;
        for (const form::GridCell& cell : form::kVarietyGrid.at(column))
            selectors += (selectors.empty() ? "#" : ", #") + id(form::kVarietyArray, cell.variety);
        css +=
            selectors + " { background: " + rgb(form::kVarietyColumns.at(column).colour) + "; }\n";
    }
    return css;
}

// The designed form's scale and places, under CONDITION.
std::string placeRules(const std::string& condition)
{
    std::string places = condition + " {\n";
    const std::string width = std::to_string(kFormPixels.width);
    const std::string height = std::to_string(kFormPixels.height);
    // The form as wide as the window allows, keeping its shape; --u is one
    // of its pixels, for the style's finer details.
    places += ":root { --form: min(100vw, calc(100vh * " + width + " / " + height +
              ")); --u: calc(var(--form) / " + width + "); }\n";
    // Where the toolbars of a phone or tablet come and go, the height that
    // is left when they are shown.
    places += "@supports (height: 100dvh) { :root { --form: min(100vw, calc(100dvh * " + width +
              " / " + height + ")); } }\n";
    places += "#Tesmoril { width: " + scaled(kFormPixels.width) +
              "; height: " + scaled(kFormPixels.height) +
              "; font-size: " + scaled(form::kFontPoints * 4 / 3) + "; }\n";
    places += placeRule(id(form::kBannerArray, 0), form::kBanner);
    places += placeRule(id(form::kFrameArray, 0), form::kVarietyFrame);
    places += placeRule(id(form::kFrameArray, 1), form::kSpeciesFrame);
    for (int column = 0; column < form::kGridColumns; ++column) {
        for (int row = 0; row < form::kGridRows; ++row)
            places += placeRule(id(form::kVarietyArray, form::kVarietyGrid.at(column).at(row).variety),
                                form::varietyOption(column, row));
    }
    for (int k = 0; k < int(catalogue::kSpeciesCount); ++k)
        places += placeRule(id(form::kSpeciesArray, k), form::speciesOption(k).place);
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        places += placeRule(id(form::kCommandArray, i), form::kCommands.at(i).place);
    places += placeRule(id(form::kOutputArray, 0), form::kOutputBox.place);
    places += "}\n";
    return places;
}

} // namespace

// The designed form fills the window as far as its shape allows.
std::string pageStyle(const std::string& pageCss, const std::string& fontSource)
{
    const int leastWidth = int(kFormPixels.width * kLeastScale + 0.999);
    const int leastHeight = int(kFormPixels.height * kLeastScale + 0.999);
    const std::string designed = "@media (min-width: " + std::to_string(leastWidth) +
                                 "px) and (min-height: " + std::to_string(leastHeight) + "px)";

    std::string page = pageCss;
    const std::string marker = "@media (--designed)";
    for (std::size_t at; (at = page.find(marker)) != std::string::npos;)
        page.replace(at, marker.size(), designed);
    return lookRules(fontSource) + colourRules() + page + placeRules(designed);
}
