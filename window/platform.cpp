// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

struct HeldMessage
{
    QtMsgType type;
    const char* category;
    QString text;
};

// Qt's warnings while it looks for a window system: they are only worth
// showing if it finds one (they then say why Wayland was passed over).
QList<HeldMessage> held;

void holdUntilStarted(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        std::fputs("orseta: няма графична среда за прозореца: за Wayland инсталирайте"
                   " qt6-wayland, за X11 е нужен X сървър, посочен в DISPLAY\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (type == QtFatalMsg) { // anything else fatal takes Qt's own way out
        platformStarted();
        qt_message_output(type, context, text);
        return;
    }
    held.append({type, context.category, text});
}

bool platformOnCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

void guardPlatformStart(int argc, char* argv[])
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("wayland") && !platform.contains(';') &&
        qEnvironmentVariableIsSet("DISPLAY") && !platformOnCommandLine(argc, argv))
        // Made a QByteArray: with QStringBuilder the sum is a builder, which
        // Qt 6.8's qputenv(const char*, QByteArrayView) no longer takes.
        qputenv("QT_QPA_PLATFORM", QByteArray(platform + ";xcb"));
    qInstallMessageHandler(holdUntilStarted);
}

void platformStarted()
{
    qInstallMessageHandler(nullptr);
    const QList<HeldMessage> messages = std::exchange(held, {});
    for (const HeldMessage& m : messages)
        qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category), m.text);
}
