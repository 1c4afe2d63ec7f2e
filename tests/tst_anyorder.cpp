// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "answerkey.h"
#include "application.h"
#include "catalogue.h"
#include "click.h"
#include "tesmoril.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRandomGenerator>
#include <QTest>

#include <optional>
#include <set>

// Drives the real window with long, seeded random sequences of mouse clicks
// and key presses, and after every event compares it with a small model of
// the quiz's rules. The model learns what the learner did from the buttons'
// own clicked signals, so a key press that selects an option counts like a
// click. A failing run names its seed; ORSETA_SEED=N reruns just that one.
class TestAnyOrder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomSessions_data();
    void randomSessions();
};

using namespace answerkey;

namespace {

constexpr int kEvents = 3000;

// The rules, restated from the learner's side.
struct Model
{
    std::optional<int> variety; // last chosen since "Чисти"
    int lastVariety = 0;        // last chosen ever: a repeated check names it again
    std::optional<int> species;
    std::set<int> retired;
    std::string output;

    void clicked(const QString& name)
    {
        const int index = name.section('(', 1).chopped(1).toInt();
        if (name.startsWith("Option1")) {
            variety = lastVariety = index;
            output.clear();
        } else if (name.startsWith("Option2")) {
            species = index;
            output.clear();
        } else if (index == 0) {
            const bool right = variety && species && speciesOf(*variety) == *species;
            output = right ? rightAnswer(lastVariety) : kWrong;
            if (right)
                retired.insert(lastVariety);
        } else {
            variety.reset();
            species.reset();
            retired.clear();
            output = kClear;
        }
    }
};

} // namespace

void TestAnyOrder::initTestCase()
{
    prepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestAnyOrder::randomSessions_data()
{
    QTest::addColumn<quint32>("seed");
    if (qEnvironmentVariableIsSet("ORSETA_SEED")) {
        QTest::newRow("ORSETA_SEED") << quint32(qEnvironmentVariableIntValue("ORSETA_SEED"));
        return;
    }
    for (quint32 seed : {1u, 2u, 3u, 20261208u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestAnyOrder::randomSessions()
{
    QFETCH(quint32, seed);
    Tesmoril window;
    window.show();
    window.activateWindow(); // not left to the window manager's focus rules
    QVERIFY(QTest::qWaitForWindowActive(&window, 30000)); // patient on a busy machine

    Model model;
    model.output = window.GetOutputText();
    const QList<QAbstractButton*> buttons = window.findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons)
        connect(button, &QAbstractButton::clicked, this,
                [&model, button] { model.clicked(button->objectName()); });

    QRandomGenerator random(seed);
    int rightAnswers = 0;
    const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Up,  Qt::Key_Down,   Qt::Key_Left,
                            Qt::Key_Right, Qt::Key_Tab, Qt::Key_Backtab};
    for (int event = 0; event < kEvents; ++event) {
        // Checks and resets are rarer than choices, so that right answers pile up.
        QAbstractButton* target = buttons.at(random.bounded(buttons.size()));
        if (random.bounded(3) == 0)
            target = window.findChild<QAbstractButton*>(random.bounded(4) ? "Command1(0)"
                                                                          : "Command1(1)");
        QString done;
        if (random.bounded(4) == 0) {
            // A key press, on whatever has the focus after a click gave it somewhere.
            const Qt::Key key = keys[random.bounded(int(std::size(keys)))];
            QTest::keyClick(QApplication::focusWidget(), key);
            done = QStringLiteral("key %1 on %2")
                       .arg(key)
                       .arg(QApplication::focusWidget()->objectName());
        } else {
            click(target);
            done = QStringLiteral("click on %1").arg(target->objectName());
        }
        const QByteArray where =
            QStringLiteral("seed %1, event %2 (%3)").arg(seed).arg(event).arg(done).toUtf8();

        QVERIFY2(window.GetOutputText() == model.output, where.constData());
        for (int v = 0; v < 33; ++v) {
            auto* option = window.findChild<QAbstractButton*>(QStringLiteral("Option1(%1)").arg(v));
            const bool retired = model.retired.count(v) > 0;
            QVERIFY2(option->isEnabled() == !retired, where.constData());
            QVERIFY2(!(retired && option->isChecked()), where.constData());
            if (model.output == kClear)
                QVERIFY2(!option->isChecked(), where.constData());
            // Whatever shows as chosen is what the quiz was told of.
            if (option->isChecked())
                QVERIFY2(model.variety == v, where.constData());
        }
        for (int k = 0; k < 5; ++k) {
            auto* option = window.findChild<QAbstractButton*>(QStringLiteral("Option2(%1)").arg(k));
            QVERIFY2(option->isEnabled(), where.constData());
            if (option->isChecked())
                QVERIFY2(model.species == k, where.constData());
        }
        rightAnswers += model.output.rfind("Правилно", 0) == 0 ? 1 : 0;
    }
    QVERIFY2(rightAnswers > 20, "too few right answers to prove anything");
}

QTEST_MAIN(TestAnyOrder)
#include "tst_anyorder.moc"
