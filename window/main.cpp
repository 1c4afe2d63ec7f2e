#include "application.h"
#include "platform.h"
#include "tesmoril.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    guardPlatformStart(argc, argv);
    QApplication app(argc, argv);
    platformStarted();
    prepareApplication(app);

    Tesmoril window; // runs the quiz's OnFormLoad as it is built
    window.show();
    return QApplication::exec();
}
