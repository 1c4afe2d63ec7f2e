// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the browser page at build time, from the designed form and the
// catalogue: every control is in the HTML from the start, in its place, with
// its text, so the browser shows the form as soon as it has the markup and
// the style, and the quiz module only has to wire it up.
//
//   orseta_writepage site   DIR PAGE_CSS
//       DIR/index.html, DIR/orseta.css, DIR/noscript.css, DIR/orseta.webmanifest
//   orseta_writepage single FILE PAGE_CSS FONT SCRIPT ICON
//       one HTML file with the style, font, script and icon inside
//   orseta_writepage worker DIR FILE...
//       DIR/sw.js, which keeps FILE... (relative to DIR) for use offline
//
// Each option carries its tab index (data-tab) and the variety frame its
// number of rows (data-rows), which the page's keyboard follows.

#include "catalogue.h"
#include "form.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The smallest scale at which the designed form is shown: below it a native
// radio button and the 20 px rows are too small a target for a finger or a
// shaky hand (WCAG 2.5.8 asks for 24 px, or that much space round it).
constexpr double kLeastScale = 1.2;

// Said, in place of the form, where the quiz cannot run.
constexpr std::string_view kUnavailable =
    "Викторината не може да се покаже: нужни са JavaScript и WebAssembly, а този браузър "
    "не ги поддържа или са изключени.";

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

std::string escapeHtml(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            break; // the parser would make LF of CR LF anyway
        default:
            out += c;
        }
    }
    return out;
}

