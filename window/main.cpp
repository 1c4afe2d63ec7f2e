// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "application.h"
#include "commandline.h"
#include "platform.h"
#include "tesmoril.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (const auto status = answerCommandLine(argc, argv))
        return *status;
    beforeApplication();
    guardPlatformStart(argc, argv);
    QApplication app(argc, argv);
    platformStarted();
    if (const auto status = rejectUnknownArguments(QCoreApplication::arguments()))
        return *status;
    prepareApplication(app);

    Tesmoril window; // runs the quiz's OnFormLoad as it is built
    window.show();
    return platformFinished(QApplication::exec());
}
