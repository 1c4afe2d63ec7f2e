// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "application.h"
#include "catalogue.h"
#include "click.h"
#include "skipall.h"
#include "tesmoril.h"
#include "windowchecks.h"

#include <QAccessible>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleHints>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBlock>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The window as described, in twips, independently of layout.h.
struct Expected
{
    QString name;
    QString parent;
    QRect twips;
    QColor colour;
};

const QColor kLight(192, 255, 192), kGreen(128, 255, 128), kPink(255, 192, 255);

// Varieties by column, top to bottom: the captions run in alphabetical order.
const int kGrid[3][11] = {{0, 1, 7, 17, 18, 8, 19, 13, 2, 14, 3},
                          {9, 20, 15, 21, 4, 22, 23, 24, 10, 25, 26},
                          {31, 32, 27, 5, 11, 16, 12, 28, 6, 29, 30}};
QList<Expected> expectedControls()
{
    QList<Expected> all{
        {"Label1(0)", "Tesmoril", {1680, 0, 4575, 375}, QColor(255, 192, 128)},
        {"Frame1(1)", "Tesmoril", {120, 480, 1455, 1935}, QColor(192, 192, 255)},
        {"Frame1(0)", "Tesmoril", {1920, 480, 5655, 3735}, QColor(192, 192, 255)},
        {"Command1(0)", "Tesmoril", {120, 2760, 975, 375}, kLight},
        {"Command1(1)", "Tesmoril", {720, 3720, 975, 375}, QColor(255, 128, 128)},
        {"Text1(0)", "Tesmoril", {120, 4320, 7455, 2175}, {}},
    };
    for (int k = 0; k < 5; ++k)
        all.append({QStringLiteral("Option2(%1)").arg(k),
                    "Frame1(1)",
                    {120, 300 + 300 * k, 1215, 300},
                    kPink});
    const int lefts[3] = {120, 1680, 4080}, widths[3] = {1455, 2295, 1455};
    const QColor colours[3] = {kLight, kGreen, kLight};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 11; ++r)
            all.append({QStringLiteral("Option1(%1)").arg(kGrid[c][r]),
                        "Frame1(0)",
                        {lefts[c], 300 * (r + 1), widths[c], 300},
                        colours[c]});
    return all;
}

QRect toTwips(QRect pixels)
{
    return {pixels.x() * 15, pixels.y() * 15, pixels.width() * 15, pixels.height() * 15};
}

} // namespace

Q_DECLARE_METATYPE(Expected)

class TestTesmoril : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void geometry_data();
    void geometry();
    void varietiesRunAlphabeticallyDownTheColumns();
    void windowAtStart();
    void mouse_data();
    void mouse();
    void keyboardAlone();
    void tabOrder_data();
    void tabOrder();
    void arrows_data();
    void arrows();
    void arrowsWithModifiers_data();
    void arrowsWithModifiers();
    void keysPressButtons_data();
    void keysPressButtons();
    void ctrlQCloses_data();
    void ctrlQCloses();
    void coloursArePainted_data();
    void coloursArePainted();
    void focusIsVisible_data();
    void focusIsVisible();
    void assistiveActionsAreClicks();
    void captionsAreDarkOnTheirColour();
    void checkedOptionShowsADarkDot();
    void outputBoxIsWhiteWithDarkText();
    void fontIsTimesOrItsMetricTwin();
    void contextMenuIsBulgarian();
    void captionsFit_data();
    void captionsFit();
    void captionsShownWithoutTrailingSpace_data();
    void captionsShownWithoutTrailingSpace();
    void screenReaderSeesTheQuiz();

private:
    template<class T = QWidget> T* control(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    void click(const QString& name) { ::click(control(name)); }
    QByteArray output() const { return QByteArray::fromStdString(window->GetOutputText()); }
    // The colour of point P of widget W in a grab of the window, at any scale.
    QColor pixel(const QImage& image, const QWidget* w, QPoint p) const
    {
        return image.pixelColor(w->mapTo(window, p) * image.devicePixelRatio());
    }
    // The darkest of the pixels of AREA, in widget W's coordinates.
    QColor darkest(const QImage& image, const QWidget* w, QRect area) const
    {
        QColor found(Qt::white);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (windowchecks::luminance(pixel(image, w, {x, y})) <
                    windowchecks::luminance(found))
                    found = pixel(image, w, {x, y});
        return found;
    }

    Tesmoril* window = nullptr;
};

