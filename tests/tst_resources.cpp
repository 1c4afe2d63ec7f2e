// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "application.h"
#include "tesmoril.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <set>

// The icon the program carries and the Windows version record it is built with.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void icons_data();
    void icons();
    void icoMatchesThePng();
    void windowAndVersion();
    void versionRecord_data();
    void versionRecord();
    void versionNumbers();

private:
    QByteArray res;
};

namespace {

int distinctColours(const QImage& image)
{
    std::set<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            colours.insert(argb.pixel(x, y));
    return int(colours.size());
}

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// The value that follows a key in a compiled version record: both UTF-16,
// each padded to a 32-bit boundary.
QString valueAfter(const QByteArray& res, const QString& key)
{
    qsizetype at = res.indexOf(utf16(key) + QByteArray(2, '\0'));
    if (at < 0)
        return {};
    at += (key.size() + 1) * 2;
    while (at % 4)
        ++at;
    const auto* chars = reinterpret_cast<const char16_t*>(res.constData() + at);
    return QString::fromUtf16(chars);
}

} // namespace

void TestResources::initTestCase()
{
    prepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));

    // Without the cross tools the version record cannot be read here: its
    // tests skip. With them, a record that does not compile is a failure.
    if (!QFileInfo(QStringLiteral(ORSETA_WINDRES)).isExecutable())
        return;
    QTemporaryDir dir;
    QProcess windres;
    windres.start(QStringLiteral(ORSETA_WINDRES),
                  {"--preprocessor=cpp", "-O", "res", ORSETA_RC, dir.filePath("orseta.res")});
    QVERIFY2(windres.waitForFinished(60000) && windres.exitCode() == 0,
             qPrintable(windres.errorString() + windres.readAllStandardError()));
    QFile file(dir.filePath("orseta.res"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    res = file.readAll();
}

void TestResources::icons_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("paletted");
    QTest::newRow("program icon") << ORSETA_SOURCE_DIR "/resources/icons/orseta-32.png" << 32
                                  << true;
    QTest::newRow("Windows icon") << ORSETA_SOURCE_DIR "/resources/orseta.ico" << 32 << true;
    for (int size : {48, 64, 128, 256})
        QTest::addRow("%d px", size)
            << QStringLiteral(ORSETA_SOURCE_DIR "/resources/icons/orseta-%1.png").arg(size) << size
            << false;
}

void TestResources::icons()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    QFETCH(bool, paletted);
    const QImage image(path);
    QCOMPARE(image.size(), QSize(size, size));
    if (paletted)
        QVERIFY(distinctColours(image) <= 256);
    // Transparent round the burger, opaque in its middle.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestResources::icoMatchesThePng()
{
    const QImage ico =
        QImage(ORSETA_SOURCE_DIR "/resources/orseta.ico").convertToFormat(QImage::Format_ARGB32);
    const QImage png = QImage(ORSETA_SOURCE_DIR "/resources/icons/orseta-32.png")
                           .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(ico, png);
}

void TestResources::windowAndVersion()
{
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0.0.0"));
    Tesmoril window;
    QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
    // Drawn for each density rather than scaled up: sharp on a high-density screen.
    for (qreal ratio : {1.0, 2.0}) {
        QImage shown = window.windowIcon().pixmap(QSize(32, 32), ratio).toImage();
        shown.setDevicePixelRatio(1);

        const QImage drawn(QStringLiteral(ORSETA_SOURCE_DIR "/resources/icons/orseta-%1.png")
                               .arg(int(32 * ratio)));
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

void TestResources::versionRecord_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("file version") << "FileVersion"
                                  << "1.00";
    QTest::newRow("product version") << "ProductVersion"
                                     << "1.00";
    QTest::newRow("product name") << "ProductName"
                                  << "Орсета";
    QTest::newRow("file name") << "OriginalFilename"
                               << "orseta.exe";
}

void TestResources::versionRecord()
{
    if (res.isEmpty())
        QSKIP("x86_64-w64-mingw32-windres is not installed (Debian: binutils-mingw-w64-x86-64)");
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(valueAfter(res, key), value);
}

void TestResources::versionNumbers()
{
    if (res.isEmpty())
        QSKIP("x86_64-w64-mingw32-windres is not installed (Debian: binutils-mingw-w64-x86-64)");
    const auto dword = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(res.constData() + at);
    };

    // The fixed part: its signature, then file and product version as 1.0.0.0.
    const qsizetype fixed = res.indexOf(QByteArray::fromHex("bd04effe"));
    QVERIFY(fixed > 0);
    QCOMPARE(dword(fixed + 8), 0x00010000u);
    QCOMPARE(dword(fixed + 12), 0x00000000u);
    QCOMPARE(dword(fixed + 16), 0x00010000u);
    QCOMPARE(dword(fixed + 20), 0x00000000u);

    // The strings are Bulgarian (0x402) in Unicode (1200).
    QVERIFY(res.contains(utf16("040204B0")));
    qsizetype translation = res.indexOf(utf16("Translation") + QByteArray(2, '\0')) + 24;
    while (translation % 4)
        ++translation;
    QCOMPARE(dword(translation), 0x04B00402u);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
