#include "platform/codec.h"

#include <QtTest>

using namespace platform;

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void everyByteSurvivesTheStoredForm() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString stored = codec::fromBytes(all);
        QCOMPARE(stored.size(), 256);
        QCOMPARE(codec::toBytes(stored), all);
        // The five bytes Windows-1252 leaves free keep their own code points.
        for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
            QCOMPARE(stored.at(b).unicode(), char16_t(b));
        QCOMPARE(stored.at(0x80), QChar(0x20AC));
        QCOMPARE(stored.at(0xE4), QChar(0x00E4));
    }

    void everyCharacterSetIsABijection_data() {
        QTest::addColumn<int>("charset");
        for (int set : {0, 1, 2, 77, 128, 161, 162, 163, 177, 178, 186, 204, 222, 238, 255})
            QTest::newRow(qPrintable(QString::number(set))) << set;
    }
    void everyCharacterSetIsABijection() {
        QFETCH(int, charset);
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString stored = codec::fromBytes(all);
        const QString shown = codec::toDisplay(stored, charset);
        QCOMPARE(QSet<QChar>(shown.begin(), shown.end()).size(), 256);
        QCOMPARE(codec::fromDisplay(shown, charset), stored);
    }

    void greekShowsTheStoredBytesAsGreekLetters() {
        // Bytes 0xE1 0xE2 0xE3 are alpha, beta, gamma in the Greek code page.
        const QString stored = codec::fromBytes(QByteArray("\xE1\xE2\xE3"));
        QCOMPARE(codec::toDisplay(stored, 161), QStringLiteral("αβγ"));
        QCOMPARE(codec::fromDisplay(QStringLiteral("αβγ"), 161), stored);
        QCOMPARE(codec::toDisplay(stored, 1), stored);
        QCOMPARE(codec::toDisplay(QStringLiteral("abc"), 177), QStringLiteral("abc"));
        QCOMPARE(codec::toDisplay(codec::fromBytes(QByteArray("\xE0")), 177), QStringLiteral("א"));
        QCOMPARE(codec::toDisplay(QStringLiteral("A"), 2), QString(QChar(0xF041)));
    }

    void textASetCannotShowBecomesAQuestionMark() {
        QCOMPARE(codec::fromDisplay(QStringLiteral("ж"), 161), QStringLiteral("?"));
        QCOMPARE(codec::toBytes(QStringLiteral("aж")), QByteArray("a?"));
    }

    void memoLinesAreStoredWithCrLf() {
        QCOMPARE(codec::memoFromWidget(QStringLiteral("a\nb")), QStringLiteral("a\r\nb"));
        QCOMPARE(codec::memoFromWidget(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\r\nb\r\nc"));
        QCOMPARE(codec::memoToWidget(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