void TestTesmoril::initTestCase()
{
    const QString style = qEnvironmentVariable("QT_STYLE_OVERRIDE");
    if (!style.isEmpty() && !QStyleFactory::keys().contains(style, Qt::CaseInsensitive))
        SKIP_WHOLE_PROGRAM(
            qPrintable("style " + style + " is not installed (Debian: adwaita-qt6)"));
    const QString theme = qEnvironmentVariable("QT_QPA_PLATFORMTHEME");
    if (!theme.isEmpty() && QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platformthemes")
                                .entryList({"*" + theme + "*"})
                                .isEmpty())
        SKIP_WHOLE_PROGRAM(qPrintable("platform theme " + theme +
                                      " is not installed (Debian: qt6-gtk-platformtheme, qt6ct)"));
    prepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestTesmoril::init()
{
    window = new Tesmoril;
    window->show();
    // Asked for, not left to the window manager's focus rules: openbox just
    // started was seen to leave the first window of a session inactive. The
    // wait ends as soon as the window is active.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window, 30000));
}

void TestTesmoril::cleanup()
{
    delete window;
}

void TestTesmoril::geometry_data()
{
    QTest::addColumn<Expected>("expected");
    for (const Expected& e : expectedControls())
        QTest::newRow(qPrintable(e.name)) << e;
}

void TestTesmoril::geometry()
{
    QFETCH(Expected, expected);
    QWidget* w = control(expected.name);
    QCOMPARE(w->parentWidget()->objectName(), expected.parent);
    QCOMPARE(toTwips(w->geometry()), expected.twips);
    QVERIFY(w->isVisible());
}

void TestTesmoril::varietiesRunAlphabeticallyDownTheColumns()
{
    QStringList captions;
    for (const auto& column : kGrid)
        for (int v : column)
            captions << QString::fromStdString(window->OptionCaption(OptionGroup::Varieties, v));
    QStringList sorted = captions;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(captions, sorted);
    QCOMPARE(captions.size(), 33);
}

void TestTesmoril::windowAtStart()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("https://orseta.example  Тесморил"));
    QCOMPARE(toTwips(window->rect()), QRect(0, 0, 7710, 6660));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(QApplication::focusWidget(), control("Text1(0)"));

    // The introductory text, to the byte: eight lines, each ended by CR LF.
    const QByteArray intro = output();
    QCOMPARE(intro.count("\r\n"), 8);
    QCOMPARE(QCryptographicHash::hash(intro, QCryptographicHash::Sha256).toHex(),
             QByteArray("999166ea7525473f24fd9101d4f3627f8ba88bda895097ff791216185859651f"));
    QVERIFY(control<QPlainTextEdit>("Text1(0)")->verticalScrollBar()->maximum() > 0);

    for (auto* option : window->findChildren<QRadioButton*>())
        QVERIFY2(option->isEnabled() && !option->isChecked(), qPrintable(option->objectName()));
    QCOMPARE(window->findChildren<QRadioButton*>().size(), 38);

    // Nothing the window draws is read from an image file: Qt would first load
    // every image-format plugin on the computer, milliseconds of start-up.
    window->grab();
    QFile maps("/proc/self/maps");
    if (maps.open(QIODevice::ReadOnly))
        QVERIFY2(!maps.readAll().contains("/imageformats/"), "an image-format plugin is loaded");

    QVERIFY(window->close()); // nothing asked
}

