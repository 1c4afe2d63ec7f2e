// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// A file's bytes, or an exception that names it.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
