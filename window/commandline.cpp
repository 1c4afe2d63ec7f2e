// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include "buildinfo.h"

#include <QStringList>

#include <cstdio>
#include <string_view>

namespace {

constexpr const char* kHelp =
    "Употреба: orseta [опции]\n"
    "Орсета — викторина за минерали и техните разновидности.\n"
    "\n"
    "Опции:\n"
    "  -h, --help     показва тази помощ\n"
    "  -v, --version  показва версията\n"
    "\n"
    "Приема и общите опции на Qt, например -platform xcb или -platform wayland.\n";

} // namespace

std::optional<int> answerCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (argument == "--version" || argument == "-v") {
            std::fputs("orseta " ORSETA_VERSION "\n", stdout);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> rejectUnknownArguments(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    std::fprintf(stderr, "orseta: непознат аргумент „%s“; вижте orseta --help\n",
                 arguments.at(1).toLocal8Bit().constData());
    return 2;
}