void TestTesmoril::mouse_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("retired"); // -1: none

    const QByteArray wrong = "Грешен отговор - опитайте отново.\r\n";
    const QByteArray amethyst = "Правилно!  аметист -> кварц\r\nвиолетово оцветен кварц\r\n";
    QTest::newRow("worked example")
        << QStringList{"Option1(17)", "Option2(3)", "Command1(0)"} << amethyst << 17;
    QTest::newRow("species first")
        << QStringList{"Option2(3)", "Option1(17)", "Command1(0)"} << amethyst << 17;
    QTest::newRow("second check repeats the verdict")
        << QStringList{"Option1(17)", "Option2(3)", "Command1(0)", "Command1(0)"} << amethyst << 17;
    QTest::newRow("species with CR LF")
        << QStringList{"Option1(4)", "Option2(0)", "Command1(0)"}
        << "Правилно!  морганит -> берил\r\n\r\nскъпоценен камък, вид берил в цвят розов\r\n"_ba
        << 4;
    QTest::newRow("variety caption with a trailing blank")
        << QStringList{"Option1(21)", "Option2(3)", "Command1(0)"}
        << "Правилно!  карнеол  -> кварц\r\n"_ba +
               QByteArray(catalogue::varieties().at(21).description.data()) + "\r\n"
        << 21;
    QTest::newRow("long description")
        << QStringList{"Option1(8)", "Option2(1)", "Command1(0)"}
        << "Правилно!  андрадит -> гранат\r\n\r\n"_ba +
               QByteArray(catalogue::varieties().at(8).description.data()) + "\r\n"
        << 8;
    QTest::newRow("wrong answer") << QStringList{"Option1(17)", "Option2(2)", "Command1(0)"}
                                  << wrong << -1;
    QTest::newRow("nothing chosen") << QStringList{"Command1(0)"} << wrong << -1;
    QTest::newRow("clear after a right answer")
        << QStringList{"Option1(17)", "Option2(3)", "Command1(0)", "Command1(1)"}
        << "Направете своя избор!"_ba << -1;
    QTest::newRow("choosing empties the box")
        << QStringList{"Option1(17)", "Option2(3)", "Command1(0)", "Option2(1)"} << QByteArray()
        << 17;
}

void TestTesmoril::mouse()
{
    QFETCH(QStringList, clicks);
    QFETCH(QByteArray, expected);
    QFETCH(int, retired);
    for (const QString& name : clicks)
        click(name);
    QCOMPARE(output(), expected);

    // The box offers its scroll bar even for one short line, and wraps every
    // line that is longer than it is wide.
    auto* box = control<QPlainTextEdit>("Text1(0)");
    QApplication::processEvents();
    QVERIFY(box->verticalScrollBar()->isVisible());
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        for (int i = 0; i < block.layout()->lineCount(); ++i)
            QVERIFY2(block.layout()->lineAt(i).naturalTextWidth() <= box->viewport()->width(),
                     qPrintable(block.text()));
    }

    for (int v = 0; v < 33; ++v) {
        auto* option = control<QRadioButton>(QStringLiteral("Option1(%1)").arg(v));
        QCOMPARE(option->isEnabled(), v != retired);
        if (v == retired)
            QVERIFY(!option->isChecked());
    }
    // The species last chosen stays checked after a verdict; only "Чисти" clears it.
    const QStringList species = clicks.filter("Option2");
    if (!species.isEmpty())
        QCOMPARE(control<QRadioButton>(species.last())->isChecked(),
                 clicks.last() != QLatin1String("Command1(1)"));
}

// The whole quiz from the keyboard, starting where the focus is at start.
void TestTesmoril::keyboardAlone()
{
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    press(Qt::Key_Tab); // into the varieties: морганит by the tab indices
    QCOMPARE(QApplication::focusWidget(), control("Option1(4)"));
    press(Qt::Key_Space);
    press(Qt::Key_Tab); // into the species: берил
    press(Qt::Key_Space);
    press(Qt::Key_Down); // the arrow moves on and chooses: гранат
    QVERIFY(control<QRadioButton>("Option2(1)")->isChecked());
    press(Qt::Key_Up); // and back: берил
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control("Command1(0)"));
    press(Qt::Key_Space);
    QCOMPARE(output(),
             "Правилно!  морганит -> берил\r\n\r\nскъпоценен камък, вид берил в цвят розов\r\n"_ba);
    QVERIFY(!control("Option1(4)")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), control("Text1(0)")); // where the verdict is

    press(Qt::Key_Tab); // on to the varieties, at the first one left: аквамарин
    QCOMPARE(QApplication::focusWidget(), control("Option1(1)"));
    press(Qt::Key_Space);
    QCOMPARE(output(), QByteArray());

    press(Qt::Key_Tab, Qt::ShiftModifier); // and back to the box
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), control("Command1(1)"));
    press(Qt::Key_Space);
    QCOMPARE(output(), "Направете своя избор!"_ba);
    QVERIFY(control("Option1(4)")->isEnabled());
}

