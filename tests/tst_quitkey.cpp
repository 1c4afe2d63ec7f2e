// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Ctrl with the key beside Tab closes the program under every layout a
// Bulgarian classroom uses, as key events arrive from each window system:
// Qt's key (what the layout made of it) and the window system's key codes.

#include "quitkey.h"

#include <QKeyEvent>
#include <QTest>

Q_DECLARE_METATYPE(KeyCodes)

class TestQuitKey : public QObject
{
    Q_OBJECT

private slots:
    void quitKey_data();
    void quitKey();
};

void TestQuitKey::quitKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<KeyCodes>("codes");
    QTest::addColumn<quint32>("code"); // the scan code, or on macOS the virtual key
    QTest::addColumn<bool>("quits");

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const auto x = KeyCodes::Xkb;
    const quint32 q = 24, w = 25, a = 38; // XKB key codes of the keys marked Q, W, A
    // Qt names a Cyrillic key by its capital letter.
    const int ya = 0x42F, shortI = 0x419, u = 0x423;

    QTest::newRow("us: Ctrl+Q") << int(Qt::Key_Q) << ctrl << x << q << true;
    QTest::newRow("us: Q alone") << int(Qt::Key_Q) << Qt::KeyboardModifiers() << x << q << false;
    QTest::newRow("us: Ctrl+Shift+Q")
        << int(Qt::Key_Q) << (ctrl | Qt::ShiftModifier) << x << q << false;
    QTest::newRow("us: Ctrl+W") << int(Qt::Key_W) << ctrl << x << w << false;
    QTest::newRow("bg BDS: Ctrl with the Q key, a comma")
        << int(Qt::Key_Comma) << ctrl << x << q << true;
    QTest::newRow("bg BDS: Ctrl with the W key, у") << u << ctrl << x << w << false;
    QTest::newRow("us: Ctrl with the comma's own key")
        << int(Qt::Key_Comma) << ctrl << x << quint32(59) << false;
    QTest::newRow("bg phonetic: Ctrl+я") << ya << ctrl << x << q << true;
    QTest::newRow("bg phonetic: я alone") << ya << Qt::KeyboardModifiers() << x << q << false;
    QTest::newRow("ru: Ctrl+й") << shortI << ctrl << x << q << true;
    QTest::newRow("ru: Ctrl+й, Windows")
        << shortI << ctrl << KeyCodes::WindowsScanCodes << quint32(0x10) << true;
    QTest::newRow("ru: Ctrl+ц, Windows")
        << 0x426 << ctrl << KeyCodes::WindowsScanCodes << quint32(0x11) << false;
    QTest::newRow("ru: Ctrl+й, macOS")
        << shortI << ctrl << KeyCodes::MacVirtualKeys << quint32(12) << true;
    QTest::newRow("ru: Ctrl+й, no key codes") << shortI << ctrl << KeyCodes::None << q << false;
    QTest::newRow("AZERTY: Ctrl+A on the Q key") << int(Qt::Key_A) << ctrl << x << q << false;
    QTest::newRow("AZERTY: Ctrl+Q on the A key") << int(Qt::Key_Q) << ctrl << x << a << true;
}

void TestQuitKey::quitKey()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(KeyCodes, codes);
    QFETCH(quint32, code);
    QFETCH(bool, quits);
    const bool mac = codes == KeyCodes::MacVirtualKeys;
    const QKeyEvent event(QEvent::KeyPress, key, modifiers, mac ? 0 : code, mac ? code : 0, 0);
    QCOMPARE(isQuitKey(event, codes), quits);
}

QTEST_GUILESS_MAIN(TestQuitKey)
#include "tst_quitkey.moc"
