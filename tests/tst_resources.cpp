// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "application.h"
#include "tesmoril.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
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
    void windowsIcon_data();
    void windowsIcon();
    void windowAndVersion();
    void versionRecord_data();
    void versionRecord();
    void versionNumbers();

private:
    QByteArray res;
};

namespace {

// Why the version record cannot be read, where it cannot.
constexpr const char* kNoWindres =
    sizeof(ORSETA_WINDRES) == 1
        ? "the version record is read with the build machine's windres, which a test "
          "under Wine cannot start; the Linux suite reads it"
        : "x86_64-w64-mingw32-windres is not installed (Debian: binutils-mingw-w64-x86-64)";

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

// The language of every resource in a compiled .res file, from the header
// before each: sizes, type and name (a number after 0xFFFF, or a string),
// then data version, memory flags and the language.
QList<quint16> resourceLanguages(const QByteArray& res)
{
    QList<quint16> languages;
    const auto skipIdentifier = [&](qsizetype at) {
        if (qFromLittleEndian<quint16>(res.constData() + at) == 0xFFFF)
            return at + 4;
        while (qFromLittleEndian<quint16>(res.constData() + at) != 0)
            at += 2;
        return at + 2;
    };
    for (qsizetype at = 0; at + 32 <= res.size();) {
        const quint32 dataSize = qFromLittleEndian<quint32>(res.constData() + at);
        const quint32 headerSize = qFromLittleEndian<quint32>(res.constData() + at + 4);
        qsizetype field = skipIdentifier(skipIdentifier(at + 8));
        field = (field + 3) & ~qsizetype(3);
        if (dataSize > 0) // the first, empty entry only marks the file as 32-bit
            languages.append(qFromLittleEndian<quint16>(res.constData() + field + 6));
        at += headerSize + ((dataSize + 3) & ~quint32(3));
    }
    return languages;
}

} // namespace

void TestResources::initTestCase()
{
    prepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));

    // Without the cross tools the version record cannot be read here: its
    // tests skip. With them, a record that does not compile is a failure.
    if (QStringLiteral(ORSETA_WINDRES).isEmpty())
        return;
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

void TestResources::windowsIcon_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("sameAsPng"); // drawn once, for both
    QTest::newRow("16 px") << 16 << false;
    QTest::newRow("24 px") << 24 << false;
    QTest::newRow("32 px") << 32 << true;
    QTest::newRow("48 px") << 48 << false;
    QTest::newRow("256 px") << 256 << true;
}

// The sizes Explorer, the taskbar and the title bar ask for, each drawn.
void TestResources::windowsIcon()
{
    QFETCH(int, size);
    QFETCH(bool, sameAsPng);
    QImageReader reader(QStringLiteral(ORSETA_SOURCE_DIR "/resources/orseta.ico"));
    if (!reader.canRead())
        QSKIP("Qt's ico image format is not there to read the icon with");
    QCOMPARE(reader.imageCount(), 5);
    QImage image;
    for (int i = 0; i < reader.imageCount() && image.width() != size; ++i) {
        QVERIFY(reader.jumpToImage(i));
        image = reader.read();
    }
    QCOMPARE(image.size(), QSize(size, size));
    image = image.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    if (sameAsPng) {
        const QImage png(QStringLiteral(ORSETA_SOURCE_DIR "/resources/icons/orseta-%1.png").arg(size));
        QCOMPARE(image, png.convertToFormat(QImage::Format_ARGB32));
    }
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
        QSKIP(kNoWindres);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(valueAfter(res, key), value);
}

void TestResources::versionNumbers()
{
    if (res.isEmpty())
        QSKIP(kNoWindres);
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

    // And the resources themselves, icon and record, are filed as Bulgarian,
    // which is what Explorer goes by.
    const QList<quint16> languages = resourceLanguages(res);
    QVERIFY(!languages.isEmpty());
    for (quint16 language : languages)
        QCOMPARE(language, quint16(0x0402));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