void TestTesmoril::tabOrder_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QStringList>("stops"); // after the output box, before it comes round again
    const QStringList fresh{"Option1(4)", "Option2(0)", "Command1(0)", "Command1(1)"};
    const QStringList reversed{"Command1(1)", "Command1(0)", "Option2(0)", "Option1(4)"};
    QTest::newRow("fresh") << QStringList() << true << fresh;
    QTest::newRow("fresh, backwards") << QStringList() << false << reversed;
    QTest::newRow("after choosing with the mouse")
        << QStringList{"Option1(30)", "Option2(4)"} << true
        << QStringList{"Option1(30)", "Option2(4)", "Command1(0)", "Command1(1)"};
    QTest::newRow("after choosing with the mouse, backwards")
        << QStringList{"Option1(30)", "Option2(4)"} << false
        << QStringList{"Command1(1)", "Command1(0)", "Option2(4)", "Option1(30)"};
    QTest::newRow("after a retirement")
        << QStringList{"Option1(4)", "Option2(2)", "Option2(0)", "Command1(0)"} << true
        << QStringList{"Option1(1)", "Option2(0)", "Command1(0)", "Command1(1)"};
    QTest::newRow("after clearing")
        << QStringList{"Option1(30)", "Option2(4)", "Command1(1)"} << true << fresh;
}

// Tab walks one fixed cycle, each group of options one stop, entered at its
// checked option or else at its first enabled one by tab index.
void TestTesmoril::tabOrder()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, forward);
    QFETCH(QStringList, stops);
    for (const QString& name : clicks)
        click(name);

    control("Text1(0)")->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i <= stops.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        forward ? Qt::NoModifier : Qt::ShiftModifier);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, stops + QStringList{"Text1(0)"});
}

void TestTesmoril::arrows_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("chosen"); // the option arrived at is chosen

    const QStringList none;
    QTest::newRow("down a column")
        << none << "Option1(0)" << int(Qt::Key_Down) << "Option1(1)" << false;
    QTest::newRow("down from the foot of a column")
        << none << "Option1(3)" << int(Qt::Key_Down) << "Option1(9)" << false;
    QTest::newRow("down from the last variety")
        << none << "Option1(30)" << int(Qt::Key_Down) << "Option1(0)" << false;
    QTest::newRow("up from the first variety")
        << none << "Option1(0)" << int(Qt::Key_Up) << "Option1(30)" << false;
    QTest::newRow("up from the top of a column")
        << none << "Option1(31)" << int(Qt::Key_Up) << "Option1(26)" << false;
    QTest::newRow("right along a row")
        << none << "Option1(26)" << int(Qt::Key_Right) << "Option1(30)" << false;
    QTest::newRow("right from the last column")
        << none << "Option1(30)" << int(Qt::Key_Right) << "Option1(3)" << false;
    QTest::newRow("left from the first column")
        << none << "Option1(0)" << int(Qt::Key_Left) << "Option1(31)" << false;
    QTest::newRow("a retired variety is passed over")
        << QStringList{"Option1(1)", "Option2(0)", "Command1(0)"} << "Option1(0)"
        << int(Qt::Key_Down) << "Option1(7)" << false;
    QTest::newRow("a retired variety is passed over sideways")
        << QStringList{"Option1(9)", "Option2(1)", "Command1(0)"} << "Option1(0)"
        << int(Qt::Key_Right) << "Option1(31)" << false;
    QTest::newRow("the choice moves with the focus")
        << QStringList{"Option1(0)"} << "Option1(0)" << int(Qt::Key_Right) << "Option1(9)" << true;
    QTest::newRow("minerals: down")
        << none << "Option2(0)" << int(Qt::Key_Down) << "Option2(1)" << false;
    QTest::newRow("minerals: right")
        << none << "Option2(3)" << int(Qt::Key_Right) << "Option2(4)" << false;
    QTest::newRow("minerals: down from the last")
        << none << "Option2(4)" << int(Qt::Key_Down) << "Option2(0)" << false;
    QTest::newRow("minerals: left from the first")
        << none << "Option2(0)" << int(Qt::Key_Left) << "Option2(4)" << false;
    QTest::newRow("minerals: the choice moves with the focus")
        << QStringList{"Option2(2)"} << "Option2(2)" << int(Qt::Key_Up) << "Option2(1)" << true;
}

