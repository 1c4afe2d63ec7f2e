// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "application.h"

#include "buildinfo.h"
#include "designedstyle.h"
#include "form.h"
#include "layout.h"
#include "windowicon.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QPixmap>
#include <QStyleHints>
#include <QTranslator>

namespace {

// Times New Roman, or else the first of its metric twins that is installed,
// named alone. Given a list, Qt asks fontconfig for a sorted list of fallback
// fonts twice for every script before it opens one (a few milliseconds at
// start-up); given a family it has, it opens it straight away. Only when none
// is installed is the whole list left to Qt and fontconfig; a serif hint goes
// with it, or fontconfig would fall back to a sans font before Nimbus Roman.
QStringList designedFamilies()
{
    QStringList families{layout::toText(form::kFontFamily)};
    for (std::string_view twin : form::kFontTwins)
        families.append(layout::toText(twin));
    // Qt lists a family that two foundries offer once for each: "Nimbus Roman [urw]".
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        const QString withFoundry = family + QLatin1String(" [");
        for (const QString& name : installed) {
            if (name.compare(family, Qt::CaseInsensitive) == 0 ||
                name.startsWith(withFoundry, Qt::CaseInsensitive))
                return {family};
        }
    }
    return families;
}

} // namespace

void beforeApplication()
{
    // Platform themes (GTK, qt6ct) then leave the application's palette,
    // font and style sheet alone.
    QGuiApplication::setDesktopSettingsAware(false);
}

void prepareApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("orseta"));
    QApplication::setApplicationVersion(QStringLiteral(ORSETA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ORSETA_APP_ID));

    // Sizes for ordinary and double-density screens only: the window system
    // is sent every size the icon has, and the large ones cost start-up time.
    QIcon icon;
    for (const windowicon::Icon& drawn : windowicon::kIcons) {
        icon.addPixmap(
            QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(drawn.pixels), drawn.size,
                                      drawn.size, QImage::Format_ARGB32_Premultiplied)));
    }
    QApplication::setWindowIcon(icon);

    // Fusion is built into Qt and draws the same everywhere; a desktop style
    // (QT_STYLE_OVERRIDE, -style) may widen the indicators, embolden frame
    // titles or bring light text for a dark theme.
    QApplication::setStyle(new DesignedStyle);
    QApplication::setPalette(designedPalette());

    // Set for the whole application: a widget with a style sheet of its own
    // would not inherit a font set on the window. Built from nothing rather
    // than from the current application font, so no weight or stretch of the
    // desktop's font comes along. Times New Roman, or one of its metric
    // twins, which the captions are measured for.
    QFont font(designedFamilies(), form::kFontPoints, QFont::Normal, false);
    font.setStyleHint(QFont::Serif);
    QApplication::setFont(font);

    // qt6ct, once told to keep out, answers a few milliseconds here (0 or 38
    // were seen), and no two clicks would ever make a double click to select
    // a word in the output box. No one double-clicks faster than 100 ms.
    QStyleHints* hints = QGuiApplication::styleHints();
    if (hints->mouseDoubleClickInterval() < 100)
        hints->setMouseDoubleClickInterval(400);

    // Qt's own context menus ("Copy", "Select All") in Bulgarian, like the
    // rest. The translation is built in: on Windows there is no Qt beside
    // the program to take it from.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral(":/translations/qtbase_bg.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
