// How long the window takes to handle one event: a right answer's "Изведи",
// and "Чисти", each through a real mouse click on the real window.
#include "application.h"
#include "click.h"
#include "tesmoril.h"

#include <QApplication>
#include <QTest>

class BenchEvents : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // A second "Изведи" after a right answer does all a right answer does:
    // the verdict written, the description appended, the variety retired.
    void rightAnswer()
    {
        for (const char* name : {"Option1(17)", "Option2(3)"})
            click(name);
        QBENCHMARK
        {
            click("Command1(0)");
        }
        QVERIFY(window.GetOutputText().rfind("Правилно!", 0) == 0);
    }

    void clearButton()
    {
        QBENCHMARK
        {
            click("Command1(1)");
        }
        QCOMPARE(window.GetOutputText(), std::string("Направете своя избор!"));
    }

    void chooseVariety()
    {
        QBENCHMARK
        {
            click("Option1(25)");
        }
    }

private:
    void click(const char* name) { ::click(window.findChild<QWidget*>(name)); }

    Tesmoril window;
};

QTEST_MAIN(BenchEvents)
#include "bench_events.moc"
