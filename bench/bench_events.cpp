// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How long the window takes to handle one event: a right answer's "Изведи",
// and "Чисти", each through a real mouse click on the real window; and its
// resident memory over a long lesson of such presses.
#include "application.h"
#include "click.h"
#include "tesmoril.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace {

// VmRSS from /proc, in KiB.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

} // namespace

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

    // A lesson's worth of right answers and clearings, each drawn on screen:
    // where the window keeps something for every press, resident memory
    // climbs steadily through the thousands.
    void memoryOverALongLesson()
    {
        long after50 = 0;
        for (int press = 1; press <= 3000; ++press) {
            if (press % 2) {
                click("Option1(17)");
                click("Option2(3)");
                click("Command1(0)");
            } else {
                click("Command1(1)");
            }
            QCoreApplication::processEvents(); // paints the window as it is now
            if (press == 50)
                after50 = residentKiB();
        }
        const long after3000 = residentKiB();
        qInfo("MEMORY: resident after 50 presses of \"Изведи\" and \"Чисти\": %.1f MiB,"
              " after 3,000: %.1f MiB (%+.2f MiB)",
              after50 / 1024.0, after3000 / 1024.0, (after3000 - after50) / 1024.0);
    }

private:
    void click(const char* name) { ::click(window.findChild<QWidget*>(name)); }

    Tesmoril window;
};

QTEST_MAIN(BenchEvents)
#include "bench_events.moc"
