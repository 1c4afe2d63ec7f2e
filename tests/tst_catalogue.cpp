// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "catalogue.h"
#include "readleadingnumber.h"

#include <QCryptographicHash>
#include <QTest>

// The catalogue's texts are checked against figures taken from the source
// tables independently of catalogue.cpp: a digest of every text, the longest
// description, and the texts that end in a blank or a line break.
class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsExact();
    void speciesGroups_data();
    void speciesGroups();
    void trailingBlanksAndLineBreaks();
    void readLeadingNumber_data();
    void readLeadingNumber();
};

static QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

void TestCatalogue::everyTextIsExact()
{
    QCOMPARE(catalogue::speciesCaptions().size(), 5u);
    QCOMPARE(catalogue::varieties().size(), 33u);

    QByteArray all;
    for (std::string_view caption : catalogue::speciesCaptions())
        all.append(caption.data(), qsizetype(caption.size())).append('\n');
    qsizetype longest = 0;
    for (const catalogue::Variety& v : catalogue::varieties()) {
        all.append(v.caption.data(), qsizetype(v.caption.size())).append('\t');
        all.append(v.keyText.data(), qsizetype(v.keyText.size())).append('\t');
        all.append(v.description.data(), qsizetype(v.description.size())).append('\n');
        longest = std::max(longest, text(v.description).size());
    }
    QCOMPARE(longest, 363);
    QCOMPARE(QCryptographicHash::hash(all, QCryptographicHash::Sha256).toHex(),
             QByteArray("220a24ddd4834f0672a8e403f982f30db5bb01c7437207438405e7cf102cb2ab"));
}

void TestCatalogue::speciesGroups_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<double>("species");
    QTest::newRow("берил") << 0 << 6 << 0.0;
    QTest::newRow("гранат") << 7 << 12 << 1.0;
    QTest::newRow("диамант") << 13 << 16 << 2.0;
    QTest::newRow("кварц") << 17 << 30 << 3.0;
    QTest::newRow("корунд") << 31 << 32 << 4.0;
}

// Each species owns a run of indices, its varieties in alphabetical order,
// and every key text of the run reads back as the species index.
void TestCatalogue::speciesGroups()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(double, species);
    const auto& varieties = catalogue::varieties();
    for (int v = first; v <= last; ++v) {
        QCOMPARE(catalogue::ReadLeadingNumber(varieties.at(v).keyText), species);
        if (v > first)
            QVERIFY2(text(varieties.at(v - 1).caption) < text(varieties.at(v).caption),
                     qPrintable(text(varieties.at(v).caption)));
    }
}

void TestCatalogue::trailingBlanksAndLineBreaks()
{
    QStringList endings;
    for (std::size_t k = 0; k < catalogue::speciesCaptions().size(); ++k) {
        if (text(catalogue::speciesCaptions()[k]).endsWith(QLatin1String("\r\n")))
            endings << QStringLiteral("species %1 CR LF").arg(k);
    }
    const auto& varieties = catalogue::varieties();
    for (std::size_t v = 0; v < varieties.size(); ++v) {
        if (text(varieties[v].caption).endsWith(u' '))
            endings << QStringLiteral("caption %1 blank").arg(v);
        if (text(varieties[v].description).endsWith(u' '))
            endings << QStringLiteral("description %1 blank").arg(v);
    }
    QCOMPARE(endings,
             QStringList({"species 0 CR LF", "species 1 CR LF", "description 19 blank",
                          "description 20 blank", "caption 21 blank", "description 21 blank",
                          "description 23 blank", "description 24 blank", "description 27 blank"}));
    QCOMPARE(text(varieties[21].caption), QStringLiteral("карнеол "));
}

void TestCatalogue::readLeadingNumber_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<double>("expected");
    QTest::newRow("digit") << QByteArray("3") << 3.0;
    QTest::newRow("leading blanks") << QByteArray("   4") << 4.0;
    QTest::newRow("leading tab") << QByteArray("\t2") << 2.0;
    QTest::newRow("digits then letters") << QByteArray("12abc") << 12.0;
    QTest::newRow("digits then Cyrillic") << QByteArray("3 кварц") << 3.0;
    QTest::newRow("fraction") << QByteArray("1.5x") << 1.5;
    QTest::newRow("point first") << QByteArray(".25") << 0.25;
    QTest::newRow("signs") << QByteArray(" -7") << -7.0;
    QTest::newRow("plus") << QByteArray("+8") << 8.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("blanks only") << QByteArray("   ") << 0.0;
    QTest::newRow("letters") << QByteArray("abc1") << 0.0;
    QTest::newRow("lone sign") << QByteArray("-") << 0.0;
    QTest::newRow("lone point") << QByteArray(". 5") << 0.0;
    QTest::newRow("not a number") << QByteArray("nan") << 0.0;
    QTest::newRow("infinity") << QByteArray("inf") << 0.0;
}

void TestCatalogue::readLeadingNumber()
{
    QFETCH(QByteArray, input);
    QFETCH(double, expected);
    QCOMPARE(catalogue::ReadLeadingNumber(std::string_view(input.constData(), input.size())),
             expected);
}

QTEST_APPLESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
