// The selection statement, the word list and the index cards: what each page
// holds, and the pages written to PDF files.
#include "printing/indexcards.h"
#include "printing/wordlistreport.h"
#include "printing/wordselection.h"
#include "printtestdata.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

PrintWord word(const QString& foreign, const QString& translation = "x") {
    PrintWord w;
    w.Lektion = "001A1";
    w.Fremdwort = foreign;
    w.Uebersetzung = translation;
    w.Wortart = 14;
    w.Schwierigkeit = 3;
    return w;
}

QList<PrintWord> manyWords(int count) {
    QList<PrintWord> words;
    for (int i = 0; i < count; ++i)
        words << word(QStringLiteral("wort%1").arg(i), QStringLiteral("Bedeutung %1").arg(i));
    return words;
}

// The size the window gives each format.
WordListSettings listSettings(int format = 0, bool formatSize = false) {
    static const int sizes[] = {14, 12, 10, 14, 12, 9};
    WordListSettings s;
    s.format = format;
    s.fontSize = formatSize ? sizes[format] : 12;
    s.title = "Vokabeln -  Latein";
    s.lessonCount = 2;
    s.specialForms = PrintPlacement::Left;
    s.page.databaseName = "Vokabeln";
    s.page.language = "Latein";
    s.page.date = "01.02.25";
    return s;
}

// The number of pages of a PDF file: its page objects.
int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = file.readAll();
    return bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
           bytes.count("/Type /Page/") + bytes.count("/Type /Page>");
}

QList<report::ReportItem> itemsOf(const report::ReportPage& page, const QString& role) {
    QList<report::ReportItem> result;
    for (const report::ReportItem& item : page.items)
        if (item.role == role) result << item;
    return result;
}

