// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "installable.h"

#include "encode.h"
#include "files.h"
#include "form.h"

#include <cstdint>
#include <cstdio>

namespace {

// A name for this set of files, new whenever one of them changes: the
// service worker keeps each set under its own name and drops the old.
std::string fingerprint(const std::string& dir, const std::vector<std::string>& files)
{
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (const std::string& name : files) {
        for (char c : name + '\0' + readFile(dir + "/" + name)) {
            hash ^= std::uint8_t(c);
            hash *= 1099511628211ULL;
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace

std::string iconFile(int size)
{
    return "orseta-" + std::to_string(size) + ".png";
}

// Installed from the browser on a Chromebook, a phone or a tablet, the quiz
// opens in a window of its own with its name and icon.
std::string manifest(const std::string& templateText)
{
    std::string icons;
    for (int size : kIconSizes) {
        icons += "    {\"src\": \"" + iconFile(size) + "\", \"sizes\": \"" + std::to_string(size) +
                 "x" + std::to_string(size) + "\", \"type\": \"image/png\"}" +
                 (size == kLargestIcon ? "" : ",\n");
    }
    return encode::filledIn(templateText,
                            {{"@NAME@", encode::json(form::kBannerText)},
                             {"@DESCRIPTION@", encode::json(ORSETA_DESCRIPTION)},
                             {"@WINDOW_COLOUR@", encode::rgb(form::kWindowColour)},
                             {"@ICONS@", icons}});
}

std::string serviceWorker(const std::string& templateText, const std::string& dir,
                          const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& name : files)
        list += "  \"" + encode::json(name) + "\",\n";
    return encode::filledIn(templateText, {{"@FINGERPRINT@", fingerprint(dir, files)},
                                           {"  /* @FILES@ */\n", list}});
}
