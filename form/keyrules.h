// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the keyboard takes the focus, for every view of the window. A view
// turns its key events into the questions below, reads the answers against
// the states of its options, and carries them out; it keeps no rule of its
// own about where a key goes.
//
// - Tab and Shift+Tab walk five stops in tab order: the output box, the
//   varieties, the minerals, "Изведи", "Чисти". A group of options is one
//   stop, entered at its chosen option, or else at its first option in tab
//   order that is not retired. A stop with nothing to enter is passed over.
// - An arrow moves within a group of options and wraps round at its ends,
//   passing over retired options. Among the varieties, Down and Up follow the
//   grid's alphabetical order from one column into the next, and Left and
//   Right keep the row; the minerals are one ring, top to bottom.
// - The choice follows the focus when the option left behind was the chosen
//   one, so an arrow never leaves a group without a choice it had.
// - Shift and Ctrl leave an arrow the plain arrow. Alt and Meta do so in the
//   desktop window, which has no other use for them; on the page they are
//   the browser's (Alt+Left is Back).
// - Past either end of the Tab order the desktop window goes round again; the
//   page hands the key back to the browser, which takes the focus on to its
//   own controls.
//
// Plain C++: no toolkit here.

#include "form.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

namespace form {

// Who else has a use for the keys the quiz takes.
enum class KeyHost
{
    Window,  // the desktop window: nobody
    Browser, // a browser page: Tab past the page's ends, Alt or Meta with an arrow
};

enum class StopKind
{
    OutputBox,
    Varieties,
    Species,
    Command, // by index: 0 "Изведи", 1 "Чисти"
};

// A control that takes the focus: a kind and, where the kind has several,
// the index the quiz gives it (a variety's, a mineral's, a button's).
struct Focusable
{
    StopKind kind;
    int index = 0;
    friend constexpr bool operator==(const Focusable&, const Focusable&) = default;
};

// What the keys need of the options: which are retired, which are chosen
// (-1: none).
struct OptionStates
{
    std::array<bool, catalogue::kVarietyCount> varietyRetired{};
    std::array<bool, catalogue::kSpeciesCount> speciesRetired{};
    int chosenVariety = -1;
    int chosenSpecies = -1;
};

enum class Arrow
{
    Up,
    Down,
    Left,
    Right,
};

struct Modifiers
{
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool meta = false;
};

// Whether an arrow held with MODIFIERS moves among the options, as the plain
// arrow does, rather than being left to HOST.
constexpr bool isPlainArrow(Modifiers modifiers, KeyHost host)
{
    return host == KeyHost::Window || !(modifiers.alt || modifiers.meta);
}

namespace keyrules_detail {

inline constexpr int kStops = 5;

constexpr int tabIndexOf(Focusable control)
{
    switch (control.kind) {
    case StopKind::OutputBox:
        return kOutputBox.tabIndex;
    case StopKind::Varieties:
        for (const auto& column : kVarietyGrid) {
            for (const GridCell& cell : column) {
                if (cell.variety == control.index)
                    return cell.tabIndex;
            }
        }
        return -1;
    case StopKind::Species:
        return kSpeciesTabIndices.at(control.index);
    case StopKind::Command:
        return kCommands.at(control.index).tabIndex;
    }
    return -1;
}

constexpr int countOf(StopKind group)
{
    return group == StopKind::Varieties ? catalogue::kVarietyCount : catalogue::kSpeciesCount;
}

// Where a stop stands in the tab order: a group at the lowest tab index
// among its options.
constexpr int stopTabIndex(Focusable stop)
{
    if (stop.kind != StopKind::Varieties && stop.kind != StopKind::Species)
        return tabIndexOf(stop);
    int lowest = tabIndexOf({stop.kind, 0});
    for (int i = 1; i < countOf(stop.kind); ++i)
        lowest = std::min(lowest, tabIndexOf({stop.kind, i}));
    return lowest;
}

// The stops in tab order, as the form's tab indices put them.
inline constexpr std::array<Focusable, kStops> kStopOrder{{
    {StopKind::OutputBox},
    {StopKind::Varieties},
    {StopKind::Species},
    {StopKind::Command, 0},
    {StopKind::Command, 1},
}};
constexpr bool stopsFollowTabIndices()
{
    for (int i = 1; i < kStops; ++i) {
        if (stopTabIndex(kStopOrder.at(i - 1)) >= stopTabIndex(kStopOrder.at(i)))
            return false;
    }
    return true;
}
static_assert(stopsFollowTabIndices(),
              "the tab indices no longer give box, varieties, minerals, Изведи, Чисти");

constexpr int stopOf(Focusable control)
{
    for (int i = 0; i < kStops; ++i) {
        const Focusable stop = kStopOrder.at(i);
        if (stop.kind == control.kind &&
            (stop.kind != StopKind::Command || stop.index == control.index))
            return i;
    }
    return -1;
}

constexpr bool isRetired(Focusable option, const OptionStates& states)
{
    if (option.kind == StopKind::Varieties)
        return states.varietyRetired.at(option.index);
    if (option.kind == StopKind::Species)
        return states.speciesRetired.at(option.index);
    return false;
}

constexpr int chosenIn(StopKind group, const OptionStates& states)
{
    return group == StopKind::Varieties ? states.chosenVariety : states.chosenSpecies;
}


// The varieties down the grid's columns, in alphabetical order.
constexpr std::array<int, catalogue::kVarietyCount> varietiesDownTheGrid()
{
    std::array<int, catalogue::kVarietyCount> order{};
    std::size_t n = 0;
    for (const auto& column : kVarietyGrid) {
        for (const GridCell& cell : column)
            order.at(n++) = cell.variety;
    }
    return order;
}
inline constexpr std::array<int, catalogue::kVarietyCount> kVarietyOrder = varietiesDownTheGrid();

constexpr int around(int at, int steps, int count)
{
    return ((at + steps) % count + count) % count;
}

} // namespace keyrules_detail

// Where a group of options is entered: its chosen option, or else its first
// option in tab order that is not retired; nothing where all are retired.
// Each view makes this the group's only option that Tab stops at.
constexpr std::optional<int> groupEntry(StopKind group, const OptionStates& states)
{
    using namespace keyrules_detail;
    const int chosen = chosenIn(group, states);
    if (chosen >= 0 && !isRetired({group, chosen}, states))
        return chosen;
    std::optional<int> entry;
    int entryTab = 0;
    for (int i = 0; i < countOf(group); ++i) {
        const int tab = tabIndexOf({group, i});
        if (!isRetired({group, i}, states) && (!entry || tab < entryTab)) {
            entry = i;
            entryTab = tab;
        }
    }
    return entry;
}

// Where Tab (or Shift+Tab, BACKWARD) takes the focus from FROM: nothing where
// FROM is none of the quiz's controls, or where the page hands the key back
// to the browser.
constexpr std::optional<Focusable> tabTarget(Focusable from, bool backward,
                                             const OptionStates& states, KeyHost host)
{
    using namespace keyrules_detail;
    const int at = stopOf(from);
    if (at < 0)
        return std::nullopt;
    for (int step = 1; step <= kStops; ++step) {
        const int next = at + (backward ? -step : step);
        if (host == KeyHost::Browser && (next < 0 || next >= kStops))
            return std::nullopt;
        const Focusable stop = kStopOrder.at(around(next, 0, kStops));
        if (stop.kind == StopKind::Varieties || stop.kind == StopKind::Species) {
            if (const std::optional<int> entry = groupEntry(stop.kind, states))
                return Focusable{stop.kind, *entry};
        } else {
            return stop;
        }
    }
    return std::nullopt;
}

// Where an arrow goes from an option, and whether the choice goes with it.
struct ArrowMove
{
    int to;
    bool choiceFollows;
};

// Where ARROW takes the focus from the option FROM (a variety or a mineral):
// nothing where every other option of its ring is retired, and the focus
// stays.
constexpr std::optional<ArrowMove> arrowTarget(Focusable from, Arrow arrow,
                                               const OptionStates& states)
{
    using namespace keyrules_detail;
    const bool forward = arrow == Arrow::Down || arrow == Arrow::Right;
    // The ring the option is on, as positions in the grid's order: all of
    // them, or along a row every kGridRows-th.
    int count = countOf(from.kind);
    int stride = 1;
    int at = from.index;
    if (from.kind == StopKind::Varieties) {
        at = int(std::find(kVarietyOrder.begin(), kVarietyOrder.end(), from.index) -
                 kVarietyOrder.begin());
        if (arrow == Arrow::Left || arrow == Arrow::Right) {
            count = kGridColumns;
            stride = kGridRows;
        }
    }
    const int first = at % stride; // the ring's first position in the grid's order
    const int place = at / stride; // the option's place in its ring
    for (int step = 1; step < count; ++step) {
        const int position = first + around(place, forward ? step : -step, count) * stride;
        const int to = from.kind == StopKind::Varieties ? kVarietyOrder.at(position) : position;
        if (!isRetired({from.kind, to}, states))
            return ArrowMove{to, chosenIn(from.kind, states) == from.index};
    }
    return std::nullopt;
}

} // namespace form