void TestTesmoril::arrows()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    QFETCH(bool, chosen);
    for (const QString& name : clicks)
        click(name);
    control(from)->setFocus();
    QTest::keyClick(control(from), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
    QCOMPARE(control<QRadioButton>(to)->isChecked(), chosen);
    if (chosen) { // and the quiz heard of it
        const int index = to.section('(', 1).chopped(1).toInt();
        QCOMPARE(to.startsWith("Option1") ? int(window->quiz().SelectedVariety())
                                          : window->quiz().SelectedSpecies(),
                 index);
    }
}

void TestTesmoril::arrowsWithModifiers_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("to"); // as the plain arrow goes
    QTest::newRow("Shift+Down from the foot of a column")
        << "Option1(3)" << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ShiftModifier)
        << "Option1(9)";
    QTest::newRow("Ctrl+Right from the last column")
        << "Option1(30)" << int(Qt::Key_Right) << Qt::KeyboardModifiers(Qt::ControlModifier)
        << "Option1(3)";
    QTest::newRow("Alt+Up from the first variety")
        << "Option1(0)" << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::AltModifier)
        << "Option1(30)";
    QTest::newRow("Ctrl+Shift+Left among the minerals")
        << "Option2(0)" << int(Qt::Key_Left)
        << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << "Option2(4)";
}

// With a modifier held, an arrow goes where the plain arrow goes, not by
// Qt's own movement, which would neither wrap nor follow the grid's order.
void TestTesmoril::arrowsWithModifiers()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, to);
    control(from)->setFocus();
    QTest::keyClick(control(from), Qt::Key(key), modifiers);
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
}

void TestTesmoril::keysPressButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray amethyst = "Правилно!  аметист -> кварц\r\nвиолетово оцветен кварц\r\n";
    QTest::newRow("Space on Изведи") << "Command1(0)" << int(Qt::Key_Space) << false << amethyst;
    QTest::newRow("Enter on Изведи") << "Command1(0)" << int(Qt::Key_Return) << false << amethyst;
    QTest::newRow("keypad Enter on Изведи")
        << "Command1(0)" << int(Qt::Key_Enter) << true << amethyst;
    QTest::newRow("Enter on Чисти")
        << "Command1(1)" << int(Qt::Key_Return) << false << "Направете своя избор!"_ba;
}

// Either button, pressed from the keyboard, writes the box and hands it the
// focus, so a screen reader reads the new text out.
void TestTesmoril::keysPressButtons()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(QByteArray, expected);
    click("Option1(17)");
    click("Option2(3)");
    control(button)->setFocus();
    QTest::keyClick(control(button), Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(output(), expected);
    QCOMPARE(QApplication::focusWidget(), control("Text1(0)"));
    QCOMPARE(control<QPlainTextEdit>("Text1(0)")->textCursor().position(), 0);
}

