// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "answerkey.h"
#include "catalogue.h"
#include "fakequizview.h"
#include "quiz.h"

#include <QTest>

using namespace answerkey;

class TestQuiz : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadResetsEverythingButTheOutput();
    void workedExampleToTheByte();
    void everyRightPairing_data();
    void everyRightPairing();
    void everyWrongPairing_data();
    void everyWrongPairing();
    void incompletePairings_data();
    void incompletePairings();
    void captionsCarryTheirEndings_data();
    void captionsCarryTheirEndings();
    void secondCheckRepeatsTheVerdict();
    void anotherSpeciesIsJudgedAgainstTheRetiredVariety();
    void clearButtonBringsEverythingBack();
    void selectionsEmptyTheOutput();
    void unknownButtonDoesNothing();
    void callsComeInOrder();

private:
    void pickVariety(std::int16_t v)
    {
        view->select(OptionGroup::Varieties, v);
        quiz->OnVarietyClick(v);
    }
    void pickSpecies(std::int16_t k)
    {
        view->select(OptionGroup::Species, k);
        quiz->OnSpeciesClick(k);
    }

    FakeQuizView* view = nullptr;
    Quiz* quiz = nullptr;
};

void TestQuiz::init()
{
    view = new FakeQuizView;
    for (auto& o : view->varieties)
        o = {true, false}; // so that the load has something to undo
    view->species[2] = {true, false};
    quiz = new Quiz(*view);
    quiz->OnFormLoad();
    view->log.clear();
}

void TestQuiz::cleanup()
{
    delete quiz;
    delete view;
}

void TestQuiz::loadResetsEverythingButTheOutput()
{
    for (const auto& o : view->varieties)
        QVERIFY(!o.checked && o.enabled);
    for (const auto& o : view->species)
        QVERIFY(!o.checked && o.enabled);
    QCOMPARE(view->output, std::string("intro"));
    QCOMPARE(quiz->SelectedSpecies(), -1);
    QCOMPARE(quiz->ExpectedSpecies(), -1.0);
    QCOMPARE(quiz->SelectedVariety(), std::int16_t(0));
}

void TestQuiz::workedExampleToTheByte()
{
    pickVariety(17);
    QCOMPARE(quiz->ExpectedSpecies(), 3.0);
    QCOMPARE(view->output, std::string());
    view->output = "leftover";
    pickSpecies(3);
    QCOMPARE(view->output, std::string());
    quiz->OnCommandClick(0);
    QCOMPARE(view->output, std::string("Правилно!  аметист -> кварц\r\n"
                                       "виолетово оцветен кварц\r\n"));
    QVERIFY(!view->varieties[17].checked && !view->varieties[17].enabled);
    QVERIFY(view->species[3].checked);
}

void TestQuiz::everyRightPairing_data()
{
    QTest::addColumn<int>("variety");
    for (int v = 0; v < 33; ++v)
        QTest::addRow("%d %s", v, catalogue::varieties().at(v).caption.data()) << v;
}

void TestQuiz::everyRightPairing()
{
    QFETCH(int, variety);
    pickVariety(std::int16_t(variety));
    pickSpecies(std::int16_t(speciesOf(variety)));
    quiz->OnCommandClick(0);
    QCOMPARE(view->output, rightAnswer(variety));
    for (int v = 0; v < 33; ++v) {
        QCOMPARE(view->varieties[v].enabled, v != variety);
        QVERIFY(!view->varieties[v].checked);
    }
    for (int k = 0; k < 5; ++k)
        QCOMPARE(view->species[k].checked, k == speciesOf(variety));
}

void TestQuiz::everyWrongPairing_data()
{
    everyRightPairing_data();
}

void TestQuiz::everyWrongPairing()
{
    QFETCH(int, variety);
    for (int k = 0; k < 5; ++k) {
        if (k == speciesOf(variety))
            continue;
        pickVariety(std::int16_t(variety));
        pickSpecies(std::int16_t(k));
        quiz->OnCommandClick(0);
        QCOMPARE(view->output, kWrong);
        QVERIFY(view->varieties[variety].checked && view->varieties[variety].enabled);
    }
}

void TestQuiz::incompletePairings_data()
{
    QTest::addColumn<int>("variety"); // -1: none chosen
    QTest::addColumn<int>("species");
    QTest::addColumn<bool>("clearFirst"); // press "Чисти" after choosing the variety
    QTest::newRow("nothing chosen") << -1 << -1 << false;
    QTest::newRow("variety of species 0 alone") << 0 << -1 << false;
    QTest::newRow("variety of species 4 alone") << 31 << -1 << false;
    QTest::newRow("species 0 alone") << -1 << 0 << false;
    QTest::newRow("species 3 alone") << -1 << 3 << false;
    QTest::newRow("right species after clear") << 17 << 3 << true;
}

