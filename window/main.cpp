#include "application.h"
#include "commandline.h"
#include "tesmoril.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (const auto status = answerCommandLine(argc, argv))
        return *status;
    beforeApplication();
    QApplication app(argc, argv);
    if (const auto status = rejectUnknownArguments(QCoreApplication::arguments()))
        return *status;
    prepareApplication(app);

    Tesmoril window; // runs the quiz's OnFormLoad as it is built
    window.show();
    return QApplication::exec();
}
