#include "application.h"
#include "tesmoril.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    beforeApplication();
    QApplication app(argc, argv);
    prepareApplication(app);

    Tesmoril window; // runs the quiz's OnFormLoad as it is built
    window.show();
    return QApplication::exec();
}