void TestTesmoril::ctrlQCloses_data()
{
    QTest::addColumn<QString>("focus");
    for (const char* name : {"Text1(0)", "Option1(0)", "Option2(0)", "Command1(0)", "Command1(1)"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Wherever the focus is. Other layouts are tried on X11 (quitkey.py).
void TestTesmoril::ctrlQCloses()
{
    QFETCH(QString, focus);
    control(focus)->setFocus();
    QTest::keyClick(control(focus), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!window->isVisible());
}

void TestTesmoril::coloursArePainted_data()
{
    QTest::addColumn<Expected>("expected");
    for (const Expected& e : expectedControls())
        if (e.colour.isValid())
            QTest::newRow(qPrintable(e.name)) << e;
    QTest::newRow("window") << Expected{"Tesmoril", {}, {}, QColor(192, 192, 255)};
}

void TestTesmoril::coloursArePainted()
{
    QFETCH(Expected, expected);
    const QImage image = window->grab().toImage();
    QWidget* w = expected.name == "Tesmoril" ? window : control(expected.name);
    // Clear of the caption and any border: an option's last column, or else
    // near the right end and the bottom.
    const QPoint inside = qobject_cast<QRadioButton*>(w) ? QPoint(w->width() - 1, w->height() / 2)
                                                         : QPoint(w->width() - 4, w->height() - 5);
    const QColor painted = image.pixelColor(w->mapTo(window, inside) * image.devicePixelRatio());
    // The style may shade a frame's inside a little; a few units are invisible.
    const int off = std::max({std::abs(painted.red() - expected.colour.red()),
                              std::abs(painted.green() - expected.colour.green()),
                              std::abs(painted.blue() - expected.colour.blue())});
    QVERIFY2(off <= 3, qPrintable(painted.name()));
}

void TestTesmoril::focusIsVisible_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("from"); // focused first; then one key leads to NAME
    QTest::addColumn<int>("key");
    QTest::newRow("variety, light column") << "Option1(1)"
                                           << "Option1(0)" << int(Qt::Key_Down);
    QTest::newRow("variety, green column") << "Option1(9)"
                                           << "Option1(3)" << int(Qt::Key_Down);
    QTest::newRow("mineral") << "Option2(1)"
                             << "Option2(0)" << int(Qt::Key_Down);
    QTest::newRow("Изведи") << "Command1(0)"
                            << "Option2(0)" << int(Qt::Key_Tab);
    QTest::newRow("Чисти") << "Command1(1)"
                           << "Command1(0)" << int(Qt::Key_Tab);
    QTest::newRow("output box") << "Text1(0)"
                                << "Command1(1)" << int(Qt::Key_Tab);
}

// Reached from the keyboard, a control shows the focus in pixels that stand
// out at least 3:1 from what was there before: an outline, not a tint.
void TestTesmoril::focusIsVisible()
{
    QFETCH(QString, name);
    QFETCH(QString, from);
    QFETCH(int, key);
    QWidget* target = control(name);
    control(from)->setFocus();
    const QImage before = window->grab().toImage();
    QTest::keyClick(control(from), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), target);
    const QImage after = window->grab().toImage();

    const qreal ratio = after.devicePixelRatio();
    const QRect area(target->mapTo(window, QPoint(0, 0)) * ratio, target->size() * ratio);
    int outstanding = 0, tinted = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const double change =
                windowchecks::contrast(before.pixelColor(x, y), after.pixelColor(x, y));
            outstanding += change >= 3.0;
            tinted += change > 1.05 && change < 3.0 &&
                      windowchecks::luminance(before.pixelColor(x, y)) > 0.3;
        }
    // At least a line round a short caption: some 80 pixels at scale 1. The
    // light designed colours stay as they were, but for the odd smoothed edge.
    QVERIFY2(outstanding >= 80 * ratio, qPrintable(QString::number(outstanding)));
    QVERIFY2(tinted <= outstanding / 2, qPrintable(QString::number(tinted)));
}

// Voice control and switch access act through the accessibility actions: an
// option chosen that way counts as a click, and the button's press checks.
void TestTesmoril::assistiveActionsAreClicks()
{
    const auto act = [this](const char* name) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control(name));
        QAccessibleActionInterface* actions = node->actionInterface();
        QVERIFY(actions && !actions->actionNames().isEmpty());
        actions->doAction(actions->actionNames().constFirst());
    };
    act("Option1(17)");
    act("Option2(3)");
    QVERIFY(control<QRadioButton>("Option1(17)")->isChecked());
    act("Command1(0)");
    QTRY_COMPARE(output(), "Правилно!  аметист -> кварц\r\nвиолетово оцветен кварц\r\n"_ba);
    QVERIFY(!control("Option1(17)")->isEnabled());
}

// WCAG AA for normal text: 4.5:1 between the darkest pixel of each caption and
// the control's background, whatever colours the desktop's theme would bring.
void TestTesmoril::captionsAreDarkOnTheirColour()
{
    click("Option1(0)");
    click("Option2(0)");
    const QImage image = window->grab().toImage();
    QStringList faint;
    for (QWidget* w :
         window->findChildren<QWidget*>(QRegularExpression("^(Option|Command|Label|Frame)"))) {
        // A push button's colour comes from its style sheet, not its palette.
        const QColor background = qobject_cast<QPushButton*>(w)
                                      ? pixel(image, w, QPoint(w->width() - 4, w->height() - 5))
                                      : w->palette().color(QPalette::Window);
        const QRect caption = windowchecks::captionRect(w);
        const QColor text = darkest(image, w, caption);
        const double ratio = windowchecks::contrast(text, background);
        if (ratio < 4.5)
            faint << QStringLiteral("%1 %2 on %3: %4")
                         .arg(w->objectName(), text.name(), background.name())
                         .arg(ratio, 0, 'f', 1);
    }
    QCOMPARE(faint, QStringList());
}

