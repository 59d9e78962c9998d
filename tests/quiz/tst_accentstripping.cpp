#include "platform/codec.h"
#include "quiz/accentstripping.h"

#include <QtTest>

using namespace greekaccents;

namespace {

QString stored(std::initializer_list<int> bytes) {
    QByteArray raw;
    for (int b : bytes)
        raw.append(static_cast<char>(b));
    return platform::codec::fromBytes(raw);
}

QString storedByte(int b) {
    return stored({b});
}

struct Range {
    char letter;
    int from;
    int to;
};

// The symbol font's accented letters, as the font lays them out.
const Range symbolFontRanges[] = {
    {'a', 118, 118}, {'a', 161, 182}, {'e', 152, 159}, {'i', 131, 144},
    {'o', 208, 215}, {'u', 216, 229}, {'w', 74, 74},   {'w', 230, 251},
    {'h', 86, 86},   {'h', 185, 195}, {'h', 197, 207}, {'r', 183, 184},
};

} // namespace

class TestAccentStripping : public QObject {
    Q_OBJECT
  private slots:
    void symbolFontMapsEveryAccentedCode() {
        for (const Range& range : symbolFontRanges) {
            for (int b = range.from; b <= range.to; ++b) {
                const QString result = akkonv(storedByte(b), QStringLiteral("Greek"));
                QVERIFY2(result == QString(QLatin1Char(range.letter)),
                         qPrintable(QStringLiteral("byte %1").arg(b)));
            }
        }
    }

    void symbolFontKeepsOtherBytes() {
        for (int b : {0,   32,  65,  73,  75,  85,  87,  97,  117, 119,
                      122, 130, 145, 151, 160, 196, 252, 253, 254, 255})
            QCOMPARE(akkonv(storedByte(b), QStringLiteral("Greek")), storedByte(b));
        QCOMPARE(akkonv(QString(), QStringLiteral("Greek")), QString());
    }

    void symbolFontInAWord() {
        // 161 and 118 are forms of alpha, 74 an omega.
        QCOMPARE(akkonv(stored({'l', 161, 'g', 118, 74}), QStringLiteral("Greek")),
                 QStringLiteral("lagaw"));
    }

    void symbolFontTableOnlyForTheExactFontName_data() {
        QTest::addColumn<QString>("font");
        QTest::newRow("small letters") << QStringLiteral("greek");
        QTest::newRow("other font") << QStringLiteral("Arial");
        QTest::newRow("longer name") << QStringLiteral("Greek2");
        QTest::newRow("no font") << QString();
    }
    void symbolFontTableOnlyForTheExactFontName() {
        QFETCH(QString, font);
        const QString text = stored({161, 118, 74, 208});
        QCOMPARE(akkonv(text, font), text);
    }

    void hebgriSignsAreRemoved_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("breathing") << QStringLiteral("o< ") << QStringLiteral("o ");
        QTest::newRow("grave") << QStringLiteral("to\\") << QStringLiteral("to");
        QTest::newRow("only signs") << QStringLiteral("<>/\\|%&{}[]~") << QString();
        QTest::newRow("no signs") << QStringLiteral("logos") << QStringLiteral("logos");
        QTest::newRow("keeps order")
            << QStringLiteral("a/n{q}r|w~pos") << QStringLiteral("anqrwpos");
    }
    void hebgriSignsAreRemoved() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(ak2konv(text), result);
    }

    void codepage1253TonosLetters_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        const int pairs[][2] = {{220, 225}, {221, 229}, {222, 231}, {253, 245}, {252, 239},
                                {254, 249}, {223, 233}, {162, 193}, {184, 197}, {185, 199},
                                {190, 213}, {188, 207}, {191, 217}, {186, 201}};
        for (const auto& pair : pairs)
            QTest::newRow(qPrintable(QString::number(pair[0]))) << pair[0] << pair[1];
    }
    void codepage1253TonosLetters() {
        QFETCH(int, from);
        QFETCH(int, to);
        QCOMPARE(ak3konv(storedByte(from)), storedByte(to));
    }

    void codepage1253KeepsEverythingElse() {
        // Diaeresis letters, plain Greek letters and Latin text stay.
        for (int b : {250, 251, 192, 224, 225, 239, 193, 65, 97, 32})
            QCOMPARE(ak3konv(storedByte(b)), storedByte(b));
        QCOMPARE(ak3konv(stored({235, 220, 227, 239, 242})), stored({235, 225, 227, 239, 242}));
    }

    void hebgriFontNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hebgri");
        QTest::newRow("exact") << QStringLiteral("HEBGRI") << true;
        QTest::newRow("any case") << QStringLiteral("HebGri") << true;
        QTest::newRow("ends in it") << QStringLiteral("SPHEBGRI") << true;
        QTest::newRow("one character after it") << QStringLiteral("SPHebGri2") << true;
        QTest::newRow("seven, starting with it") << QStringLiteral("HEBGRIX") << true;
        QTest::newRow("two characters after it") << QStringLiteral("SPHEBGRI22") << false;
        QTest::newRow("too short") << QStringLiteral("HEBGR") << false;
        QTest::newRow("other font") << QStringLiteral("Arial") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void hebgriFontNames() {
        QFETCH(QString, name);
        QFETCH(bool, hebgri);
        QCOMPARE(isHebgriFontName(name), hebgri);
    }

    void ruleChosenByFontThenCharset() {
        QCOMPARE(accentRuleFor(QStringLiteral("Greek"), 161), AccentRule::SymbolFont);
        QCOMPARE(accentRuleFor(QStringLiteral("SPHEBGRI"), 161), AccentRule::Hebgri);
        QCOMPARE(accentRuleFor(QStringLiteral("Arial"), 161), AccentRule::Codepage1253);
        QCOMPARE(accentRuleFor(QStringLiteral("Arial"), 0), AccentRule::None);

        const QString text = stored({220, '<', 161});
        QCOMPARE(stripAccents(text, QStringLiteral("Greek"), 0), stored({'u', '<', 'a'}));
        QCOMPARE(stripAccents(text, QStringLiteral("HEBGRI"), 0), stored({220, 161}));
        QCOMPARE(stripAccents(text, QStringLiteral("Arial"), 161), stored({225, '<', 161}));
        QCOMPARE(stripAccents(text, QStringLiteral("Arial"), 0), text);
    }
};

QTEST_GUILESS_MAIN(TestAccentStripping)
#include "tst_accentstripping.moc"
