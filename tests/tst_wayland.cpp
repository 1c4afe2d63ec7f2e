// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window under a Wayland compositor, which may maximise, fullscreen, tile
// or minimise any window whatever size it asks for; weston ends a program whose
// maximised surface keeps a size of its own. Run by session.sh on a headless
// weston: a window action that breaks the protocol ends this program with
// status 1 in the middle of its row.

#include "application.h"
#include "click.h"
#include "layout.h"
#include "skipall.h"
#include "tesmoril.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>

namespace {

const QByteArray kAmethyst = "Правилно!  аметист -> кварц\r\nвиолетово оцветен кварц\r\n";

// What must survive a window action: the quiz's choices, the output box and
// the options, and every control's place.
struct Snapshot
{
    int variety;
    int species;
    QByteArray output;
    QStringList checked;
    QList<QPair<QString, QRect>> places;

    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const Tesmoril& window)
{
    Snapshot s{window.quiz().SelectedVariety(),
               window.quiz().SelectedSpecies(),
               QByteArray::fromStdString(window.GetOutputText()),
               {},
               {}};
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        s.places.append({w->objectName(), w->geometry()});
        if (auto* option = qobject_cast<const QRadioButton*>(w); option && option->isChecked())
            s.checked << w->objectName();
    }
    return s;
}

// For QCOMPARE's message when two snapshots differ.
char* toString(const Snapshot& s)
{
    return qstrdup(qPrintable(
        QStringLiteral("variety %1, species %2, checked %3, output \"%4\"")
            .arg(s.variety)
            .arg(s.species)
            .arg(s.checked.join(QLatin1Char(' ')), QString::fromUtf8(s.output.left(40)))));
}

} // namespace

class TestWayland : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowAction_data();
    void windowAction();

private:
    void click(const QString& name)
    {
        auto* w = window->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        ::click(w);
    }
    // Long enough for the request, the compositor's configure, Qt's answer and
    // the compositor's verdict on it.
    static void roundTrip() { QTest::qWait(400); }

    Tesmoril* window = nullptr;
};

void TestWayland::initTestCase()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        SKIP_WHOLE_PROGRAM("needs a Wayland compositor: run it through tests/session.sh --wayland");
    prepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestWayland::init()
{
    window = new Tesmoril;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window, 30000)); // patient on a busy machine
    click(QStringLiteral("Option1(17)")); // аметист
    click(QStringLiteral("Option2(3)"));  // кварц
}

void TestWayland::cleanup()
{
    delete window;
    window = nullptr;
}

void TestWayland::windowAction_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("enlarged"); // the window ends larger than its layout

    QTest::newRow("maximise") << QStringList{"maximise"} << true;
    QTest::newRow("fullscreen") << QStringList{"fullscreen"} << true;
    QTest::newRow("minimise then restore") << QStringList{"minimise", "restore"} << false;
    QTest::newRow("maximise then restore") << QStringList{"maximise", "restore"} << false;
    QTest::newRow("fullscreen then restore") << QStringList{"fullscreen", "restore"} << false;
    QTest::newRow("resize request") << QStringList{"resize"} << true;
}

void TestWayland::windowAction()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, enlarged);
    const QSize layoutSize = layout::toPixels(form::kClientArea).size();
    const Snapshot before = snapshot(*window);
    QCOMPARE(before.checked, (QStringList{"Option1(17)", "Option2(3)"}));

    for (const QString& step : steps) {
        if (step == QLatin1String("maximise"))
            window->setWindowState(Qt::WindowMaximized);
        else if (step == QLatin1String("fullscreen"))
            window->showFullScreen();
        else if (step == QLatin1String("minimise"))
            window->showMinimized();
        else if (step == QLatin1String("restore"))
            window->showNormal();
        else if (step == QLatin1String("resize"))
            window->resize(layoutSize + QSize(200, 100));
        roundTrip();
        // Choosing the same mineral again changes nothing in the quiz, but the
        // window repaints and hands the compositor a new frame in its new state.
        click(QStringLiteral("Option2(3)"));
        roundTrip();
        QCOMPARE(snapshot(*window), before);
    }

    if (enlarged) {
        QTRY_VERIFY2(
            window->width() > layoutSize.width() && window->height() > layoutSize.height(),
            qPrintable(QStringLiteral("%1 x %2").arg(window->width()).arg(window->height())));
        // The layout stays where it was, the room around it in the window's colour.
        const QImage image = window->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        const QRect layoutRect(QPoint(0, 0), layoutSize);
        for (QPoint p :
             {QPoint(window->width() - 1, window->height() - 1), QPoint(window->width() - 1, 0),
              QPoint(0, window->height() - 1),
              QPoint((layoutSize.width() + window->width()) / 2, layoutSize.height() / 2),
              QPoint(layoutSize.width() / 2, (layoutSize.height() + window->height()) / 2)}) {
            QVERIFY(!layoutRect.contains(p));
            QCOMPARE(image.pixelColor(p * ratio), layout::toColor(form::kWindowColour));
        }
    } else {
        QCOMPARE(window->size(), layoutSize);
    }

    // The quiz goes on.
    click(QStringLiteral("Command1(0)"));
    QCOMPARE(QByteArray::fromStdString(window->GetOutputText()), kAmethyst);
    QVERIFY(!window->findChild<QWidget*>(QStringLiteral("Option1(17)"))->isEnabled());
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestWayland test;
    return skipall::status(QTest::qExec(&test, argc, argv));
}

#include "tst_wayland.moc"