double mm(double dots) {
    return report::dotsToMm(dots);
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;

  private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    // --- The selection --------------------------------------------------------

    void selectionStatementLineByLine() {
        TPrintSelectionOptions options;
        options.comw = 1;
        options.nge = true;
        options.primary = PrintOrder::ForeignWord;
        options.sab = true;
        options.secondary = PrintSecondaryOrder::WrongAnswers;
        const QStringList sql = PrintSelectionSql("/db/Vokabeln.ol", {"001A1", "002A1"}, options);
        QCOMPARE(sql, QStringList({"SELECT * FROM \"/db/Vokabeln.ol\"",
                                   "WHERE (Lektion <> \"\") AND (Fremdwort<>\"\")",
                                   "AND ((Lektion = \"001A1\") ", "OR (Lektion = \"002A1\") )",
                                   "AND (Wortart=1)", "AND (Genitiv<>\"\")",
                                   "ORDER BY Fremdwort DESC, Falsche_Antworten DESC, ID"}));
    }

    void selectionStatementVariants() {
        TPrintSelectionOptions options;
        options.comw = 14;
        options.nse = true;
        options.nst = true;
        options.secondary = PrintSecondaryOrder::Translation;
        QStringList sql = PrintSelectionSql("/db/V.ol", {"003B2"}, options);
        QCOMPARE(sql.at(2), QString("AND ((Lektion = \"003B2\") )"));
        QCOMPARE(sql.at(3), QString("AND ((Wortart=14))"));
        QCOMPARE(sql.at(4), QString("AND (Genus<>\"\")"));
        QVERIFY(sql.at(5).startsWith("AND ((PraeFut<>\"\")OR(PerAor<>\"\")"));
        QCOMPARE(sql.last(), QString("ORDER BY Lektion, Uebersetzung, ID"));
        options = TPrintSelectionOptions();
        options.primary = PrintOrder::Difficulty;
        sql = PrintSelectionSql("/db/V.ol", {"003B2"}, options);
        QCOMPARE(sql.size(), 4); // no word-class line for "Alle"
        QCOMPARE(sql.last(), QString("ORDER BY Schwierigkeit, ID"));
        // A lesson code with a quote in it stays one literal.
        sql = PrintSelectionSql("/db/V.ol", {"0\"1A1"}, options);
        QCOMPARE(sql.at(2), QString("AND ((Lektion = \"0\"\"1A1\") )"));
    }

    void selectionRunsOnTheTable() {
        engine::Query query;
        printtest::createDatabase(folder->path(), printtest::latinWords(), query);
        TPrintSelectionOptions options;
        options.primary = PrintOrder::ForeignWord;
        options.sab = true;
        options.nge = true;
        query.setSql(PrintSelectionSql(CurrentTablePath, {"001A1", "001A2"}, options));
        query.open();
        const QList<PrintWord> words = ReadPrintWords(query);
        QStringList foreign;
        for (const PrintWord& w : words)
            foreign << w.Fremdwort;
        QCOMPARE(foreign, QStringList({"puella", "mare", "bellum", "amicus"}));
    }

    void lessonEntriesAndTitle() {
        QCOMPARE(PrintLessonEntryText("001A1Verben"), QString("  1A1 [Verben]"));
        QCOMPARE(PrintLessonEntryText("012B1"), QString(" 12B1 []"));
        QCOMPARE(PrintLessonEntryText("123C4X"), QString("123C4 [X]"));
        QCOMPARE(CardLessonLabel("  1A1 [Verben]"), QString("1A1 [Verben]"));
        QCOMPARE(PrintTitleLine("vokabeln", "Latein", {"  1A1 [Verben]"}, PrintOrder::Lesson),
                 QString("Vokabeln -  Latein\r\n\r\n  1A1 [Verben]"));
        QCOMPARE(PrintTitleLine("äpfel", "Latein", {"  1A1 [Verben]"}, PrintOrder::ForeignWord),
                 QString("äpfel -  Latein"));
    }

    // --- Sections, header and footer ---------------------------------------

    void sectionCaptions() {
        const QStringList lines{"001A1Verben", "001A2"};
        const QStringList entries{"  1A1 [Verben]", "  1A2 []"};
        PrintWord w = word("amare", "lieben");
        QCOMPARE(SectionCaption(SectionKey(w, PrintOrder::Lesson, {}), PrintOrder::Lesson, lines,
                                entries),
                 QString("  1A1 [Verben]"));
        QCOMPARE(SectionCaption(SectionKey(w, PrintOrder::ForeignWord, {}), PrintOrder::ForeignWord,
                                lines, entries),
                 QString("A"));
        w.Wortart = 0;
        QCOMPARE(SectionCaption(SectionKey(w, PrintOrder::WordClass, {}), PrintOrder::WordClass,
                                lines, entries),
                 QString("Sonstiges"));
        w.Wortart = 4;
        QCOMPARE(SectionCaption("4", PrintOrder::WordClass, lines, entries),
                 QString("Präposition (Verhältniswort)"));
        QCOMPARE(SectionCaption("14", PrintOrder::WordClass, lines, entries), QString("Sonstiges"));
        QCOMPARE(SectionCaption("5", PrintOrder::Difficulty, lines, entries),
                 QString("Sehr schwere Vokabeln"));
        QCOMPARE(SectionCaption("", PrintOrder::Translation, lines, entries), QString());
        // Greek symbol font: the accented alpha (byte 161) files under "a".
        w.Fremdwort = QString(QChar(0xA1)) + "lfa";
        QCOMPARE(SectionKey(w, PrintOrder::ForeignWord, "Greek"), QString("a"));
        QCOMPARE(SectionKey(w, PrintOrder::ForeignWord, "Arial"), QString(QChar(0xA1)));

        QVERIFY(SectionCaptionWanted("A", "", true, 2, PrintOrder::ForeignWord));
        QVERIFY(!SectionCaptionWanted("A", "A", true, 2, PrintOrder::ForeignWord));
        QVERIFY(!SectionCaptionWanted("A", "", false, 2, PrintOrder::ForeignWord));
        QVERIFY(!SectionCaptionWanted("001A1", "", true, 1, PrintOrder::Lesson));
        QVERIFY(SectionCaptionWanted("001A1", "", true, 2, PrintOrder::Lesson));
    }

    void placeholders() {
        PlaceholderValues values{2, "01.02.25", "  1A1 [Verben]", "Vokabeln", "Latein"};
        QCOMPARE(ExpandPlaceholders("Seite <seite>", values), QString("Seite 2"));
        QCOMPARE(ExpandPlaceholders("<dbname> (<dbsprache>) <datum>", values),
                 QString("Vokabeln (Latein) 01.02.25"));
        QCOMPARE(ExpandPlaceholders("a<foo>b<Seite>c", values), QString("abc"));
        QCOMPARE(ExpandPlaceholders("a < b", values), QString("a < b"));
        QCOMPARE(ExpandPlaceholders("<abschnitt>", values), QString("  1A1 [Verben]"));
        values.section.clear();
        QCOMPARE(ExpandPlaceholders("<abschnitt><seite>", values), QString("2"));
        // Inserted texts are not scanned again: no endless growth, no surprises.
        values.databaseName = "a<dbname>";
        values.section = "<seite>";
        QCOMPARE(ExpandPlaceholders("<dbname>|<abschnitt>", values), QString("a<dbname>|<seite>"));
    }

    void marginsAreWholeMillimetresWithinBounds() {
        QCOMPARE(Clamp1To200("abc"), 10);
        QCOMPARE(Clamp1To200(""), 10);
        QCOMPARE(Clamp1To200("0"), 1);
        QCOMPARE(Clamp1To200("250"), 200);
        QCOMPARE(Clamp1To200(" 15 "), 15);
        QCOMPARE(Clamp1To200("12,5"), 10);
        QCOMPARE(report::LineHeightFor(10), 19);
        QCOMPARE(report::LineHeightFor(12), 21);
    }

    // --- The word list -------------------------------------------------------

    void entriesPlaceGenusGenitiveAndPrincipalParts() {
        WordListSettings s = listSettings();
        PrintWord noun = word("amicus", "Freund");
        noun.Genitiv = "amici";
        noun.Genus = "m";
        PrintWord odd = word("res", "Sache");
        odd.Genus = "x";
        PrintWord dotted = word("rosa", "Rose");
        dotted.Genus = "f.";
        PrintWord verb = word("amare", "lieben");
        verb.PraeFut = "amo";
        verb.Perfekt = "amatum";
        PrintWord passive = word("dicere", "sagen");
        passive.PraeFut = "dico";
        passive.Futur_passiv = "dicar";
        PrintWord onlyPassive = word("ferri", "getragen werden");
        onlyPassive.Aorist_passiv = "latus";
        const auto doc = LayoutWordList({noun, odd, dotted, verb, passive, onlyPassive}, s);
        QCOMPARE(doc.pageCount(), 1);
        const report::ReportPage& page = doc.pages.first();
        QCOMPARE(page.texts("DrGenitiv"), QStringList({"amici, "}));
        QCOMPARE(page.texts("DrGenus"), QStringList({"m.", "X.", "f."}));
        QCOMPARE(page.texts("DrStamm"), QStringList({"amo, amatum"}));
        QCOMPARE(page.texts("drPraeFut"), QStringList({"dico"}));
        QCOMPARE(page.texts("drFuturPassiv"), QStringList({"dicar"}));
        QVERIFY(!page.allText().contains("latus"));
        // The genus stands on the foreign word's line, right of it.
        const auto fw = itemsOf(page, "drFremdwort");
        const auto genus = itemsOf(page, "DrGenus");
        QCOMPARE(genus.at(1).rect.top(), fw.at(1).rect.top());
        QVERIFY(genus.at(1).rect.left() > fw.at(1).rect.left());
        QCOMPARE(fw.at(1).text, QString("res, "));
        // A frame round the six-field table, lines between the words.
        QCOMPARE(itemsOf(page, "AbsStamm").size(), 1);
        QCOMPARE(itemsOf(page, "line").size(), 6);
    }

    void placingRightMovesFormsUnderTheTranslation() {
        WordListSettings s = listSettings();
        s.specialForms = PrintPlacement::Right;
        s.remarks = PrintPlacement::Right;
        PrintWord noun = word("mare", "Meer");
        noun.Genitiv = "maris";
        noun.Genus = "n";
        noun.Extra = "Abl. Sg. mari";
        const auto doc = LayoutWordList({noun}, s);
        const report::ReportPage& page = doc.pages.first();
        QCOMPARE(page.texts("drUebersetzung"), QStringList({"Meer", "n.", "[Abl. Sg. mari]"}));
        const auto genitive = itemsOf(page, "DrGenitiv");
        const auto translation = itemsOf(page, "drUebersetzung");
        QCOMPARE(genitive.size(), 1);
        QCOMPARE(genitive.first().rect.left(), translation.first().rect.left());
        QVERIFY(genitive.first().rect.top() >= translation.last().rect.bottom());
        QVERIFY(page.texts("drBemerkung").isEmpty());

        s.specialForms = PrintPlacement::None;
        s.remarks = PrintPlacement::Left;
        const auto plain = LayoutWordList({noun}, s).pages.first();
        QCOMPARE(plain.texts("drUebersetzung"), QStringList({"Meer"}));
        QCOMPARE(plain.texts("drBemerkung"), QStringList({"Abl. Sg. mari"}));
        QVERIFY(plain.texts("DrGenitiv").isEmpty());
        QVERIFY(plain.texts("DrGenus").isEmpty());
    }

    void sectionCaptionsAppearWhenTheKeyChanges() {
        WordListSettings s = listSettings();
        s.primary = PrintOrder::ForeignWord;
        const auto doc = LayoutWordList({word("abc"), word("acd"), word("bcd"), word("Bde")}, s);
        QCOMPARE(doc.pages.first().texts("drLektion"), QStringList({"A", "B", "B"}));
        s.sectionCaptions = false;
        QVERIFY(LayoutWordList({word("abc")}, s).pages.first().texts("drLektion").isEmpty());
        // One lesson sorted by lesson: the lesson stands under the title instead.
        s.sectionCaptions = true;
        s.primary = PrintOrder::Lesson;
        s.lessonCount = 1;
        s.title = PrintTitleLine("v", "Latein", {"  1A1 [Verben]"}, PrintOrder::Lesson);
        const auto single = LayoutWordList({word("abc")}, s).pages.first();
        QVERIFY(single.texts("drLektion").isEmpty());
        QCOMPARE(single.texts("LbTitel"), QStringList({"V -  Latein", "", "  1A1 [Verben]"}));
        // Lesson captions print as their entries stand, leading blanks and all.
        s.lessonCount = 2;
        s.lessonLines = {"001A1Verben", "012B1", "100A1Rest"};
        s.lessonEntries = PrintLessonEntries(LessonList(s.lessonLines));
        QList<PrintWord> lessons{word("abc"), word("bcd"), word("cde")};
        lessons[1].Lektion = "012B1";
        lessons[2].Lektion = "100A1";
        QCOMPARE(LayoutWordList(lessons, s).pages.first().texts("drLektion"),
                 QStringList({"  1A1 [Verben]", " 12B1 []", "100A1 [Rest]"}));
    }

    void fontSize11PrintsAt12() {
        WordListSettings s11 = listSettings();
        s11.fontSize = 11;
        WordListSettings s12 = listSettings();
        const auto a = LayoutWordList(manyWords(3), s11).pages.first().items;
        const auto b = LayoutWordList(manyWords(3), s12).pages.first().items;
        QCOMPARE(a.size(), b.size());
        for (int i = 0; i < a.size(); ++i) {
            QCOMPARE(a[i].rect, b[i].rect);
            QCOMPARE(a[i].font.pixelSize(), b[i].font.pixelSize());
        }
    }

    void moreColumnsNeedFewerPages() {
        const QList<PrintWord> words = manyWords(300);
        int previous = 1000;
        for (int format : {0, 1, 2}) {
            const auto doc = LayoutWordList(words, listSettings(format, true));
            QCOMPARE(doc.orientation, QPageLayout::Portrait);
            QVERIFY2(doc.pageCount() < previous, qPrintable(QString::number(format)));
            previous = doc.pageCount();
        }
        previous = 1000;
        for (int format : {3, 4, 5}) {
            const auto doc = LayoutWordList(words, listSettings(format, true));
            QCOMPARE(doc.orientation, QPageLayout::Landscape);
            QVERIFY(doc.pageCount() < previous);
            previous = doc.pageCount();
        }
        // Every word is printed exactly once.
        const auto doc = LayoutWordList(words, listSettings(5));
        int printed = 0;
        for (const auto& page : doc.pages)
            printed += page.texts("drFremdwort").size();
        QCOMPARE(printed, 300);
        // Nothing runs below the columns into the footer.
        WordListSettings withFooter = listSettings(1);
        withFooter.page.footer = "Fuß";
        for (const auto& page : LayoutWordList(words, withFooter).pages) {
            const double footerTop = itemsOf(page, "fuss").first().rect.top();
            for (const auto& item : itemsOf(page, "drFremdwort"))
                QVERIFY(item.rect.bottom() <= footerTop);
        }
    }

    void headerAndFooterOnEveryPage() {
        WordListSettings s = listSettings();
        s.primary = PrintOrder::ForeignWord;
        s.page.header = "Seite <seite> <abschnitt>";
        s.page.footer = "<dbname>";
        QList<PrintWord> words = manyWords(60);
        for (int i = 0; i < 100; ++i)
            words << word(QStringLiteral("zeta%1").arg(i));
        const auto doc = LayoutWordList(words, s);
        QVERIFY(doc.pageCount() >= 2);
        for (int i = 0; i < doc.pageCount(); ++i) {
            const QStringList header = doc.pages[i].texts("kopf");
            QCOMPARE(header.size(), 1);
            QVERIFY(header.first().startsWith(QStringLiteral("Seite %1 ").arg(i + 1)));
            QCOMPARE(doc.pages[i].texts("fuss"), QStringList({"Vokabeln"}));
        }
        QCOMPARE(doc.pages.first().texts("kopf").first(), QString("Seite 1 W"));
        QCOMPARE(doc.pages.last().texts("kopf").first(),
                 QStringLiteral("Seite %1 Z").arg(doc.pageCount()));
    }

    void noWordsNoPages() {
        const auto doc = LayoutWordList({}, listSettings());
        QCOMPARE(doc.pageCount(), 0);
        QPdfWriter pdf(folder->filePath("empty.pdf"));
        QVERIFY(!report::paintReport(doc, pdf));
    }

    void cancellingKeepsWhatWasLaidOut() {
        int calls = 0;
        int lastTotal = 0;
        const auto doc = LayoutWordList(manyWords(100), listSettings(), [&](int done, int total) {
            ++calls;
            lastTotal = total;
            return done < 10;
        });
        QVERIFY(doc.cancelled);
        QCOMPARE(calls, 10);
        QCOMPARE(lastTotal, 100);
        int printed = 0;
        for (const auto& page : doc.pages)
            printed += page.texts("drFremdwort").size();
        QCOMPARE(printed, 10);
    }

    void listsInOneToFourColumnsAsPdf() {
        engine::Query query;
        printtest::createDatabase(folder->path(), printtest::latinWords(), query);
        const QList<PrintWord> words = printtest::allWords();
        QCOMPARE(words.size(), 80);
        for (int format = 0; format < 6; ++format) {
            WordListSettings s = listSettings(format);
            s.page.header = "Seite <seite>";
            const auto doc = LayoutWordList(words, s);
            QVERIFY(doc.pageCount() >= 1);
            const QString path = folder->filePath(QStringLiteral("list%1.pdf").arg(format));
            QPdfWriter pdf(path);
            QVERIFY(report::paintReport(doc, pdf));
            QCOMPARE(pdfPageCount(path), doc.pageCount());
        }
    }

    void aPageRendersInk() {
        const auto doc = LayoutWordList(manyWords(5), listSettings());
        QImage image(210 * 4, 297 * 4, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        report::paintPage(doc.pages.first(), painter, image.width() / doc.pageSizeDots().width());
        painter.end();
        // Some dark pixels in the band of the first entries, none far below them.
        auto darkIn = [&](int top, int bottom) {
            int dark = 0;
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < image.width(); ++x)
                    dark += qGray(image.pixel(x, y)) < 128;
            return dark;
        };
        QVERIFY(darkIn(40, 300) > 100);
        QCOMPARE(darkIn(900, 1100), 0);
    }

    // --- Cards -------------------------------------------------------------------

    void cardMeasures() {
        CardMeasureCheck check = CheckCardLayoutValue(CardHeightRange, "abc");
        QCOMPARE(check.message,
                 QString("Karteikartenlayout: Karteikartenhöhe ist ungültig. Der Wert wird "
                         "zurückgesetzt."));
        QCOMPARE(check.text, QString("43,5"));
        check = CheckCardLayoutValue(CardWidthRange, "120");
        QCOMPARE(check.message,
                 QString("Karteikartenlayout: Ungültiger Wert. Karteikartenbreite muss zwischen "
                         "50 mm und 110 mm liegen. Der Wert wird korrigiert."));
        QCOMPARE(check.text, QString("110"));
        check = CheckCardLayoutValue(CardGapVRange, "-1");
        QCOMPARE(check.text, QString("0"));
        check = CheckCardLayoutValue(CardWidthRange, "80.5");
        QVERIFY(check.message.isEmpty());
        QCOMPARE(check.value, 80.5);
        QVERIFY(!ParseCardMeasure("inf", nullptr));
        QVERIFY(!ParseCardMeasure("1e3", nullptr));
        QVERIFY(!ParseCardMeasure("1,2,3", nullptr));
        QCOMPARE(FormatCardMeasure(91.5), QString("91,5"));
        QCOMPARE(CardMeasureValue(CardHeightRange, "0"), 25.0);
        QCOMPARE(CardMeasureValue(CardHeightRange, ""), 43.5);
    }

    void cardPairs() {
        auto rows = PlanCardRows(3, CardKind::Front);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].left, 0);
        QCOMPARE(rows[0].right, 1);
        QCOMPARE(rows[1].left, -1); // the lone front on the right
        QCOMPARE(rows[1].right, 2);
        rows = PlanCardRows(3, CardKind::Back);
        QCOMPARE(rows[0].left, 1);
        QCOMPARE(rows[0].right, 0);
        QCOMPARE(rows[1].left, 2); // its back on the left
        QCOMPARE(rows[1].right, -1);
        QCOMPARE(rows[0].leftSide, CardSide::Back);
        rows = PlanCardRows(3, CardKind::Fold);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[2].left, 2);
        QCOMPARE(rows[2].right, 2);
        QCOMPARE(rows[2].leftSide, CardSide::Front);
        QCOMPARE(rows[2].rightSide, CardSide::Back);
        QCOMPARE(PlanCardRows(1, CardKind::Front).first().right, 0);
        QVERIFY(PlanCardRows(0, CardKind::Back).isEmpty());
    }

    void backTextRunsOnWhenItHasTooManyLines() {
        const QString five = "a\r\nb\r\nc\r\nd\r\ne";
        QCOMPARE(FitCardText(five, false, 12), five);
        QCOMPARE(FitCardText(five, false, 14), five);
        QCOMPARE(FitCardText(five, false, 20), QString("a, \nb, \nc, \nd, \ne"));
        QCOMPARE(FitCardText(five, true, 12), QString("a, \nb, \nc, \nd, \ne"));
    }

    void cardRowsAndColumns() {
        CardRowPlaces places = CardRowPositions(43.5, 4);
        QCOMPARE(places.start, 18);
        QCOMPARE(places.step, 5);
        places = CardRowPositions(43.5, 1);
        QCOMPARE(places.start, 24);

        CardSettings s;
        s.kind = CardKind::Fold;
        s.specialForms = PrintPlacement::Left;
        s.remarks = PrintPlacement::Left;
        s.page.top = 10;
        s.page.left = 10;
        PrintWord w = word("dicere", "sagen");
        w.PraeFut = "dico";
        w.PerAor = "dixi";
        w.Perfekt = "dictum";
        w.Futur_passiv = "dicar";
        w.Genitiv = "-";
        w.Genus = "n";
        w.Extra = "oft";
        const auto doc = LayoutIndexCards({w, w}, s);
        const report::ReportPage& page = doc.pages.first();
        auto x = [&](const QString& role) {
            return mm(itemsOf(page, role).first().rect.left()) - 10;
        };
        auto y = [&](const QString& role, int i = 0) {
            return mm(itemsOf(page, role).at(i).rect.top()) - 10;
        };
        QCOMPARE(qRound(x("ks11") * 10), 60);
        QCOMPARE(qRound(x("ks12") * 10), 355);
        QCOMPARE(qRound(x("ks13") * 10), 640);
        QCOMPARE(qRound(x("kgen1") * 10), 60);
        QCOMPARE(qRound(x("QRShape2") * 10), 950);
        QCOMPARE(qRound(x("QRShape1") * 10), 21);
        // All four rows on the front: remark 18, forms 23 and 28, genitive 33.
        QCOMPARE(qRound(y("kart10")), 18);
        QCOMPARE(qRound(y("ks11")), 23);
        QCOMPARE(qRound(y("ks14")), 28);
        QCOMPARE(qRound(y("kgen1")), 33);
        QCOMPARE(qRound(y("kart1") * 10), 95); // with the lesson label
        // The second row of cards 47.5 mm further down.
        QCOMPARE(qRound((y("QRShape1", 1) - y("QRShape1", 0)) * 10), 475);
        // The back carries no special forms and no remark here.
        QVERIFY(itemsOf(page, "ks21").isEmpty());
        QVERIFY(itemsOf(page, "kart20").isEmpty());
        QCOMPARE(page.texts("kart2").first(), QString("sagen"));
    }

    void remarksOnTheRightGoToTheBack() {
        CardSettings s;
        s.kind = CardKind::Fold;
        s.remarks = PrintPlacement::Right;
        PrintWord w = word("bellum", "Krieg");
        w.Extra = "meist Plural";
        const auto page = LayoutIndexCards({w}, s).pages.first();
        QCOMPARE(page.texts("kart2"), QStringList({"Krieg", "[meist Plural]"}));
        QVERIFY(page.texts("kart10").isEmpty());
        QCOMPARE(page.texts("kart1"), QStringList({"bellum"}));
    }

    void threeFrontsThenTheirBacks() {
        CardSettings s;
        s.kind = CardKind::Front;
        const QList<PrintWord> words{word("eins", "1"), word("zwei", "2"), word("drei", "3")};
        auto page = LayoutIndexCards(words, s).pages.first();
        QCOMPARE(page.texts("kart1"), QStringList({"eins"}));
        QCOMPARE(page.texts("kart2"), QStringList({"zwei", "drei"}));
        QCOMPARE(itemsOf(page, "QRShape1").size(), 1);
        s.kind = CardKind::Back;
        page = LayoutIndexCards(words, s).pages.first();
        QCOMPARE(page.texts("kart1"), QStringList({"2", "3"}));
        QCOMPARE(page.texts("kart2"), QStringList({"1"}));
    }

    void cardsAsPdf() {
        engine::Query query;
        printtest::createDatabase(folder->path(), printtest::latinWords(), query);
        const QList<PrintWord> words = printtest::allWords();
        for (CardKind kind : {CardKind::Fold, CardKind::Front, CardKind::Back}) {
            CardSettings s;
            s.kind = kind;
            s.page.header = "Karten <seite>";
            s.lessonLines = baumlist.lines();
            s.lessonEntries = PrintLessonEntries(baumlist);
            const auto doc = LayoutIndexCards(words, s);
            // Five rows of cards on a page with the default measures.
            const int rows = kind == CardKind::Fold ? 80 : 40;
            QCOMPARE(doc.pageCount(), (rows + 4) / 5);
            QCOMPARE(doc.pages.first().texts("kopf"), QStringList({"Karten 1"}));
            QCOMPARE(doc.pages.first().texts("lekt1").first(), QString("1A1 [Erste Wörter]"));
            const QString path = folder->filePath(QStringLiteral("cards%1.pdf").arg(int(kind)));
            QPdfWriter pdf(path);
            QVERIFY(report::paintReport(doc, pdf));
            QCOMPARE(pdfPageCount(path), doc.pageCount());
        }
    }

    void measuresOutOfRangeCannotHang() {
        CardSettings s;
        s.height = 0;
        s.gapV = 0;
        s.width = 1000;
        const auto doc = LayoutIndexCards(manyWords(20), s);
        QVERIFY(doc.pageCount() >= 1);
        QVERIFY(doc.pageCount() <= 20);
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
