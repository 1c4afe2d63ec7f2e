#include "application.h"

#include "buildinfo.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void prepareApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("orseta"));
    QApplication::setApplicationVersion(QStringLiteral(ORSETA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ORSETA_APP_ID));

    // Sizes for ordinary and double-density screens only: the window system
    // is sent every size the icon has, and the large ones cost start-up time.
    QIcon icon;
    for (int size : {32, 64})
        icon.addFile(QStringLiteral(":/icons/orseta-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    // Set for the whole application: a widget with a style sheet of its own
    // would not inherit a font set on the window.
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(12);
    QApplication::setFont(font);

    // Qt's own context menus ("Copy", "Select All") in Bulgarian, like the rest.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Bulgarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
