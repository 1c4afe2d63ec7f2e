// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The quiz window as it is designed, for every view of it: the desktop
// window and the browser page both build themselves from this and from the
// catalogue, and neither keeps a copy of a place, colour or text of its own.
//
// Places are in twips (1440 to the inch), as the window is described; a view
// turns them into pixels, one pixel to fifteen twips at its scale. Each place
// is relative to the control's container: the window, or the frame that holds
// an option. Plain C++: no toolkit here.

#include "catalogue.h"
#include "formcaption.h"
#include "introtext.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace form {

struct Place
{
    int left;
    int top;
    int width;
    int height;
};

struct Rgb
{
    int red;
    int green;
    int blue;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// A control that can take the focus, with its place in the Tab order.
struct Control
{
    Place place;
    int tabIndex;
};

inline constexpr int kTwipsPerPixel = 15;

// A place in pixels at scale 1, the one place twips become pixels.
constexpr Place inPixels(Place p)
{
    return {p.left / kTwipsPerPixel, p.top / kTwipsPerPixel, p.width / kTwipsPerPixel,
            p.height / kTwipsPerPixel};
}

// The window's title: the project's home page, two blanks, then "Тесморил".
inline constexpr std::string_view kCaption = kFormCaption;

// Every control is drawn in 12 pt Times New Roman, regular.
inline constexpr std::string_view kFontFamily = "Times New Roman";
inline constexpr int kFontPoints = 12;
// Its metric twins, which set every caption in the same widths: where Times
// New Roman is missing, the first of these that is there. The page brings a
// subset of the first for a device that has none.
inline constexpr std::array<std::string_view, 3> kFontTwins{"Liberation Serif", "Tinos",
                                                            "Nimbus Roman"};

inline constexpr Place kClientArea{0, 0, 7710, 6660};
inline constexpr Rgb kWindowColour{192, 192, 255};
inline constexpr Rgb kTextColour{0, 0, 0};
inline constexpr Rgb kDisabledTextColour{96, 96, 96};

// What has the keyboard focus is marked in this dark blue: at least 3:1
// against every background of the window.
inline constexpr Rgb kFocusColour{0, 0, 128};
// Its frame, in pixels at scale 1, drawn just inside the control's edge.
inline constexpr int kFocusFrameWidth = 2;

inline constexpr std::string_view kBannerText = "Орсета";
inline constexpr Place kBanner{1680, 0, 4575, 375};
inline constexpr Rgb kBannerColour{255, 192, 128};

inline constexpr std::string_view kVarietyFrameTitle = "Разновидност";
inline constexpr std::string_view kSpeciesFrameTitle = "Минерал";
inline constexpr Place kVarietyFrame{1920, 480, 5655, 3735};
inline constexpr Place kSpeciesFrame{120, 480, 1455, 1935};
inline constexpr Rgb kFrameColour{192, 192, 255};
// The frames are etched, as Qt draws a sunken frame: a line in the window
// colour at half its value (QColor::darker(200)), and a white one beside it.
inline constexpr Rgb kEtchShadowColour{96, 96, 127};
inline constexpr Rgb kEtchLightColour{255, 255, 255};

// The controls are named as the designed form names them: arrays of
// controls, each control by its array and index. The window names its widgets
// so ("Option1(17)"); the page, whose ids go into CSS selectors and
// addresses, with a hyphen ("Option1-17").
inline constexpr std::string_view kBannerArray = "Label1";
inline constexpr std::string_view kFrameArray = "Frame1"; // 0 varieties, 1 minerals
inline constexpr std::string_view kVarietyArray = "Option1";
inline constexpr std::string_view kSpeciesArray = "Option2";
inline constexpr std::string_view kCommandArray = "Command1";
inline constexpr std::string_view kOutputArray = "Text1";
inline std::string controlName(std::string_view array, int index)
{
    return std::string(array) + "(" + std::to_string(index) + ")";
}
inline std::string elementId(std::string_view array, int index)
{
    return std::string(array) + "-" + std::to_string(index);
}

// 0 "Изведи", 1 "Чисти".
inline constexpr std::array<std::string_view, 2> kCommandCaptions{"Изведи", "Чисти"};

// What an option shows, and a screen reader reads, of its caption. The quiz
// keeps captions as they were stored, some ending in a blank ("карнеол ") or
// a line break ("берил\r\n"), since its verdicts quote them so; the ending is
// not seen (a line break would push the text out of the option) nor read.
constexpr bool isCaptionEnding(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}
constexpr std::string_view shownCaption(std::string_view caption)
{
    while (!caption.empty() && isCaptionEnding(caption.back()))
        caption.remove_suffix(1);
    return caption;
}
static_assert(shownCaption("карнеол ") == "карнеол" && shownCaption("берил\r\n") == "берил");
inline constexpr std::array<Control, 2> kCommands{{
    {{120, 2760, 975, 375}, 19},
    {{720, 3720, 975, 375}, 20},
}};
inline constexpr std::array<Rgb, 2> kCommandColours{{{192, 255, 192}, {255, 128, 128}}};
// Pressed, a button's face is a shade darker: its value in HSV divided by
// 1.15, as Qt's QColor::darker(115) makes it.
inline constexpr std::array<Rgb, 2> kPressedCommandColours{{{167, 222, 167}, {222, 111, 111}}};
// A button's edge while it has no focus (with the focus, the focus frame).
inline constexpr Rgb kButtonEdgeColour{64, 64, 64};
inline constexpr int kButtonEdgeWidth = 1;

// The output box: its name and description are what a screen reader says of it.
inline constexpr std::string_view kOutputName = "Резултат";
inline constexpr std::string_view kOutputDescription =
    "Отговорът на викторината и описанието на разновидността";
inline constexpr Control kOutputBox{{120, 4320, 7455, 2175}, 0};
inline constexpr Rgb kOutputFrameColour{128, 128, 128};
inline constexpr int kOutputFrameWidth = 2;
inline constexpr Rgb kOutputColour{255, 255, 255};

inline constexpr int kOptionHeight = 300;

// Species options, by species index, one under another in their frame.
inline constexpr Rgb kSpeciesColour{255, 192, 255};
inline constexpr std::array<int, catalogue::kSpeciesCount> kSpeciesTabIndices{12, 17, 14, 13, 15};

constexpr Control speciesOption(int species)
{
    return {{120, kOptionHeight * (species + 1), 1215, kOptionHeight},
            kSpeciesTabIndices.at(species)};
}

// Variety options: three columns of eleven rows, filled column by column in
// alphabetical order of caption, which is not the order of the indices.
struct VarietyColumn
{
    int left;
    int width;
    Rgb colour;
};

struct GridCell
{
    std::int16_t variety;
    int tabIndex;
};

inline constexpr int kGridColumns = 3;
inline constexpr int kGridRows = 11;
static_assert(kGridColumns * kGridRows == catalogue::kVarietyCount);

inline constexpr std::array<VarietyColumn, kGridColumns> kVarietyColumns{{
    {120, 1455, {192, 255, 192}},
    {1680, 2295, {128, 255, 128}},
    {4080, 1455, {192, 255, 192}},
}};

// clang-format off
inline constexpr std::array<std::array<GridCell, kGridRows>, kGridColumns> kVarietyGrid{{
    {{{0, 16}, {1, 6}, {7, 21}, {17, 24}, {18, 25}, {8, 10},
      {19, 26}, {13, 27}, {2, 8}, {14, 28}, {3, 22}}},
    {{{9, 7}, {20, 29}, {15, 30}, {21, 31}, {4, 5}, {22, 32},
      {23, 33}, {24, 34}, {10, 23}, {25, 35}, {26, 36}}},
    {{{31, 37}, {32, 38}, {27, 39}, {5, 11}, {11, 40}, {16, 41},
      {12, 42}, {28, 43}, {6, 9}, {29, 44}, {30, 45}}},
}};
// clang-format on

constexpr bool gridHoldsEachVarietyOnce()
{
    std::array<int, catalogue::kVarietyCount> seen{};
    for (const auto& column : kVarietyGrid) {
        for (const GridCell& cell : column) {
            if (cell.variety < 0 || cell.variety >= int(seen.size()) ||
                seen.at(cell.variety)++ != 0)
                return false;
        }
    }
    return true;
}
static_assert(gridHoldsEachVarietyOnce());

constexpr bool tabIndicesAreDistinct()
{
    // A fixed array rather than a vector: not every C++ library this is
    // built with has a constexpr vector yet (Emscripten's has not).
    std::array<int, 1 + kCommands.size() + catalogue::kSpeciesCount + catalogue::kVarietyCount>
        indices{};
    std::size_t n = 0;
    indices.at(n++) = kOutputBox.tabIndex;
    for (const Control& command : kCommands)
        indices.at(n++) = command.tabIndex;
    for (int index : kSpeciesTabIndices)
        indices.at(n++) = index;
    for (const auto& column : kVarietyGrid) {
        for (const GridCell& cell : column)
            indices.at(n++) = cell.tabIndex;
    }
    std::sort(indices.begin(), indices.end());
    return std::adjacent_find(indices.begin(), indices.end()) == indices.end();
}
static_assert(tabIndicesAreDistinct());

// Rows count from 1: the first row sits one option height below the frame's top.
constexpr Place varietyOption(int column, int row)
{
    const VarietyColumn& c = kVarietyColumns.at(column);
    return {c.left, kOptionHeight * (row + 1), c.width, kOptionHeight};
}

} // namespace form
