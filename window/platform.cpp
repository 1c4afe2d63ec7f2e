// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's warnings while it looks for a window system: they are only worth
// showing if it finds one (they then say why Wayland was passed over). Qt
// may log from any thread, so the list is only touched under the lock.
std::mutex heldLock;
QList<HeldMessage> held;
bool started = false;

void show(const HeldMessage& m)
{
    qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()),
                      m.text);
}

void holdUntilStarted(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    std::unique_lock lock(heldLock);
    if (started) { // logged by another thread just as the window system came up
        lock.unlock();
        qt_message_output(type, context, text);
        return;
    }
    // While the QApplication is being built, the one fatal message Qt has is
    // that no window system could be started, whatever its wording.
    if (type == QtFatalMsg) {
        std::fputs("orseta: няма графична среда за прозореца: за Wayland инсталирайте"
                   " qt6-wayland, за X11 е нужен X сървър, посочен в DISPLAY\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    held.append({type, QByteArray(context.category), text});
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
    QList<HeldMessage> messages;
    {
        const std::lock_guard lock(heldLock);
        started = true;
        messages = std::exchange(held, {});
    }
    qInstallMessageHandler(nullptr);
    for (const HeldMessage& m : messages)
        show(m);
}

int platformFinished(int status)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    return status;
}