// A light circle with a dark dot when checked, a light circle when not: a dark
// desktop palette turned every indicator into a black disc.
void TestTesmoril::checkedOptionShowsADarkDot()
{
    click("Option1(0)");
    click("Option2(0)");
    const QImage image = window->grab().toImage();
    for (const char* name : {"Option1(0)", "Option2(0)", "Option1(1)", "Option2(1)"}) {
        auto* option = control<QRadioButton>(name);
        QStyleOptionButton style;
        style.initFrom(option);
        const QRect box =
            option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
        const QPoint centre = box.center();
        const double r = std::min(box.width(), box.height()) / 2.0;
        double ring = 0; // the lightest pixel between the dot and the outline
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const double d = std::hypot(x - centre.x(), y - centre.y());
                if (d >= 0.5 * r && d <= 0.75 * r)
                    ring = std::max(ring, windowchecks::luminance(pixel(image, option, {x, y})));
            }
        const double middle = windowchecks::luminance(pixel(image, option, centre));
        QVERIFY2(ring > 0.7, qPrintable(QStringLiteral("%1: ring %2").arg(name).arg(ring)));
        if (option->isChecked())
            QVERIFY2((ring + 0.05) / (middle + 0.05) >= 4.5,
                     qPrintable(QStringLiteral("%1: dot %2").arg(name).arg(middle)));
        else
            QVERIFY2(middle > 0.7,
                     qPrintable(QStringLiteral("%1: centre %2").arg(name).arg(middle)));
    }
}

void TestTesmoril::outputBoxIsWhiteWithDarkText()
{
    const QImage image = window->grab().toImage();
    const QWidget* viewport = control<QPlainTextEdit>("Text1(0)")->viewport();
    const QColor paper =
        pixel(image, viewport, QPoint(viewport->width() - 3, viewport->height() - 3));
    QCOMPARE(paper.name(), QStringLiteral("#ffffff"));
    const QColor ink = darkest(image, viewport, viewport->rect());
    QVERIFY2(windowchecks::contrast(ink, paper) >= 4.5, qPrintable(ink.name()));
    // A theme told to keep out may leave the double-click time unset, and no
    // word of the box could then be selected by a double click.
    QVERIFY(QGuiApplication::styleHints()->mouseDoubleClickInterval() >= 100);
}

void TestTesmoril::fontIsTimesOrItsMetricTwin()
{
    for (const char* name : {"Option1(0)", "Option2(0)", "Command1(0)", "Label1(0)", "Text1(0)"}) {
        const QFontInfo info(control(name)->font());
        const QString family = windowchecks::familyOf(control(name)->font());
        QVERIFY2(QStringList({"Times New Roman", "Liberation Serif", "Tinos", "Nimbus Roman"})
                     .contains(family),
                 qPrintable(QStringLiteral("%1: %2").arg(name, family)));
        QCOMPARE(info.pointSize(), 12);
        QVERIFY(!info.bold() && !info.italic());
    }
}

void TestTesmoril::contextMenuIsBulgarian()
{
    std::unique_ptr<QMenu> menu(control<QPlainTextEdit>("Text1(0)")->createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    QVERIFY(!texts.isEmpty());
    for (const QString& text : texts)
        QVERIFY2(text.contains(QRegularExpression("\\p{Cyrillic}")), qPrintable(text));
}

void TestTesmoril::captionsFit_data()
{
    QTest::addColumn<QString>("family"); // empty: the program's own choice
    QTest::newRow("as the program starts") << QString();
    for (const char* family : {"Liberation Serif", "Tinos", "Nimbus Roman"})
        QTest::newRow(family) << QString::fromLatin1(family);
}

// Every caption fits the room the style gives it, at the scale the test runs
// at (CTest runs it at 1, 1.5 and 2), in whichever of Times New Roman's metric
// twins a computer has.
void TestTesmoril::captionsFit()
{
    QFETCH(QString, family);
    if (family.isEmpty()) {
        QCOMPARE(windowchecks::clippedCaptions(window), QStringList());
        return;
    }
    if (!QFontDatabase::hasFamily(family))
        QSKIP(qPrintable(family + " is not installed (Debian: fonts-liberation, fonts-croscore, "
                                  "fonts-urw-base35)"));
    const QFont original = QApplication::font();
    QFont font(QStringList{family}, 12);
    font.setStyleHint(QFont::Serif);
    QApplication::setFont(font);
    Tesmoril twin;
    twin.show();
    const QString used = windowchecks::familyOf(twin.findChild<QWidget*>("Option1(0)")->font());
    const QStringList clipped = windowchecks::clippedCaptions(&twin);
    QApplication::setFont(original);
    QCOMPARE(used, family);
    QCOMPARE(clipped, QStringList());
}

void TestTesmoril::captionsShownWithoutTrailingSpace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("caption"); // as the answer line quotes it
    QTest::addColumn<QString>("shown");      // as drawn and announced
    QTest::newRow("trailing blank") << "Option1(21)"
                                    << "карнеол "_ba
                                    << "карнеол";
    QTest::newRow("trailing CR LF") << "Option2(0)"
                                    << "берил\r\n"_ba
                                    << "берил";
    QTest::newRow("blank inside") << "Option1(25)"
                                  << "планински кристал"_ba
                                  << "планински кристал";
    QTest::newRow("plain") << "Option2(3)"
                           << "кварц"_ba
                           << "кварц";
}

