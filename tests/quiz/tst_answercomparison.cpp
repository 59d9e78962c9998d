#include "platform/codec.h"
#include "quiz/answercomparison.h"
#include "quiz/comparisonspecialforms.h"

#include <QtTest>
#include <map>

using comparison::ComparePair;
using comparison::ComparisonOptions;

Q_DECLARE_METATYPE(comparison::ComparisonOptions)

namespace {

// Options from a list of words: the names of the check boxes to tick,
// "typos" for ak1..ak4, and "ak12=n", "charset=n", "font=name", "esyn=c".
ComparisonOptions opts(const QString& words = QString()) {
    static const std::map<QString, bool ComparisonOptions::*> flags = {
        {"aktign", &ComparisonOptions::aktign},
        {"uber", &ComparisonOptions::uber},
        {"cbfa", &ComparisonOptions::cbfa},
        {"cbkw", &ComparisonOptions::cbkw},
        {"cbss", &ComparisonOptions::cbss},
        {"CheckBox5", &ComparisonOptions::CheckBox5},
        {"CheckBox3", &ComparisonOptions::CheckBox3},
        {"CheckBox2", &ComparisonOptions::CheckBox2},
        {"CheckBox4", &ComparisonOptions::CheckBox4},
        {"ak1", &ComparisonOptions::ak1},
        {"ak2", &ComparisonOptions::ak2},
        {"ak3", &ComparisonOptions::ak3},
        {"ak4", &ComparisonOptions::ak4},
        {"cbuk", &ComparisonOptions::cbuk},
        {"cbrf", &ComparisonOptions::cbrf},
        {"cbklamm", &ComparisonOptions::cbklamm},
        {"cbsyn", &ComparisonOptions::cbsyn},
        {"cbaue", &ComparisonOptions::cbaue},
        {"cbast", &ComparisonOptions::cbast},
        {"cbage", &ComparisonOptions::cbage},
        {"labf", &ComparisonOptions::labf},
        {"geabf", &ComparisonOptions::geabf},
        {"seabf", &ComparisonOptions::seabf},
        {"cbstamm", &ComparisonOptions::cbstamm},
        {"cbendung", &ComparisonOptions::cbendung},
        {"cbpraep", &ComparisonOptions::cbpraep},
        {"rbabmult", &ComparisonOptions::rbabmult},
    };
    ComparisonOptions o;
    for (const QString& word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString value = word.section(QLatin1Char('='), 1);
        if (word == QLatin1String("typos"))
            o.ak1 = o.ak2 = o.ak3 = o.ak4 = true;
        else if (word.startsWith(QLatin1String("ak12=")))
            o.ak12 = value.toInt();
        else if (word.startsWith(QLatin1String("charset=")))
            o.WordFontCharset = value.toInt();
        else if (word.startsWith(QLatin1String("font=")))
            o.foreignFontName = value;
        else if (word.startsWith(QLatin1String("esyn=")))
            o.esyn = value;
        else if (auto it = flags.find(word); it != flags.end())
            o.*(it->second) = true;
        else
            qFatal("unknown option %s", qPrintable(word));
    }
    return o;
}

ComparisonOptions withArticles(ComparisonOptions o, const QStringList& lines) {
    o.Memo3 = lines;
    return o;
}
ComparisonOptions withNeverCorrected(ComparisonOptions o, const QStringList& lines) {
    o.ukb = lines;
    return o;
}
ComparisonOptions withPunctuation(ComparisonOptions o, const QString& marks) {
    o.Memo4 = marks;
    return o;
}
ComparisonOptions withPair(ComparisonOptions o, const QString& left, const QString& right) {
    o.lkw.append({left, right});
    return o;
}

QString stored(std::initializer_list<int> bytes) {
    QByteArray raw;
    for (int b : bytes)
        raw.append(static_cast<char>(b));
    return platform::codec::fromBytes(raw);
}

bool compare(const QString& given, const QString& expected, const ComparisonOptions& o) {
    ComparePair pair{given, expected};
    const bool match = comparison::Vergleich(pair, o);
    // The caller relies on the verdict being the equality of the pair.
    return match && pair.matches();
}

} // namespace

