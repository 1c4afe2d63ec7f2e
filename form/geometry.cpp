// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints where a learner would click a control of the window, in pixels of
// its client area at scale 1, for the checks that drive the real program
// from outside it (tests/winexe.sh), so that they keep no places of their own:
//   orseta_geometry Option1 0     ->  144 62
// Controls are named as the window names them: Option1 by variety, Option2
// by species, Command1 0 and 1, Text1 0.

#include "form.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

struct Point
{
    int x;
    int y;
};

// A place inside a frame, in the window's pixels. Frame and control are
// turned into pixels each on its own, as the window places them.
form::Place inWindow(form::Place frame, form::Place place)
{
    const form::Place f = form::inPixels(frame), p = form::inPixels(place);
    return {f.left + p.left, f.top + p.top, p.width, p.height};
}

Point centre(form::Place p)
{
    return {p.left + p.width / 2, p.top + p.height / 2};
}

// An option reacts only on its indicator and caption, whose length varies:
// its left end, halfway down, as the Qt Test programs click it (click.h).
Point optionPoint(form::Place p)
{
    return {p.left + 8, p.top + p.height / 2};
}

std::optional<Point> clickPoint(std::string_view name, int index)
{
    if (name == "Option1") {
        for (int column = 0; column < form::kGridColumns; ++column) {
            for (int row = 0; row < form::kGridRows; ++row) {
                if (form::kVarietyGrid.at(column).at(row).variety == index)
                    return optionPoint(
                        inWindow(form::kVarietyFrame, form::varietyOption(column, row)));
            }
        }
    } else if (name == "Option2") {
        if (index >= 0 && index < int(catalogue::kSpeciesCount))
            return optionPoint(inWindow(form::kSpeciesFrame, form::speciesOption(index).place));
    } else if (name == "Command1") {
        if (index >= 0 && index < int(form::kCommands.size()))
            return centre(form::inPixels(form::kCommands.at(index).place));
    } else if (name == "Text1") {
        if (index == 0)
            return centre(form::inPixels(form::kOutputBox.place));
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    int index = -1;
    if (argc == 3) {
        const std::string_view text = argv[2];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
        if (error != std::errc() || end != text.data() + text.size())
            index = -1;
    }
    const std::optional<Point> point = argc == 3 ? clickPoint(argv[1], index) : std::nullopt;
    if (!point) {
        std::fputs("usage: orseta_geometry Option1|Option2|Command1|Text1 INDEX\n"
                   "prints where to click that control, in the window's pixels at scale 1\n",
                   stderr);
        return 2;
    }
    std::printf("%d %d\n", point->x, point->y);
    return 0;
}