void TestTesmoril::captionsShownWithoutTrailingSpace()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, caption);
    QFETCH(QString, shown);
    auto* option = control<QRadioButton>(name);
    const auto group = name.startsWith("Option1") ? OptionGroup::Varieties : OptionGroup::Species;
    const auto index = static_cast<std::int16_t>(name.section('(', 1).chopped(1).toInt());
    QCOMPARE(QByteArray::fromStdString(window->OptionCaption(group, index)), caption);
    QCOMPARE(option->text(), shown);
    QCOMPARE(QAccessible::queryAccessibleInterface(option)->text(QAccessible::Name), shown);
}

namespace {
QList<QAccessibleInterface*> descendants(QAccessibleInterface* node)
{
    QList<QAccessibleInterface*> all;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        all << child << descendants(child);
    }
    return all;
}

} // namespace

// What a screen reader gets after a right answer: every control by role with a
// clean name, the options' states, and the verdict as it is written.
void TestTesmoril::screenReaderSeesTheQuiz()
{
    for (const char* name : {"Option1(17)", "Option2(3)", "Command1(0)"})
        click(name);

    QMap<QAccessible::Role, QStringList> names;
    const QRegularExpression controlName("^(Option1|Option2|Command1|Frame1|Label1|Text1)\\(");
    for (QAccessibleInterface* node : descendants(QAccessible::queryAccessibleInterface(window))) {
        if (!node->object() || !controlName.match(node->object()->objectName()).hasMatch())
            continue; // the parts of a scroll area
        const QString name = node->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty() && name == name.trimmed() &&
                     !name.contains(QRegularExpression("[\\r\\n]")),
                 qPrintable(node->object()->objectName() + ": '" + name + "'"));
        names[node->role()] << name;
        if (node->role() != QAccessible::RadioButton)
            continue;
        const auto* option = qobject_cast<QRadioButton*>(node->object());
        QCOMPARE(node->state().checked, option->isChecked());
        QCOMPARE(node->state().disabled, !option->isEnabled());
        QCOMPARE(option->isEnabled(), option->objectName() != "Option1(17)");
        QCOMPARE(option->isChecked(), option->objectName() == "Option2(3)");
        QCOMPARE(name, option->text());
    }
    QCOMPARE(names[QAccessible::RadioButton].size(), 38);
    QVERIFY(names[QAccessible::RadioButton].contains("берил"));
    QVERIFY(names[QAccessible::RadioButton].contains("карнеол"));
    QCOMPARE(names[QAccessible::Button], QStringList({"Изведи", "Чисти"}));
    QCOMPARE(names[QAccessible::Grouping], QStringList({"Разновидност", "Минерал"}));
    QCOMPARE(names[QAccessible::StaticText], QStringList({"Орсета"}));
    QCOMPARE(names[QAccessible::EditableText], QStringList({"Резултат"}));

    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(control("Text1(0)"));
    QVERIFY(box->state().readOnly);
    QAccessibleTextInterface* text = box->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()).replace(QChar::ParagraphSeparator, "\n"),
             "Правилно!  аметист -> кварц\nвиолетово оцветен кварц\n");
}

// Started as the program starts, so that CTest can also run these tests under
// desktop styles and themes (QT_STYLE_OVERRIDE, QT_QPA_PLATFORMTHEME).
int main(int argc, char* argv[])
{
    beforeApplication();
    QApplication app(argc, argv);
    TestTesmoril test;
    return skipall::status(QTest::qExec(&test, argc, argv));
}

#include "tst_tesmoril.moc"
