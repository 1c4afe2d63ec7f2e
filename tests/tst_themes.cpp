// The window's look under desktop styles, platform themes and fonts that would
// change it. CTest runs this program once per desktop setting, on Xvfb, so it
// starts up exactly as the program does.
#include "application.h"
#include "layout.h"
#include "tesmoril.h"
#include "windowchecks.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleHints>
#include <QStyleOptionGroupBox>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

using windowchecks::captionRect;
using windowchecks::contrast;
using windowchecks::familyOf;
using windowchecks::luminance;

const QStringList kSerifFamilies{"Times New Roman", "Liberation Serif", "Tinos", "Nimbus Roman"};

// The darkest pixel of a rectangle given in the coordinates of widget w.
QColor darkest(const QImage& image, const QWidget* window, const QWidget* w, QRect r)
{
    r = QRect(w->mapTo(window, r.topLeft()), r.size()).intersected(image.rect());
    QColor found(Qt::white);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (luminance(image.pixelColor(x, y)) < luminance(found))
                found = image.pixelColor(x, y);
    return found;
}

QColor pixel(const QImage& image, const QWidget* window, const QWidget* w, QPoint p)
{
    return image.pixelColor(w->mapTo(window, p));
}

} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void captionsAreDarkOnTheirColour();
    void checkedOptionShowsADarkDot();
    void captionsFit();
    void designedColoursKept();
    void outputBoxIsWhiteWithDarkText();
    void fontIsTimesOrAMetricTwin();
    void doubleClickSelectsAWord();

private:
    QWidget* control(const char* name) const
    {
        QWidget* found = window->findChild<QWidget*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    std::unique_ptr<Tesmoril> window;
    QImage atStart; // with the introductory text in the output box
    QImage chosen;  // after choosing a variety and a species
};