class TestAnswerComparison : public QObject {
    Q_OBJECT
  private slots:
    void vergleich_data() {
        QTest::addColumn<ComparisonOptions>("options");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("match");

        // Without options only equal texts match.
        QTest::newRow("equal") << opts() << "Haus"
                               << "Haus" << true;
        QTest::newRow("case matters") << opts() << "haus"
                                      << "Haus" << false;
        QTest::newRow("empty pair") << opts() << ""
                                    << "" << true;

        // Each step alone.
        QTest::newRow("case ignored") << opts("CheckBox3") << "haus"
                                      << "Haus" << true;
        QTest::newRow("umlauts keep their case") << opts("CheckBox3") << "äpfel"
                                                 << "Äpfel" << false;
        QTest::newRow("sharp s") << opts("cbss") << "Strasse"
                                 << "Straße" << true;
        QTest::newRow("sharp s keeps case") << opts("cbss") << "STRASSE"
                                            << "Straße" << false;
        QTest::newRow("sharp s and case") << opts("cbss CheckBox3") << "STRASSE"
                                          << "straße" << true;
        QTest::newRow("french accents") << opts("cbfa") << "ecole"
                                        << "école" << true;
        QTest::newRow("french capitals") << opts("cbfa") << "Eleve"
                                         << "Élève" << true;
        QTest::newRow("french keeps diaeresis") << opts("cbfa") << "naif"
                                                << "naïf" << false;
        QTest::newRow("french accents off") << opts() << "ecole"
                                            << "école" << false;
        QTest::newRow("punctuation") << withPunctuation(opts("CheckBox5"), "!.,") << "Hallo"
                                     << "Hallo!" << true;
        QTest::newRow("punctuation not listed")
            << withPunctuation(opts("CheckBox5"), "!.,") << "Hallo"
            << "Hallo?" << false;
        QTest::newRow("punctuation off") << withPunctuation(opts(), "!.,") << "Hallo"
                                         << "Hallo!" << false;
        QTest::newRow("blanks") << opts("CheckBox2") << "zu Hause"
                                << "zuHause" << true;
        QTest::newRow("blanks off") << opts() << "zu Hause"
                                    << "zuHause" << false;

        const QStringList articles{"der ", "die ", "das "};
        QTest::newRow("article left out") << withArticles(opts("CheckBox4"), articles) << "Hund"
                                          << "der Hund" << true;
        QTest::newRow("article typed") << withArticles(opts("CheckBox4"), articles) << "der Hund"
                                       << "Hund" << true;
        QTest::newRow("wrong article") << withArticles(opts("CheckBox4"), articles) << "die Hund"
                                       << "der Hund" << false;
        QTest::newRow("articles folded with case")
            << withArticles(opts("CheckBox4 CheckBox3"), {"der "}) << "hund"
            << "Der Hund" << true;
        QTest::newRow("empty article line")
            << withArticles(opts("CheckBox4"), {"", "der "}) << "Hund"
            << "der Hund" << true;
        QTest::newRow("empty article line matches nothing")
            << withArticles(opts("CheckBox4"), {""}) << "Hunde"
            << "Hund" << false;

        QTest::newRow("compatible words")
            << withPair(opts("cbkw"), "z.B.", "zum Beispiel") << "z.B. so"
            << "zum Beispiel so" << true;
        QTest::newRow("compatible pair needs both cells")
            << withPair(opts("cbkw"), "Auto", "") << "Auto"
            << "Wagen" << false;
        QTest::newRow("compatible words, typed small, case ignored")
            << withPair(opts("cbkw CheckBox3"), "usw", "und so weiter") << "usw"
            << "Und so weiter" << true;
        QTest::newRow("compatible words, typed capitals, case ignored")
            << withPair(opts("cbkw CheckBox3"), "usw", "und so weiter") << "USW"
            << "und so weiter" << true;
        QTest::newRow("compatible words keep case otherwise")
            << withPair(opts("cbkw"), "usw", "und so weiter") << "USW"
            << "und so weiter" << false;

        QTest::newRow("greek symbol font")
            << opts("aktign uber font=Greek") << stored({'l', 161, 'g'}) << "lag" << true;
        QTest::newRow("greek accents only for the foreign word")
            << opts("aktign font=Greek") << stored({'l', 161, 'g'}) << "lag" << false;
        QTest::newRow("greek accents off")
            << opts("uber font=Greek") << stored({'l', 161, 'g'}) << "lag" << false;
        QTest::newRow("greek code page")
            << opts("aktign uber charset=161") << stored({235, 220, 227}) << stored({235, 225, 227})
            << true;
        QTest::newRow("greek hebgri font") << opts("aktign uber font=SPHEBGRI") << "lo/gos"
                                           << "lo<gos" << true;

        // Typos: ak12 at 5 allows 0.3 corrections per expected letter.
        QTest::newRow("swapped letters") << opts("typos ak12=5") << "Hasu"
                                         << "Haus" << true;
        QTest::newRow("missing letter") << opts("typos ak12=5") << "Hus"
                                        << "Haus" << true;
        QTest::newRow("extra letter") << opts("typos ak12=5") << "Hauss"
                                      << "Haus" << true;
        QTest::newRow("wrong letter") << opts("typos ak12=5") << "Hous"
                                      << "Haus" << true;
        QTest::newRow("one correction is not enough") << opts("typos ak12=5") << "Hsu"
                                                      << "Haus" << false;
        QTest::newRow("no typo box ticked") << opts("ak12=5") << "Hus"
                                            << "Haus" << false;
        // "Vertauschte Buchstaben" switches the correction on as a whole.
        QTest::newRow("without ak1: no swap") << opts("ak2 ak3 ak4 ak12=5") << "Hasu"
                                              << "Haus" << false;
        QTest::newRow("without ak1: no insertion") << opts("ak2 ak3 ak4 ak12=5") << "Hus"
                                                   << "Haus" << false;
        QTest::newRow("without ak1: no deletion") << opts("ak2 ak3 ak4 ak12=5") << "Hauss"
                                                  << "Haus" << false;
        QTest::newRow("without ak1: no replacement") << opts("ak2 ak3 ak4 ak12=5") << "Hous"
                                                     << "Haus" << false;
        QTest::newRow("ak1 alone inserts nothing") << opts("ak1 ak12=5") << "Hus"
                                                   << "Haus" << false;
        QTest::newRow("ak1 and ak3 insert") << opts("ak1 ak3 ak12=5") << "Hus"
                                            << "Haus" << true;
        QTest::newRow("at the limit") << opts("typos ak12=5") << "Hbustuxr"
                                      << "Haustuer" << true;
        QTest::newRow("one past the limit") << opts("typos ak12=5") << "Hbxstuxr"
                                            << "Haustuer" << false;
        QTest::newRow("half a correction is none") << opts("typos ak12=0") << "Wasserhahm"
                                                   << "Wasserhahn" << false;
        QTest::newRow("one correction at 0.1") << opts("typos ak12=1") << "Wasserhahm"
                                               << "Wasserhahn" << true;

        const QStringList nicht{"nicht"};
        QTest::newRow("never corrected word typed nearby")
            << withNeverCorrected(opts("typos ak12=5 cbuk"), nicht) << "ich weis nicht"
            << "ich weiss nicht" << true;
        QTest::newRow("never corrected word misspelt")
            << withNeverCorrected(opts("typos ak12=5 cbuk"), nicht) << "ich weiss nciht"
            << "ich weiss nicht" << false;
        QTest::newRow("never corrected list off")
            << withNeverCorrected(opts("typos ak12=5"), nicht) << "ich weiss nciht"
            << "ich weiss nicht" << true;
        QTest::newRow("empty never corrected line")
            << withNeverCorrected(opts("typos ak12=5 cbuk"), {""}) << "Hasu"
            << "Haus" << true;

        // Another word order.
        // A blank stays at the end of its word: "rot " is not the last word "rot".
        QTest::newRow("word order keeps the blank") << opts("cbrf") << "rot blau"
                                                    << "blau rot" << false;
        QTest::newRow("word order with blanks ignored") << opts("cbrf CheckBox2") << "rot blau"
                                                        << "blau rot" << true;
        QTest::newRow("word order, typo step makes up the blank")
            << opts("cbrf typos ak12=5") << "rot blau"
            << "blau rot" << true;
        QTest::newRow("word order, last word stays last") << opts("cbrf") << "grün rot blau"
                                                          << "rot grün blau" << true;
        QTest::newRow("word order off") << opts("CheckBox2") << "rot blau"
                                        << "blau rot" << false;
        QTest::newRow("three words") << opts("cbrf CheckBox2") << "blau grün rot"
                                     << "rot blau grün" << true;
        QTest::newRow("a word missing") << opts("cbrf") << "rot"
                                        << "blau rot" << false;
        QTest::newRow("a word twice") << opts("cbrf") << "rot rot"
                                      << "rot blau" << false;
        QTest::newRow("one word for two") << opts("cbrf") << "rot "
                                          << "rot rot" << false;
        QTest::newRow("word order with case") << opts("cbrf CheckBox2 CheckBox3") << "ROT Blau"
                                              << "blau rot" << true;

        // Words in brackets.
        QTest::newRow("brackets and blanks") << opts("cbklamm CheckBox2") << "laufen"
                                             << "laufen (schnell)" << true;
        QTest::newRow("brackets leave the blank") << opts("cbklamm") << "laufen"
                                                  << "laufen (schnell)" << false;
        QTest::newRow("brackets and typos") << opts("cbklamm typos ak12=5") << "laufen"
                                            << "laufen (schnell)" << true;
        QTest::newRow("bracket right after a bracket stays") << opts("cbklamm") << "Haus"
                                                             << "Haus(n.)(pl.)" << false;
        QTest::newRow("brackets far apart") << opts("cbklamm CheckBox2") << "Haus alt"
                                            << "Haus (n.) alt (pl.)" << true;
        QTest::newRow("brackets off") << opts() << "Haus"
                                      << "Haus(n.)" << false;

        // Synonyms on one line.
        QTest::newRow("second synonym") << opts("cbsyn") << "Gebäude"
                                        << "Haus; Gebäude" << true;
        QTest::newRow("first synonym") << opts("cbsyn") << "Haus"
                                       << "Haus; Gebäude" << true;
        QTest::newRow("no synonym") << opts("cbsyn") << "Hütte"
                                    << "Haus; Gebäude" << false;
        QTest::newRow("whole line") << opts("cbsyn") << "Haus; Gebäude"
                                    << "Haus; Gebäude" << true;
        QTest::newRow("synonyms off") << opts() << "Gebäude"
                                      << "Haus; Gebäude" << false;
        QTest::newRow("own separator") << opts("cbsyn esyn=,") << "Gebäude"
                                       << "Haus, Gebäude" << true;
        QTest::newRow("empty separator is a semicolon") << opts("cbsyn esyn=") << "Gebäude"
                                                        << "Haus; Gebäude" << true;
        QTest::newRow("synonym after a typo attempt") << opts("cbsyn typos ak12=5") << "Zug"
                                                      << "Eisenbahn; Zug" << true;
        QTest::newRow("brackets within a synonym") << opts("cbsyn cbklamm CheckBox2") << "laufen"
                                                   << "Haus; laufen (schnell)" << true;
        QTest::newRow("word order within a synonym") << opts("cbsyn cbrf CheckBox2") << "rot blau"
                                                     << "grün; blau rot" << true;

        // Several steps together.
        QTest::newRow("case and punctuation")
            << withPunctuation(opts("CheckBox3 CheckBox5"), "!") << "DIE SCHULE"
            << "die Schule!" << true;
        QTest::newRow("sharp s, case and typos") << opts("cbss CheckBox3 typos ak12=5") << "stras"
                                                 << "Straße" << true;
        QTest::newRow("accents, blanks and articles")
            << withArticles(opts("cbfa CheckBox2 CheckBox4 CheckBox3"), {"l'"}) << "ecole"
            << "l'école" << true;
    }
    void vergleich() {
        QFETCH(ComparisonOptions, options);
        QFETCH(QString, given);
        QFETCH(QString, expected);
        QFETCH(bool, match);
        QCOMPARE(compare(given, expected, options), match);
    }

