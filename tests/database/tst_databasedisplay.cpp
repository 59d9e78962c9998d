#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/specialoptions.h"
#include "platform/codec.h"

#include <QtTest>

class TestDatabaseDisplay : public QObject {
    Q_OBJECT

  private slots:
    void languageLabels() {
        LanguageLabels latin = PlanLanguageLabels("Latein", false, "Times New Roman");
        QCOMPARE(latin.formLabels[0], QStringLiteral("Präsens:"));
        QCOMPARE(latin.formLabels[2], QStringLiteral("Partizip Perfekt:"));
        QVERIFY(latin.formLabels[3].isEmpty());
        QVERIFY(!latin.greekMode);
        QCOMPARE(latin.quizMemoPointSize, 10);
        QVERIFY(!latin.centreForeignWord);

        LanguageLabels spanish = PlanLanguageLabels("Spanisch", false, "Arial");
        QCOMPARE(spanish.formLabels[0], QStringLiteral("Sonderform 1"));
        QCOMPARE(spanish.formLabels[2], QStringLiteral("Sonderform 3"));

        LanguageLabels hebrew = PlanLanguageLabels(QStringLiteral("Hebräisch"), true, "Bwhebb");
        QCOMPARE(hebrew.formLabels[5], QStringLiteral("Hof´al"));
        QVERIFY(hebrew.centreForeignWord);
        QVERIFY(hebrew.panelGreVisible);

        // The Greek mode of the quiz follows the Greek font.
        LanguageLabels greek = PlanLanguageLabels("Griechisch", false, "Greek");
        QVERIFY(greek.greekMode);
        QCOMPARE(greek.quizMemoPointSize, 14);
        QCOMPARE(greek.formLabels[1], QStringLiteral("Aorist:"));
        QCOMPARE(greek.passiveTabOrder, (std::array<int, 3>{2, 1, 0}));
        greek = PlanLanguageLabels("Griechisch", false, "Times New Roman");
        QVERIFY(!greek.greekMode);
        QCOMPARE(greek.quizMemoPointSize, 10);
        QCOMPARE(latin.passiveTabOrder, (std::array<int, 3>{0, 1, 2}));
    }

    void fontsAndCharsets() {
        TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase("Latein");
        options.CharsetPosition = 10; // GREEK_CHARSET
        options.TableTranslationFontSize = 11;
        options.CharsetInTranslation = true;
        DatabaseFonts fonts = PlanDatabaseFonts(options, false);
        QCOMPARE(fonts.word.font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(fonts.word.font.pointSize(), 18);
        QVERIFY(!fonts.word.font.bold());
        QCOMPARE(fonts.tableWord.font.pointSize(), 14);
        QCOMPARE(fonts.tableTranslation.font.pointSize(), 11);
        QVERIFY(fonts.translation.font.bold());
        QCOMPARE(fonts.word.charset, 161);
        QCOMPARE(fonts.translation.charset, 161);

        // The bytes stay; only what is shown changes.
        const QString stored = platform::codec::fromBytes(QByteArray("\xE1\xE2"));
        QCOMPARE(fonts.word.toDisplay(stored), QStringLiteral("αβ"));
        QCOMPARE(fonts.word.fromDisplay(QStringLiteral("αβ")), stored);

        options.CharsetInTranslation = false;
        fonts = PlanDatabaseFonts(options, false);
        QCOMPARE(fonts.translation.charset, 0);
        QCOMPARE(fonts.translation.toDisplay(stored), stored);
    }

    // Only a font that draws Greek or Hebrew on the Latin codes needs to be
    // installed; an ordinary font in the script's character set needs none.
    void missingScriptFont() {
        const auto none = [](const QString&) { return false; };
        const auto all = [](const QString&) { return true; };
        const QString hebrew = QStringLiteral("Hebräisch");
        QCOMPARE(MissingScriptFont(TDatabaseOptionsRec::forNewDatabase("Griechisch"), "Griechisch",
                                   false, none),
                 QString("Greek"));
        QCOMPARE(MissingScriptFont(TDatabaseOptionsRec::forNewDatabase(hebrew), hebrew, true, none),
                 QString("Bwhebb"));
        QVERIFY(MissingScriptFont(TDatabaseOptionsRec::forNewDatabase("Griechisch"), "Griechisch",
                                  false, all)
                    .isEmpty());
        // A Latin database in a font this computer lacks: another font shows
        // the same letters.
        QVERIFY(
            MissingScriptFont(TDatabaseOptionsRec::forNewDatabase("Latein"), "Latein", false, none)
                .isEmpty());
        TDatabaseOptionsRec greek = TDatabaseOptionsRec::forNewDatabase("Griechisch");
        greek.WordFont = "Times New Roman";
        greek.CharsetPosition = 10; // GREEK_CHARSET
        QVERIFY(MissingScriptFont(greek, "Griechisch", false, none).isEmpty());
        greek.CharsetPosition = 3; // SYMBOL_CHARSET: the font draws the letters
        QCOMPARE(MissingScriptFont(greek, "Griechisch", false, none), QString("Times New Roman"));
        QVERIFY(MissingFontMessage("Greek", "Homer").contains("\"Greek\""));
        QVERIFY(MissingFontMessage("Greek", "Homer").contains("\"Homer\""));
    }

    void captionsAndPrompts() {
        QCOMPARE(GenitivePrompt("Genitiv:"), QStringLiteral("Bitte Genitiv eingeben:"));
        QCOMPARE(GenitivePrompt("Gen.::"), QStringLiteral("Bitte Gen.: eingeben:"));
        QCOMPARE(GenitivePrompt("Genitiv"), QStringLiteral("Bitte Genitiv eingeben:"));
        SpecialFormCaptions captions;
        captions.FontName = "Arial";
        captions.FontSize = 12;
        captions.FontBold = false;
        QCOMPARE(CaptionFont(captions).pointSize(), 12);
        QVERIFY(!CaptionFont(captions).bold());
    }

    void navigationButtons() {
        NavButtons first = NavButtonsFor(0, 5);
        QVERIFY(!first.first && !first.prior && first.next && first.last);
        NavButtons last = NavButtonsFor(4, 5);
        QVERIFY(last.first && last.prior && !last.next && !last.last);
        NavButtons single = NavButtonsFor(0, 1);
        QVERIFY(!single.first && !single.prior && !single.next && !single.last);
        NavButtons empty = NavButtonsFor(-1, 0);
        QVERIFY(!empty.first && !empty.next);
    }
};

QTEST_MAIN(TestDatabaseDisplay)
#include "tst_databasedisplay.moc"