void TestQuiz::incompletePairings()
{
    QFETCH(int, variety);
    QFETCH(int, species);
    QFETCH(bool, clearFirst);
    if (variety >= 0)
        pickVariety(std::int16_t(variety));
    if (clearFirst)
        quiz->OnCommandClick(1);
    if (species >= 0)
        pickSpecies(std::int16_t(species));
    quiz->OnCommandClick(0);
    QCOMPARE(view->output, kWrong);
    for (const auto& o : view->varieties)
        QVERIFY(o.enabled);
}

void TestQuiz::captionsCarryTheirEndings_data()
{
    QTest::addColumn<int>("variety");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("гранат ends in CR LF")
        << 7
        << QByteArray("Правилно!  алмандин -> гранат\r\n\r\nразновидност на гранат - силикат на "
                      "желязото и "
                      "алуминия, най-разпространеният гранат, виолетово и малиново-червен.\r\n");
    QTest::newRow("берил ends in CR LF")
        << 4
        << QByteArray(
               "Правилно!  морганит -> берил\r\n\r\nскъпоценен камък, вид берил в цвят розов\r\n");
    QTest::newRow("карнеол ends in a blank")
        << 21
        << QByteArray(
               "Правилно!  карнеол  -> кварц\r\nсилициев диоксид (кварц), полускъпоценен камък, "
               "разновидност на халцедона. просветляващ до полупрозрачен, червен, "
               "червеникаво-кафяв "
               "до оранжев халцедон \r\n");
}

void TestQuiz::captionsCarryTheirEndings()
{
    QFETCH(int, variety);
    QFETCH(QByteArray, expected);
    pickVariety(std::int16_t(variety));
    pickSpecies(std::int16_t(speciesOf(variety)));
    quiz->OnCommandClick(0);
    QCOMPARE(QByteArray::fromStdString(view->output), expected);
}

void TestQuiz::secondCheckRepeatsTheVerdict()
{
    pickVariety(10);
    pickSpecies(1);
    quiz->OnCommandClick(0);
    quiz->OnCommandClick(0);
    QCOMPARE(view->output, rightAnswer(10));
    QVERIFY(!view->varieties[10].checked && !view->varieties[10].enabled);
}

void TestQuiz::anotherSpeciesIsJudgedAgainstTheRetiredVariety()
{
    pickVariety(31);
    pickSpecies(4);
    quiz->OnCommandClick(0);
    pickSpecies(2);
    quiz->OnCommandClick(0);
    QCOMPARE(view->output, kWrong);
    pickSpecies(4);
    quiz->OnCommandClick(0);
    QCOMPARE(view->output, rightAnswer(31));
}

void TestQuiz::clearButtonBringsEverythingBack()
{
    pickVariety(2);
    pickSpecies(0);
    quiz->OnCommandClick(0);
    pickVariety(5);
    quiz->OnCommandClick(1);
    QCOMPARE(view->output, std::string("Направете своя избор!"));
    for (const auto& o : view->varieties)
        QVERIFY(!o.checked && o.enabled);
    for (const auto& o : view->species)
        QVERIFY(!o.checked && o.enabled);
    QCOMPARE(quiz->SelectedVariety(), std::int16_t(5));
    QCOMPARE(quiz->ExpectedSpecies(), -1.0);
    QCOMPARE(quiz->SelectedSpecies(), -1);
}

void TestQuiz::selectionsEmptyTheOutput()
{
    pickVariety(3);
    pickSpecies(0);
    quiz->OnCommandClick(0);
    QVERIFY(!view->output.empty());
    pickSpecies(0); // the same species again still empties the box
    QCOMPARE(view->output, std::string());
    QCOMPARE(quiz->SelectedVariety(), std::int16_t(3));
    QCOMPARE(quiz->ExpectedSpecies(), 0.0);
    view->output = "verdict";
    pickVariety(9);
    QCOMPARE(view->output, std::string());
    QCOMPARE(quiz->SelectedSpecies(), 0);
}

void TestQuiz::unknownButtonDoesNothing()
{
    pickVariety(0);
    view->output = "kept";
    view->log.clear();
    quiz->OnCommandClick(2);
    quiz->OnCommandClick(-1);
    QCOMPARE(view->output, std::string("kept"));
    QVERIFY(view->log.empty());
}

// A window that draws each change as it comes sees the options cleared before
// they are enabled, and the answer line written before the description is appended.
void TestQuiz::callsComeInOrder()
{
    quiz->OnFormLoad();
    QCOMPARE(view->log.size(), std::size_t(2 * 38));
    QCOMPARE(view->log[0], std::string("checked V0 off"));
    QCOMPARE(view->log[1], std::string("enabled V0 on"));
    QCOMPARE(view->log[65], std::string("enabled V32 on"));
    QCOMPARE(view->log[66], std::string("checked S0 off"));
    QCOMPARE(view->log[75], std::string("enabled S4 on"));

    pickVariety(12);
    pickSpecies(1);
    view->log.clear();
    quiz->OnCommandClick(0);
    QCOMPARE(view->log,
             (std::vector<std::string>{"caption V12", "caption S1", "set", "get", "description 12",
                                       "set", "checked V12 off", "enabled V12 off"}));
}

QTEST_APPLESS_MAIN(TestQuiz)
#include "tst_quiz.moc"