// Text in a JSON string; the texts here hold no control characters but line breaks.
std::string escapeJson(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

std::string base64(std::string_view bytes)
{
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned n = unsigned(std::uint8_t(bytes[i])) << 16 |
                           unsigned(std::uint8_t(bytes[i + 1])) << 8 | std::uint8_t(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0})
            out += kDigits[(n >> shift) & 63];
    }
    if (i < bytes.size()) {
        unsigned n = unsigned(std::uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            n |= unsigned(std::uint8_t(bytes[i + 1])) << 8;
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string rgb(form::Rgb c)
{
    return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
           std::to_string(c.blue) + ")";
}

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

// Everything of the style that comes from the designed form: the colours, the
// font, the places and the scale, which fills the window as far as the
// form's shape allows. PAGE_CSS, the rest of the look, names the condition
// for the designed form "@media (--designed)".
std::string style(const std::string& pageCss, const std::string& fontSource)
{
    const int leastWidth = int(kFormPixels.width * kLeastScale + 0.999);
    const int leastHeight = int(kFormPixels.height * kLeastScale + 0.999);
    const std::string designed = "@media (min-width: " + std::to_string(leastWidth) +
                                 "px) and (min-height: " + std::to_string(leastHeight) + "px)";

    std::string css = "@font-face {\n  font-family: \"Orseta Serif\";\n  src: local(\"Liberation "
                      "Serif\"), url(" +
                      fontSource +
                      ") format(\"woff2\");\n  font-display: swap;\n}\n"
                      ":root {\n  --font: \"" +
                      std::string(form::kFontFamily) +
                      "\", \"Orseta Serif\", serif;\n"
                      "  --window: " +
                      rgb(form::kWindowColour) + ";\n  --text: " + rgb(form::kTextColour) +
                      ";\n  --disabled-text: " + rgb(form::kDisabledTextColour) +
                      ";\n  --focus: " + rgb(form::kFocusColour) +
                      ";\n  --frame: " + rgb(form::kFrameColour) +
                      ";\n  --frame-line: " + rgb(form::kOutputFrameColour) +
                      ";\n  --banner: " + rgb(form::kBannerColour) + ";\n}\n";

    // Colours, in both layouts.
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        css += "#" + id(form::kCommandArray, i) + " { background: " + rgb(form::kCommandColours.at(i)) + "; }\n";
    css += "#" + id(form::kFrameArray, 1) + " .option { background: " + rgb(form::kSpeciesColour) + "; }\n";
    for (int column = 0; column < form::kGridColumns; ++column) {
        std::string selectors;
        for (const form::GridCell& cell : form::kVarietyGrid.at(column))
            selectors += (selectors.empty() ? "#" : ", #") + id(form::kVarietyArray, cell.variety);
        css +=
            selectors + " { background: " + rgb(form::kVarietyColumns.at(column).colour) + "; }\n";
    }

    std::string places = designed + " {\n";
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

    std::string page = pageCss;
    const std::string marker = "@media (--designed)";
    for (std::size_t at; (at = page.find(marker)) != std::string::npos;)
        page.replace(at, marker.size(), designed);
    return css + page + places;
}

// Each group of options is one Tab stop, entered at its lowest tab index while
// none is chosen: the other options are left out of the Tab order, as the
// page's script keeps them.
std::string optionMarkup(std::string_view array, int index, std::string_view caption, int tabIndex,
                         bool entry)
{
    return "<label class=\"option\" id=\"" + id(array, index) +
           "\"><input type=\"radio\" name=\"" + std::string(array) + "\" value=\"" + std::to_string(index) +
           "\" autocomplete=\"off\" data-tab=\"" + std::to_string(tabIndex) + "\"" + (entry ? "" : " tabindex=\"-1\"") +
           "><span>" + escapeHtml(form::shownCaption(caption)) + "</span></label>\n";
}

// Where each group of options is entered while none is chosen: its lowest
// tab index.
int lowestTabIndex(const std::vector<int>& indices)
{
    return *std::min_element(indices.begin(), indices.end());
}

struct Assets
{
    std::string head;     // links to the style, icon and manifest, or the style itself
    std::string script;   // the script element
    std::string noscript; // what hides the form where scripts do not run
    std::string rootAttributes;
};

// The whole page, every control written out in Tab order: the output box,
// the varieties, the minerals, then the two buttons, each as the quiz leaves
// it at start: enabled, none chosen, the box with the introductory text.
std::string page(const Assets& assets)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"bg\" data-state=\"loading\"" +
                       assets.rootAttributes +
                       ">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += assets.head;
    html += "<title>" + escapeHtml(form::kCaption) + "</title>\n";
    html += "<meta name=\"description\" content=\"" + escapeHtml(ORSETA_DESCRIPTION) + "\">\n";
    html += "<meta name=\"theme-color\" content=\"" + rgb(form::kWindowColour) + "\">\n";
    html += assets.noscript;
    html += assets.script;
    html += "</head>\n<body>\n<main id=\"Tesmoril\">\n";
    const std::string box = id(form::kOutputArray, 0);
    html += "<h1 id=\"" + id(form::kBannerArray, 0) + "\">" + escapeHtml(form::kBannerText) + "</h1>\n";
    html += "<noscript><p class=\"notice\">" + escapeHtml(kUnavailable) + "</p></noscript>\n";
    html += "<p class=\"notice\" id=\"unavailable\" hidden>" + escapeHtml(kUnavailable) + "</p>\n";
    html += "<div class=\"quiz\">\n";

    html +=
        "<label class=\"unseen\" for=\"" + box + "\">" + escapeHtml(form::kOutputName) + "</label>\n";
    // autocomplete="off" on the box and the options: on a reload, or in a tab
    // brought back, Firefox would otherwise put back what they held, over the
    // form as the quiz starts it.
    html += "<textarea id=\"" + box +
            "\" readonly autofocus autocomplete=\"off\" spellcheck=\"false\" aria-describedby=\"" +
            box + "-about\">" +
            escapeHtml(form::kIntroductoryText) + "</textarea>\n";
    html += "<p class=\"unseen\" id=\"" + box + "-about\">" + escapeHtml(form::kOutputDescription) +
            "</p>\n";
    // What a screen reader is to read of the box beyond the line the focus
    // brings it to: the introductory text once the page is there, and after a
    // verdict the variety's description. A screen reader reads a box it comes
    // to by its line, and in Chromium not at all past that line.
    html += "<p class=\"unseen\" id=\"" + box + "-spoken\" aria-live=\"polite\"></p>\n";

    html += "<fieldset id=\"" + id(form::kFrameArray, 0) + "\" data-rows=\"" + std::to_string(form::kGridRows) +
            "\">\n<legend>" + escapeHtml(form::kVarietyFrameTitle) +
            "</legend>\n<div class=\"options\">\n";
    std::vector<int> varietyTabs;
    for (const auto& column : form::kVarietyGrid) {
        for (const form::GridCell& cell : column)
            varietyTabs.push_back(cell.tabIndex);
    }
    const int varietyEntry = lowestTabIndex(varietyTabs);
    for (const auto& column : form::kVarietyGrid) {
        for (const form::GridCell& cell : column)
            html += optionMarkup(form::kVarietyArray, cell.variety,
                                 catalogue::varieties().at(cell.variety).caption, cell.tabIndex,
                                 cell.tabIndex == varietyEntry);
    }
    html += "</div>\n</fieldset>\n";

    html += "<fieldset id=\"" + id(form::kFrameArray, 1) + "\">\n<legend>" + escapeHtml(form::kSpeciesFrameTitle) +
            "</legend>\n<div class=\"options\">\n";
    const int speciesEntry =
        lowestTabIndex({form::kSpeciesTabIndices.begin(), form::kSpeciesTabIndices.end()});
    for (int k = 0; k < int(catalogue::kSpeciesCount); ++k)
        html += optionMarkup(form::kSpeciesArray, k, catalogue::speciesCaptions().at(k),
                             form::speciesOption(k).tabIndex,
                             form::speciesOption(k).tabIndex == speciesEntry);
    html += "</div>\n</fieldset>\n";

    html += "<div class=\"commands\">\n";
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        html += "<button type=\"button\" class=\"command\" id=\"" + id(form::kCommandArray, i) +
                "\">" + escapeHtml(form::kCommandCaptions.at(i)) + "</button>\n";
    html += "</div>\n</div>\n</main>\n</body>\n</html>\n";
    return html;
}

// The style sheet that hides the form where scripts do not run.
constexpr std::string_view kNoScriptCss = ".quiz { display: none; }\n";

// What the site adds to any web server's answers: scripts from the site alone,
// WebAssembly compiled from it, nothing from anywhere else.
constexpr std::string_view kPolicy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";

// Smallest first; the build gives them.
constexpr int kIconSizes[] = {ORSETA_ICON_SIZES};
constexpr int kSmallestIcon = kIconSizes[0];
constexpr int kLargestIcon = kIconSizes[std::size(kIconSizes) - 1];

std::string iconFile(int size)
{
    return "orseta-" + std::to_string(size) + ".png";
}

void writeSite(const std::string& dir, const std::string& pageCss)
{
    Assets assets;
    // The script and the module first, so that they load beside the style
    // and the rest of the page, and the module compiles meanwhile: the quiz
    // is ready about when the form is first drawn.
    assets.head = "<meta http-equiv=\"Content-Security-Policy\" content=\"" + escapeHtml(kPolicy) +
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
    writeFile(dir + "/index.html", page(assets));
    writeFile(dir + "/orseta.css", style(pageCss, "\"orseta-serif.woff2\""));
    writeFile(dir + "/noscript.css", std::string(kNoScriptCss));

    // Installed from the browser on a Chromebook, a phone or a tablet, it
    // opens in a window of its own with the quiz's name and icon.
    std::string manifest = "{\n  \"name\": \"" + escapeJson(form::kBannerText) +
                           "\",\n  \"short_name\": \"" + escapeJson(form::kBannerText) +
                           "\",\n  \"description\": \"" + escapeJson(ORSETA_DESCRIPTION) +
                           "\",\n  \"lang\": \"bg\",\n  \"start_url\": \"./\",\n"
                           "  \"scope\": \"./\",\n  \"display\": \"standalone\",\n"
                           "  \"background_color\": \"" +
                           rgb(form::kWindowColour) + "\",\n  \"theme_color\": \"" +
                           rgb(form::kWindowColour) + "\",\n  \"icons\": [\n";
    for (int size : kIconSizes) {
        manifest += "    {\"src\": \"" + iconFile(size) + "\", \"sizes\": \"" +
                    std::to_string(size) + "x" + std::to_string(size) +
                    "\", \"type\": \"image/png\"}" + (size == kLargestIcon ? "\n" : ",\n");
    }
    manifest += "  ]\n}\n";
    writeFile(dir + "/orseta.webmanifest", manifest);
}

// Inside a <script> or <style> element, "</" could end it early.
std::string inlined(std::string text)
{
    for (std::size_t at = 0; (at = text.find("</", at)) != std::string::npos; at += 3)
        text.replace(at, 2, "<\\/");
    return text;
}

void writeSingle(const std::string& file, const std::string& pageCss, const std::string& font,
                 const std::string& script, const std::string& icon)
{
    Assets assets;
    assets.head =
        "<style>\n" +
        inlined(style(pageCss, "\"data:font/woff2;base64," + base64(readFile(font)) + "\"")) +
        "</style>\n<link rel=\"icon\" href=\"data:image/png;base64," + base64(readFile(icon)) +
        "\" type=\"image/png\">\n";
    assets.script = "<script>\n" + inlined(readFile(script)) + "</script>\n";
    assets.noscript = "<noscript><style>" + std::string(kNoScriptCss) + "</style></noscript>\n";
    writeFile(file, page(assets));
}

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

void writeWorker(const std::string& dir, const std::vector<std::string>& files)
{
    std::string list = "  \"./\",\n";
    for (const std::string& name : files)
        list += "  \"" + escapeJson(name) + "\",\n";
    std::string worker =
        "// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>\n"
        "//\n// SPDX-License-Identifier: GPL-3.0-or-later\n\n"
        "// Keeps the site's files after the first visit, so that the quiz opens with\n"
        "// no network. It keeps nothing of the learner's: only these files.\n"
        "'use strict';\n\nconst KEPT = 'orseta-" +
        fingerprint(dir, files) + "';\nconst FILES = [\n" + list +
        "];\n\n"
        "self.addEventListener('install', (event) => {\n"
        "  event.waitUntil(caches.open(KEPT).then((cache) => cache.addAll(FILES))\n"
        "    .then(() => self.skipWaiting()));\n"
        "});\n\n"
        "// A newer set of files replaces the older at once.\n"
        "self.addEventListener('activate', (event) => {\n"
        "  event.waitUntil(caches.keys()\n"
        "    .then((names) => Promise.all(names\n"
        "      .filter((name) => name.startsWith('orseta-') && name !== KEPT)\n"
        "      .map((name) => caches.delete(name))))\n"
        "    .then(() => self.clients.claim()));\n"
        "});\n\n"
        "// The site's own files from what is kept, whatever query the address\n"
        "// carries; anything else from the network as usual.\n"
        "self.addEventListener('fetch', (event) => {\n"
        "  const request = event.request;\n"
        "  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)\n"
        "    return;\n"
        "  event.respondWith(caches.open(KEPT)\n"
        "    .then((cache) => cache.match(request, { ignoreSearch: true }))\n"
        "    .then((kept) => kept || fetch(request)));\n"
        "});\n";
    writeFile(dir + "/sw.js", worker);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 3 && args[0] == "site") {
            writeSite(args[1], readFile(args[2]));
        } else if (args.size() == 6 && args[0] == "single") {
            writeSingle(args[1], readFile(args[2]), args[3], args[4], args[5]);
        } else if (args.size() >= 3 && args[0] == "worker") {
            writeWorker(args[1], {args.begin() + 2, args.end()});
        } else {
            std::cerr << "usage: orseta_writepage site DIR PAGE_CSS\n"
                         "       orseta_writepage single FILE PAGE_CSS FONT SCRIPT ICON\n"
                         "       orseta_writepage worker DIR FILE...\n";
            return 2;
        }
    } catch (const std::exception& error) {
        std::cerr << "orseta_writepage: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