void TestThemes::initTestCase()
{
    const QString style = qEnvironmentVariable("QT_STYLE_OVERRIDE");
    if (!style.isEmpty() && !QStyleFactory::keys().contains(style, Qt::CaseInsensitive))
        QSKIP(qPrintable("style " + style + " is not installed (Debian: adwaita-qt6)"));
    const QString theme = qEnvironmentVariable("QT_QPA_PLATFORMTHEME");
    if (!theme.isEmpty() &&
        QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platformthemes")
            .entryList({"*" + theme + "*"})
            .isEmpty())
        QSKIP(qPrintable("platform theme " + theme +
                         " is not installed (Debian: qt6-gtk-platformtheme, qt6ct)"));
    bool serif = false;
    for (const QString& family : kSerifFamilies)
        serif = serif || QFontDatabase::hasFamily(family);
    if (!serif)
        QSKIP("neither Times New Roman nor a metric twin is installed (Debian: fonts-liberation)");

    window = std::make_unique<Tesmoril>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(50); // a platform theme applies its settings from the event loop
    atStart = window->grab().toImage();
    for (const char* name : {"Option1(0)", "Option2(0)"}) {
        QWidget* option = control(name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
    chosen = window->grab().toImage();
    QCOMPARE(chosen.devicePixelRatio(), 1.0);
}

void TestThemes::cleanupTestCase()
{
    window.reset();
}

// WCAG AA for normal text: 4.5:1 between the darkest pixel of each caption and
// the control's background.
void TestThemes::captionsAreDarkOnTheirColour()
{
    QStringList faint;
    for (QWidget* w : window->findChildren<QWidget*>(
             QRegularExpression("^(Option|Command|Label|Frame)"))) {
        // A push button's colour comes from its style sheet, not its palette.
        const QColor background =
            qobject_cast<QPushButton*>(w)
                ? pixel(chosen, window.get(), w, QPoint(w->width() - 4, w->height() - 5))
                : w->palette().color(QPalette::Window);
        const QColor text = darkest(chosen, window.get(), w, captionRect(w));
        const double ratio = contrast(text, background);
        if (ratio < 4.5)
            faint << QStringLiteral("%1 %2 on %3: %4")
                         .arg(w->objectName(), text.name(), background.name())
                         .arg(ratio, 0, 'f', 1);
    }
    QCOMPARE(faint, QStringList());
}

// A light circle with a dark dot when checked, a light circle when not: a dark
// desktop palette turned every indicator into a black disc.
void TestThemes::checkedOptionShowsADarkDot()
{
    for (const char* name : {"Option1(0)", "Option2(0)", "Option1(1)", "Option2(1)"}) {
        auto* option = qobject_cast<QRadioButton*>(control(name));
        QCOMPARE(option->isChecked(), QByteArray(name).endsWith("(0)"));
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
                    ring = std::max(ring, luminance(pixel(chosen, window.get(), option, {x, y})));
            }
        const double middle = luminance(pixel(chosen, window.get(), option, centre));
        QVERIFY2(ring > 0.7, qPrintable(QStringLiteral("%1: ring %2").arg(name).arg(ring)));
        if (option->isChecked())
            QVERIFY2((ring + 0.05) / (middle + 0.05) >= 4.5,
                     qPrintable(QStringLiteral("%1: dot %2").arg(name).arg(middle)));
        else
            QVERIFY2(middle > 0.7, qPrintable(QStringLiteral("%1: centre %2").arg(name).arg(middle)));
    }
}

void TestThemes::captionsFit()
{
    QCOMPARE(windowchecks::clippedCaptions(window.get()), QStringList());
}

// Sample points clear of captions and borders.
void TestThemes::designedColoursKept()
{
    QStringList wrong;
    const auto check = [&](const QWidget* w, QPoint p, layout::Rgb designed) {
        const QColor painted = pixel(chosen, window.get(), w, p);
        const QColor expected = layout::toColor(designed);
        if (std::max({std::abs(painted.red() - expected.red()),
                      std::abs(painted.green() - expected.green()),
                      std::abs(painted.blue() - expected.blue())}) > 3)
            wrong << QStringLiteral("%1: %2").arg(w->objectName(), painted.name());
    };
    const auto corner = [](const QWidget* w) { return QPoint(w->width() - 4, w->height() - 5); };
    check(window.get(), QPoint(2, window->height() / 2), layout::kWindowColour);
    check(control("Label1(0)"), QPoint(3, 3), layout::kBannerColour);
    check(control("Frame1(0)"), corner(control("Frame1(0)")), layout::kFrameColour);
    check(control("Frame1(1)"), corner(control("Frame1(1)")), layout::kFrameColour);
    for (int i = 0; i < 2; ++i) {
        const QWidget* button = control(qPrintable(QStringLiteral("Command1(%1)").arg(i)));
        check(button, corner(button), layout::kCommandColours.at(i));
    }
    for (int column = 0; column < 3; ++column) {
        const int variety = layout::kVarietyGrid.at(column).at(5).variety;
        const QWidget* option = control(qPrintable(QStringLiteral("Option1(%1)").arg(variety)));
        check(option, QPoint(option->width() - 1, option->height() / 2),
              layout::kVarietyColumns.at(column).colour);
    }
    const QWidget* species = control("Option2(2)");
    check(species, QPoint(species->width() - 1, species->height() / 2), layout::kSpeciesColour);
    QCOMPARE(wrong, QStringList());
}

void TestThemes::outputBoxIsWhiteWithDarkText()
{
    const QWidget* viewport = qobject_cast<QPlainTextEdit*>(control("Text1(0)"))->viewport();
    const QColor paper = pixel(atStart, window.get(), viewport,
                               QPoint(viewport->width() - 3, viewport->height() - 3));
    QCOMPARE(paper.name(), QStringLiteral("#ffffff"));
    const QColor ink = darkest(atStart, window.get(), viewport, viewport->rect());
    QVERIFY2(contrast(ink, paper) >= 4.5, qPrintable(ink.name()));
}

// The captions are measured for Times New Roman; a desktop font (or a sans
// fallback) at another size would clip them.
void TestThemes::fontIsTimesOrAMetricTwin()
{
    for (const char* name : {"Option1(0)", "Option2(0)", "Command1(0)", "Label1(0)", "Frame1(0)",
                             "Text1(0)"}) {
        const QFontInfo info(control(name)->font());
        const QString family = familyOf(control(name)->font());
        QVERIFY2(kSerifFamilies.contains(family),
                 qPrintable(QStringLiteral("%1: %2").arg(name, family)));
        QCOMPARE(info.pointSize(), 12);
        QVERIFY2(!info.bold() && !info.italic(), name);
    }
}

// The learner double-clicks a word of the output box to select it.
void TestThemes::doubleClickSelectsAWord()
{
    QVERIFY(QGuiApplication::styleHints()->mouseDoubleClickInterval() >= 100);
}

int main(int argc, char* argv[])
{
    beforeApplication();
    QApplication app(argc, argv);
    prepareApplication(app);
    TestThemes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_themes.moc"