    void fillerStaysWhenCorrectionRunsOut() {
        ComparePair pair{"Hau", "Haus"};
        QVERIFY(!comparison::Vergleich(pair, opts("ak1 ak2 ak3 ak12=5")));
        QCOMPARE(pair.GivenAnswer, QStringLiteral("Hau_"));
        // The wrong-letter rule turns the filler into the missing letter.
        pair = {"Hau", "Haus"};
        QVERIFY(comparison::Vergleich(pair, opts("typos ak12=5")));
    }

    void correctionLimit_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("ak12");
        QTest::addColumn<int>("limit");
        QTest::newRow("1.2") << 4 << 5 << 1;
        QTest::newRow("0.5 to even") << 10 << 0 << 0;
        QTest::newRow("1.5 to even") << 30 << 0 << 2;
        QTest::newRow("2.5 to even") << 50 << 0 << 2;
        QTest::newRow("3.5 to even") << 14 << 4 << 4;
        QTest::newRow("exactly 1") << 10 << 1 << 1;
        QTest::newRow("empty") << 0 << 14 << 0;
        QTest::newRow("0.75 per letter") << 20 << 14 << 15;
    }
    void correctionLimit() {
        QFETCH(int, length);
        QFETCH(int, ak12);
        QFETCH(int, limit);
        QCOMPARE(comparison::CorrectionLimit(length, ak12), limit);
    }

    void stripParentheses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("two in a row") << "a(b)(c)"
                                      << "a(c)";
        QTest::newRow("far apart") << "a(b) xyz (c)"
                                   << "a xyz ";
        QTest::newRow("moved onto the closing place") << "ab(c)de(f)"
                                                      << "abde(f)";
        QTest::newRow("unclosed") << "a(b"
                                  << "a(b";
        QTest::newRow("inside") << "x (y) z"
                                << "x  z";
        QTest::newRow("closed, then unclosed") << "(a)b(c"
                                               << "b(c";
        QTest::newRow("closing first") << ")a("
                                       << ")a(";
    }
    void stripParentheses() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(comparison::StripParentheses(text), result);
    }

    void foldCaseChangesOnlyPlainLetters() {
        QCOMPARE(comparison::FoldCase("haus äöü ß é", true), QStringLiteral("HAUS äöü ß é"));
        QCOMPARE(comparison::FoldCase("haus", false), QStringLiteral("haus"));
    }

    void lineWithoutAutocorrection() {
        // Without "Übersetzung" autocorrection nothing is rewritten.
        ComparePair pair{"haus", "Haus"};
        QVERIFY(!comparison::compareLine(pair, opts("CheckBox3")));
        pair = {"haus", "Haus"};
        QVERIFY(comparison::compareLine(pair, opts("CheckBox3 cbaue")));
        // A synonym may still stand for the whole line.
        pair = {"Gebäude", "Haus; Gebäude"};
        QVERIFY(comparison::compareLine(pair, opts("cbsyn")));
        QCOMPARE(pair.ExpectedAnswer, QStringLiteral("Gebäude"));
        pair = {"Gebäude", "Haus; Gebäude"};
        QVERIFY(!comparison::compareLine(pair, opts()));
    }

    void meaningsAreNonEmptyLines() {
        QCOMPARE(comparison::meaningLines("Haus\r\n\r\nGebäude\r\n"),
                 QStringList({"Haus", "Gebäude"}));
        QCOMPARE(comparison::meaningLines(""), QStringList());
        // Lines are kept whole: a translation holds up to 150 characters.
        QCOMPARE(comparison::meaningLines(QString(150, 'x')), QStringList{QString(150, 'x')});
        QStringList many;
        for (int i = 1; i <= 12; ++i)
            many << QStringLiteral("m%1").arg(i);
        QCOMPARE(comparison::meaningLines(many.join("\r\n")), many);
    }

    void typedLines() {
        QCOMPARE(comparison::answerLines("", 1), QStringList{" "});
        QCOMPARE(comparison::answerLines("a\r\n\r\nb\r\n", 2), QStringList({"a", "b"}));
        QCOMPARE(comparison::answerLines("a\nb", 2), QStringList({"a", "b"}));
        QCOMPARE(comparison::answerLines(QString(150, 'y'), 1), QStringList{QString(150, 'y')});
        QStringList twelve;
        for (int i = 1; i <= 12; ++i)
            twelve << QStringLiteral("l%1").arg(i);
        QCOMPARE(comparison::answerLines(twelve.join("\r\n"), 3).size(), 10);
        QCOMPARE(comparison::answerLines(twelve.join("\r\n"), 12), twelve);
    }

    void requiredMeanings() {
        const QStringList meanings{"Haus", "Gebäude", "Heim"};
        auto verdict = comparison::judgeAnswer({"Heim", "Haus"}, meanings, 2, opts());
        QVERIFY(verdict.AnswerJudgedRight);
        QCOMPARE(verdict.MatchedMeanings, 2);
        QCOMPARE(verdict.lineOfMeaning, QList<int>({1, -1, 0}));
        QCOMPARE(verdict.AnswerLineUsed, QList<bool>({true, true}));
        QCOMPARE(verdict.summary(), QStringLiteral("2/anzahlbe3"));

        // The same meaning typed twice counts once.
        verdict = comparison::judgeAnswer({"Haus", "Haus"}, meanings, 2, opts());
        QVERIFY(!verdict.AnswerJudgedRight);
        QCOMPARE(verdict.MatchedMeanings, 1);

        // One line never answers two meanings, even when it matches both.
        verdict = comparison::judgeAnswer({"haus"}, {"Haus", "HAUS"}, 2, opts("cbaue CheckBox3"));
        QCOMPARE(verdict.MatchedMeanings, 1);
    }

    void judgingLogsEveryTriedPair() {
        const auto verdict =
            comparison::judgeAnswer({"haus"}, {"Haus"}, 1, opts("cbaue CheckBox3"));
        QVERIFY(verdict.AnswerJudgedRight);
        QCOMPARE(verdict.log, QStringList({"eingegeben:HAUS##", "buch:HAUS##"}));
    }

    void moreThanTenMeanings() {
        QStringList meanings;
        for (int i = 1; i <= 12; ++i)
            meanings << QStringLiteral("m%1").arg(i);
        QStringList typed = meanings;
        std::reverse(typed.begin(), typed.end());
        const QStringList lines = comparison::answerLines(typed.join("\r\n"), meanings.size());
        const auto verdict = comparison::judgeAnswer(lines, meanings, 12, opts());
        QVERIFY(verdict.AnswerJudgedRight);
        QCOMPARE(verdict.MatchedMeanings, 12);
    }

    void requiredCountStaysWithinTheMeanings() {
        // A required count of 0 still asks for one meaning; one above the
        // count can still be reached by typing all of them.
        QVERIFY(!comparison::judgeAnswer({"x"}, {"Haus"}, 0, opts()).AnswerJudgedRight);
        QVERIFY(comparison::judgeAnswer({"Haus"}, {"Haus"}, 3, opts()).AnswerJudgedRight);
    }

    void principalPartsOnlyTheEnding_data() {
        QTest::addColumn<ComparisonOptions>("options");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        const ComparisonOptions greek = opts("labf aktign cbstamm");
        const ComparisonOptions plain = opts("labf cbstamm");
        for (const auto& [name, o] :
             {std::pair{"greek accents", greek}, std::pair{"plain", plain}}) {
            QTest::addRow("%s: avi", name) << o << "avi" << true;
            QTest::addRow("%s: vi", name) << o << "vi" << true;
            QTest::addRow("%s: amavi", name) << o << "amavi" << true;
            QTest::addRow("%s: i", name) << o << "i" << false;
            QTest::addRow("%s: empty", name) << o << "" << false;
        }
        QTest::newRow("whole form required") << opts("labf") << "avi" << false;
        QTest::newRow("with autocorrection")
            << opts("labf cbast cbstamm typos ak12=5") << "avj" << true;
        QTest::newRow("exact without autocorrection")
            << opts("labf cbstamm typos ak12=5") << "avj" << false;
        QTest::newRow("not asked") << opts("cbstamm") << "x" << true;
        QTest::newRow("multiple choice") << opts("labf cbstamm rbabmult") << "x" << true;
    }
    void principalPartsOnlyTheEnding() {
        QFETCH(ComparisonOptions, options);
        QFETCH(QString, typed);
        QFETCH(bool, right);
        comparison::SpecialFormsInput input;
        input.DBFremdwort = QStringLiteral("amo");
        input.m[2] = QStringLiteral("amavi");
        input.mm[2] = typed;
        const auto verdict = comparison::sfpruf(input, options);
        QCOMPARE(verdict.allRight(), right);
        QCOMPARE(verdict.principalPartRight[2], right);
    }

    void greekArticleBeforeTheForeignWord() {
        // Windows-1253: "ο " before the word does not count as its beginning,
        // and the tonos of the stored form is dropped.
        ComparisonOptions o = opts("labf cbstamm charset=161");
        comparison::SpecialFormsInput input;
        input.DBFremdwort = stored({239, 32, 'l', 'e', 'g', 'o'});
        input.m[0] = stored({'l', 'e', 'k', 's', 252});
        input.mm[0] = stored({'s', 239});
        QVERIFY(comparison::sfpruf(input, o).allRight());
        input.mm[0] = stored({'s', 'a'});
        QVERIFY(!comparison::sfpruf(input, o).allRight());
    }

    void genitive() {
        comparison::SpecialFormsInput input;
        input.DBFremdwort = QStringLiteral("rex");
        input.DBMemo2 = QStringLiteral("regis");
        input.EGenitiv = QStringLiteral("is");
        QVERIFY(comparison::sfpruf(input, opts("geabf cbendung")).genitiveRight);
        QVERIFY(!comparison::sfpruf(input, opts("geabf")).genitiveRight);
        input.EGenitiv = QStringLiteral("s");
        QVERIFY(!comparison::sfpruf(input, opts("geabf cbendung")).genitiveRight);
        input.EGenitiv = QStringLiteral("REGIS");
        QVERIFY(comparison::sfpruf(input, opts("geabf cbage CheckBox3")).genitiveRight);
        QVERIFY(!comparison::sfpruf(input, opts("geabf CheckBox3")).genitiveRight);
        // A word without a genitive is not judged on it.
        input.DBMemo2.clear();
        QVERIFY(comparison::sfpruf(input, opts("geabf")).allRight());
    }

    void genus() {
        comparison::SpecialFormsInput input;
        input.DBMemo3 = QStringLiteral("m.");
        input.EGenus = QStringLiteral("m");
        QVERIFY(comparison::sfpruf(input, opts("seabf")).genusRight);
        input.EGenus = QStringLiteral("f");
        QVERIFY(!comparison::sfpruf(input, opts("seabf")).genusRight);
        input.EGenus.clear();
        QVERIFY(!comparison::sfpruf(input, opts("seabf")).genusRight);
        // Prepositions show their case instead of asking it.
        input.DBWortart = QStringLiteral("4");
        QVERIFY(comparison::sfpruf(input, opts("seabf cbpraep")).genusRight);
        QVERIFY(!comparison::sfpruf(input, opts("seabf")).genusRight);
        QVERIFY(comparison::sfpruf(input, opts("seabf rbabmult")).genusRight);
    }
};

QTEST_GUILESS_MAIN(TestAnswerComparison)
#include "tst_answercomparison.moc"
