// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the browser page at build time, from the designed form and the
// catalogue (pagemarkup.cpp, pagestyle.cpp), and what goes with it:
//
//   orseta_writepage site   DIR PAGE_CSS MANIFEST_TEMPLATE
//       DIR/index.html, DIR/orseta.css, DIR/noscript.css, DIR/orseta.webmanifest
//   orseta_writepage single FILE PAGE_CSS FONT SCRIPT ICON
//       one HTML file with the style, font, script and icon inside
//   orseta_writepage worker DIR WORKER_TEMPLATE FILE...
//       DIR/sw.js, which keeps FILE... (relative to DIR) for use offline

#include "encode.h"
#include "files.h"
#include "installable.h"
#include "pagemarkup.h"
#include "pagestyle.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

namespace {

// What the site adds to any web server's answers: scripts from the site alone,
// WebAssembly compiled from it, nothing from anywhere else.
constexpr std::string_view kPolicy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";

void writeSite(const std::string& dir, const std::string& pageCss,
               const std::string& manifestTemplate)
{
    Assets assets;
    // The script and the module first, so that they load beside the style
    // and the rest of the page, and the module compiles meanwhile: the quiz
    // is ready about when the form is first drawn.
    assets.head = "<meta http-equiv=\"Content-Security-Policy\" content=\"" + encode::html(kPolicy) +
                  "\">\n<script src=\"orseta.js\" async></script>\n"
                  "<link rel=\"preload\" href=\"orseta.wasm\" as=\"fetch\" "
                  "type=\"application/wasm\" crossorigin>\n"
                  "<link rel=\"stylesheet\" href=\"orseta.css\">\n"
                  "<link rel=\"icon\" href=\"" +
                  iconFile(kSmallestIcon) + "\" sizes=\"" + std::to_string(kSmallestIcon) + "x" +
                  std::to_string(kSmallestIcon) +
                  "\" type=\"image/png\">\n"
                  "<link rel=\"apple-touch-icon\" href=\"" +
                  iconFile(kLargestIcon) + "\">\n<link rel=\"manifest\" href=\"orseta.webmanifest\">\n";
    assets.noscript = "<noscript><link rel=\"stylesheet\" href=\"noscript.css\"></noscript>\n";
    assets.rootAttributes = " data-worker=\"sw.js\"";
    writeFile(dir + "/index.html", pageMarkup(assets));
    writeFile(dir + "/orseta.css", pageStyle(pageCss, "\"orseta-serif.woff2\""));
    writeFile(dir + "/noscript.css", std::string(kNoScriptCss));
    writeFile(dir + "/orseta.webmanifest", manifest(manifestTemplate));
}

void writeSingle(const std::string& file, const std::string& pageCss, const std::string& font,
                 const std::string& script, const std::string& icon)
{
    Assets assets;
    assets.head = "<style>\n" +
                  encode::inlined(pageStyle(
                      pageCss, "\"data:font/woff2;base64," + encode::base64(readFile(font)) + "\"")) +
                  "</style>\n<link rel=\"icon\" href=\"data:image/png;base64," +
                  encode::base64(readFile(icon)) + "\" type=\"image/png\">\n";
    assets.script = "<script>\n" + encode::inlined(readFile(script)) + "</script>\n";
    assets.noscript = "<noscript><style>" + std::string(kNoScriptCss) + "</style></noscript>\n";
    writeFile(file, pageMarkup(assets));
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 4 && args[0] == "site") {
            writeSite(args[1], readFile(args[2]), readFile(args[3]));
        } else if (args.size() == 6 && args[0] == "single") {
            writeSingle(args[1], readFile(args[2]), args[3], args[4], args[5]);
        } else if (args.size() >= 4 && args[0] == "worker") {
            writeFile(args[1] + "/sw.js",
                      serviceWorker(readFile(args[2]), args[1], {args.begin() + 3, args.end()}));
        } else {
            std::cerr << "usage: orseta_writepage site DIR PAGE_CSS MANIFEST_TEMPLATE\n"
                         "       orseta_writepage single FILE PAGE_CSS FONT SCRIPT ICON\n"
                         "       orseta_writepage worker DIR WORKER_TEMPLATE FILE...\n";
            return 2;
        }
    } catch (const std::exception& error) {
        std::cerr << "orseta_writepage: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
