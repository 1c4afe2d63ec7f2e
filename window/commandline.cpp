// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include "buildinfo.h"

#include <QStringList>

#include <cstdio>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

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

#ifdef _WIN32
// A Windows program with a window has no console of its own: it writes to the
// console it was started from, in the console's own UTF-16, or else into
// whatever its output was sent to, in UTF-8.
void print(std::FILE* stream, std::string_view text)
{
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return; // started from Explorer: there is nowhere to write
        handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const QString wide = QString::fromUtf8(text.data(), qsizetype(text.size()));
        WriteConsoleW(handle, wide.utf16(), DWORD(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr);
    }
}
#else
void print(std::FILE* stream, std::string_view text)
{
    std::fprintf(stream, "%.*s", int(text.size()), text.data());
}
#endif

} // namespace

std::optional<int> answerCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            print(stdout, kHelp);
            return 0;
        }
        if (argument == "--version" || argument == "-v") {
            print(stdout, "orseta " ORSETA_VERSION "\n");
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> rejectUnknownArguments(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    const QString line =
        QStringLiteral("orseta: непознат аргумент „%1“; вижте orseta --help\n").arg(arguments.at(1));
    print(stderr, line.toUtf8().toStdString());
    return 2;
}
