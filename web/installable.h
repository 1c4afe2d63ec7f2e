// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What lets the site be installed and opened with no network: its manifest,
// and the service worker that keeps its files. Both are written from
// templates in web/, which the build hands over.

#include <iterator>
#include <string>
#include <vector>

// The icon's sizes, smallest first; the build gives them.
inline constexpr int kIconSizes[] = {ORSETA_ICON_SIZES};
inline constexpr int kSmallestIcon = kIconSizes[0];
inline constexpr int kLargestIcon = kIconSizes[std::size(kIconSizes) - 1];

std::string iconFile(int size);

// orseta.webmanifest, from orseta.webmanifest.in.
std::string manifest(const std::string& templateText);

// sw.js, from the template web/sw.js, to keep FILES (relative to DIR).
std::string serviceWorker(const std::string& templateText, const std::string& dir,
                          const std::vector<std::string>& files);
