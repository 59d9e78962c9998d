// The print window: the lessons it offers and prints, its settings across
// closing and opening, the corrections of margins and card measures, the
// preview's pages, printing to a file and the main query afterwards.
#include "database/generaloptions.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "printing/printwindow.h"
#include "printing/reportpreview.h"
#include "printtestdata.h"
#include "support/filesizelimit.h"
#include "support/mainwindowstart.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace {

QList<int> selectedRows(const QListWidget* list) {
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows << i;
    return rows;
}

} // namespace

class TestPrintWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<engine::Query> query;
    std::unique_ptr<Tdruck> window;
    QStringList boxes;
    platform::Answer answer = platform::Answer::Ok;

    QString data(const QString& name) const { return WorkDir + "/data/" + name; }

    void open() {
        window = std::make_unique<Tdruck>();
        window->FormShow();
    }

    void close() { window->done(QDialog::Rejected); }

  private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        query = std::make_unique<engine::Query>();
        printtest::createDatabase(folder->path(), printtest::latinWords(), *query);
        QDir(WorkDir).mkpath("data");
        SelectionOptionsPath = data("AuswOpt.dat");
        PrintCardOptionsPath = data("Dru2Opt.dat");
        PrintTextOptionsPath = data("Dru3Opt.dat");
        PrintCardOptions = TPrintCardOptionsRec();
        PrintTextOptions = TPrintTextOptionsRec();
        PrintSelectionOptions = TPrintSelectionOptions();
        boxes.clear();
        answer = platform::Answer::Ok;
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.text;
            return answer;
        });
        platform::setModalHandler([](QDialog&) { return int(QDialog::Rejected); });
    }

    void cleanup() {
        window.reset();
        query.reset();
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void showingChoosesExactlyTheCurrentLesson() {
        CurrentLessonCode = "001A2";
        open();
        QCOMPARE(window->llek->count(), 3);
        QCOMPARE(window->llek->item(0)->text(), QString("  1A1 [Erste Wörter]"));
        QCOMPARE(selectedRows(window->llek), QList<int>({1}));
        QCOMPARE(window->document().pages.first().texts("drFremdwort"),
                 QStringList({"dicere", "mare", "et"}));
        window->llek->selectAll();
        close();
        window->FormShow();
        QCOMPARE(selectedRows(window->llek), QList<int>({1}));
    }

    void withoutAChosenLessonTheFirstIsPrinted() {
        open();
        window->llek->clearSelection();
        window->ud();
        QCOMPARE(selectedRows(window->llek), QList<int>({0}));
        QCOMPARE(window->lessonCount(), 1);
        // One lesson sorted by lesson: its entry under the title, no captions.
        QVERIFY(window->titleLine().endsWith("\r\n\r\n  1A1 [Erste Wörter]"));
        QVERIFY(window->document().pages.first().texts("drLektion").isEmpty());
    }

    // The title band heads each printout with the title of its own build: on
    // the first build, after another lesson was chosen, and after another
    // database was printed before.
    void theTitleBandPrintsThisBuildsTitle() {
        auto title = [this] { return window->document().pages.first().texts("LbTitel"); };
        open();
        QCOMPARE(title(), QStringList({"Vokabeln -  Latein", "", "  1A1 [Erste Wörter]"}));
        window->llek->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        window->Button2Click();
        QCOMPARE(title(), QStringList({"Vokabeln -  Latein", "", "  1A2 [Verben]"}));
        close();

        CurrentDatabaseName = "neugriechisch";
        CurrentLanguage = "Griechisch";
        window->FormShow();
        QCOMPARE(title(), QStringList({"Neugriechisch -  Griechisch", "", "  1A1 [Erste Wörter]"}));
        QCOMPARE(window->titleLine(), title().join("\r\n"));
    }

    // With the main window open on the database, the print window reads its
    // words through a query of its own: the main window's query, table and
    // fields stay on the record they showed, while the window builds and
    // after it closed, and the bar runs up with the words.
    void theMainWindowStaysOnItsRecordWhilePrinting() {
        LessonList(baumlist.lines()).save(CurrentDatabaseBase + ".lst");
        const QString table = CurrentTablePath;
        const auto main = StartMainWindow(folder->path());
        main->OpenVocabularyDatabase(table);
        main->Query->setRecNo(3);
        QCOMPARE(main->Query->asString("Fremdwort"), QString("bellum"));
        int moves = 0;
        connect(main->Query, &engine::Query::scrolled, this, [&] { ++moves; });
        QList<int> bar;
        window = std::make_unique<Tdruck>();
        connect(window->pb, &QProgressBar::valueChanged, this, [&](int value) { bar << value; });
        window->FormShow();
        window->llek->selectAll();
        window->sa->setChecked(true);
        bar.clear();
        window->Button2Click();
        QCOMPARE(window->document().pages.first().texts("drFremdwort").mid(0, 3),
                 QStringList({"amare", "amicus", "bellum"}));
        QList<int> wordByWord;
        for (int done = 0; done <= 80; ++done)
            wordByWord << done;
        QCOMPARE(bar, wordByWord);
        QCOMPARE(window->pb->maximum(), 80);
        close();
        QCOMPARE(moves, 0);
        QCOMPARE(main->Query->recNo(), 3);
        QCOMPARE(main->Query->recordCount(), 5);
        QCOMPARE(main->DBGitter->currentIndex().row(), 3);
        window.reset();
        Form1 = nullptr;
    }

    void settingsSurviveClosingAndOpening() {
        QByteArray record(272, '\0');
        for (int i = 236; i < 272; ++i)
            record[i] = char(0x40 + i % 7);
        writeFile(SelectionOptionsPath, record);
        open();
        window->sa->setChecked(true);
        window->sab->setChecked(true);
        window->ssta->setChecked(true);
        window->rbbd2->setChecked(true);
        window->rbsd1->setChecked(true);
        window->rb3->setChecked(true);
        window->cbs->setCurrentIndex(2);
        window->cbus->setChecked(false);
        window->nst->setChecked(true);
        window->comw->setCurrentIndex(2);
        window->ekz->setText("Seite <seite>");
        window->efz->setText(QString(300, 'F'));
        window->sro->setText("15");
        window->cbkartei->setChecked(true);
        window->rbk3->setChecked(true);
        window->rbkrahmen->setChecked(false);
        window->cbkvor->setChecked(true);
        window->cbkueber->setCurrentIndex(13);
        window->kkBreite->setText("80");
        window->ComboBox1->setCurrentIndex(10); // "100%"
        close();

        const QByteArray saved = readFile(SelectionOptionsPath);
        QCOMPARE(saved.size(), 272);
        QCOMPARE(saved.mid(236), record.mid(236));
        QCOMPARE(saved.mid(132, 4), QByteArray("100%"));

        PrintCardOptions = TPrintCardOptionsRec();
        PrintTextOptions = TPrintTextOptionsRec();
        PrintSelectionOptions = TPrintSelectionOptions();
        open();
        QVERIFY(window->sa->isChecked());
        QVERIFY(window->sab->isChecked());
        QVERIFY(window->ssta->isChecked());
        QVERIFY(window->rbbd2->isChecked());
        QVERIFY(window->rbsd1->isChecked());
        QVERIFY(window->rb3->isChecked());
        QCOMPARE(window->cbs->currentText(), QString("8"));
        QVERIFY(!window->cbus->isChecked());
        QVERIFY(window->nst->isChecked());
        QCOMPARE(window->comw->currentText(), QString("Substantiv"));
        QCOMPARE(window->ekz->text(), QString("Seite <seite>"));
        QCOMPARE(window->efz->text(), QString(255, 'F'));
        QCOMPARE(window->sro->text(), QString("15"));
        QVERIFY(window->cbkartei->isChecked());
        QVERIFY(window->rbk3->isChecked());
        QVERIFY(!window->rbkrahmen->isChecked());
        QVERIFY(window->cbkvor->isChecked());
        QCOMPARE(window->cbkueber->currentText(), QString("24"));
        QCOMPARE(window->kkBreite->text(), QString("80"));
        // The zoom always starts at 35 %.
        QCOMPARE(window->ComboBox1->currentText(), QString("35%"));
        QVERIFY(window->cardMode());
    }

    void aFirstStartWithoutFilesTicksNoBoxAndSizesAt6() {
        open();
        for (QCheckBox* box : {window->cbra, window->line, window->cbus, window->sab, window->nge,
                               window->nse, window->nst, window->cbkartei, window->rbkrahmen,
                               window->rbklektion, window->cbkvor, window->cbKartKopfFuss})
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        for (QComboBox* sizes : {window->cbs, window->cbkfremdwort, window->cbkueber,
                                 window->cbksonder, window->cbklektion})
            QCOMPARE(sizes->currentText(), QString("6"));
        // No kind of card is ticked; a card build then folds.
        for (QRadioButton* kind : {window->rbk1, window->rbk2, window->rbk3})
            QVERIFY2(!kind->isChecked(), qPrintable(kind->objectName()));
        QCOMPARE(window->cardSettings().kind, CardKind::Fold);
        // A list always has an order: the selection's radio groups keep their choice.
        QVERIFY(window->sl->isChecked());
        QVERIFY(window->rbbd0->isChecked());
        QVERIFY(window->rbsd0->isChecked());
        QVERIFY(window->ekz->text().isEmpty() && window->efz->text().isEmpty());
        QCOMPARE(window->kkBreite->text(), QString("91,5"));
        QCOMPARE(window->kkAbstandv->text(), QString("4,0"));
        // Empty margins are no numbers: the build shows them as 10.
        QCOMPARE(window->sro->text(), QString("10"));
        QVERIFY(boxes.isEmpty());

        close();
        const QByteArray cards = readFile(PrintCardOptionsPath);
        QCOMPARE(cards.size(), 72);
        QCOMPARE(cards.left(8), QByteArray(8, '\0'));
        QCOMPARE(cards.mid(32, 16), QByteArray(16, '\0'));
        const QByteArray selection = readFile(SelectionOptionsPath);
        QCOMPARE(selection.mid(11, 3), QByteArray(3, '\0')); // cbus, line, cbra
        QCOMPARE(selection.mid(30, 2), QByteArray("\x01"
                                                  "0",
                                                  2));
    }

    void invalidCardMeasuresAreReplacedSilentlyOnShowing() {
        TPrintTextOptionsRec texts;
        texts.kkHoehe = "viel";
        texts.kkBreite = "70";
        QVERIFY(texts.save(PrintTextOptionsPath));
        open();
        QCOMPARE(window->kkBreite->text(), QString("91,5"));
        QCOMPARE(window->kkHoehe->text(), QString("43,5"));
        QVERIFY(boxes.isEmpty());
    }

    void marginsAreCorrectedInTheEdits() {
        open();
        window->sro->setText("abc");
        window->sru->setText("0");
        window->srl->setText("250");
        window->srr->setText("12");
        window->Button2Click();
        QCOMPARE(window->sro->text(), QString("10"));
        QCOMPARE(window->sru->text(), QString("1"));
        QCOMPARE(window->srl->text(), QString("200"));
        QCOMPARE(window->srr->text(), QString("12"));
        QVERIFY(window->document().pageCount() > 0);
    }

    void cardMeasuresAreCheckedBeforeACardBuild() {
        open();
        window->cbkartei->setChecked(true);
        window->kkHoehe->setText("abc");
        window->kkBreite->setText("120");
        window->Button2Click();
        QCOMPARE(boxes,
                 QStringList({"Karteikartenlayout: Karteikartenhöhe ist ungültig. Der Wert "
                              "wird zurückgesetzt.",
                              "Karteikartenlayout: Ungültiger Wert. Karteikartenbreite muss "
                              "zwischen 50 mm und 110 mm liegen. Der Wert wird korrigiert."}));
        QCOMPARE(window->kkHoehe->text(), QString("43,5"));
        QCOMPARE(window->kkBreite->text(), QString("110"));
        QVERIFY(window->cardMode());
        // Without card printing the measures are not looked at.
        boxes.clear();
        window->cbkartei->setChecked(false);
        window->kkHoehe->setText("abc");
        window->Button2Click();
        QVERIFY(boxes.isEmpty());
        QVERIFY(!window->cardMode());
    }

    void standardResetsTheCardMeasuresWhenConfirmed() {
        open();
        window->kkBreite->setText("60");
        answer = platform::Answer::No;
        window->Button1Click();
        QCOMPARE(window->kkBreite->text(), QString("60"));
        answer = platform::Answer::Yes;
        window->Button1Click();
        QCOMPARE(window->kkBreite->text(), QString("91,5"));
        QCOMPARE(boxes.size(), 2);
    }

    void pagesOfThePreview() {
        open();
        QCOMPARE(window->mSeite->text(), QString(" Seite 1 von 1"));
        QVERIFY(!window->sbzz->isEnabled() && !window->sbz->isEnabled());
        QVERIFY(!window->sbv->isEnabled() && !window->sbvv->isEnabled());

        window->llek->selectAll();
        window->Button2Click();
        const int pages = window->document().pageCount();
        QVERIFY(pages > 1);
        QCOMPARE(window->mSeite->text(), QStringLiteral(" Seite 1 von %1").arg(pages));
        window->sbvClick();
        QCOMPARE(window->mSeite->text(), QStringLiteral(" Seite 2 von %1").arg(pages));
        QVERIFY(window->sbzz->isEnabled() && window->sbz->isEnabled());
        window->sbvvClick();
        QCOMPARE(window->mSeite->text(), QStringLiteral(" Seite %1 von %1").arg(pages));
        QVERIFY(!window->sbv->isEnabled() && !window->sbvv->isEnabled());
        window->sbzzClick();
        QCOMPARE(window->mSeite->text(), QStringLiteral(" Seite 1 von %1").arg(pages));
    }

    void zoomFollowsTheList() {
        open();
        window->ComboBox1->setCurrentIndex(window->ComboBox1->count() - 1);
        window->sbziClick();
        QVERIFY(!window->sbzi->isEnabled());
        window->sbzoClick();
        QCOMPARE(window->ComboBox1->currentText(), QString("200%"));
        QVERIFY(window->sbzi->isEnabled());
        window->ComboBox1->setCurrentIndex(0);
        window->sbzoClick();
        QVERIFY(!window->sbzo->isEnabled());
        QCOMPARE(window->ComboBox1->currentText(), QString("10%"));
    }

    void formatsChooseTheirListSize() {
        open();
        window->rb5->click();
        QCOMPARE(window->cbs->currentText(), QString("9"));
        window->rb0->click();
        QCOMPARE(window->cbs->currentText(), QString("14"));
        window->rb2->click();
        QCOMPARE(window->cbs->currentText(), QString("10"));
    }

    void nothingToPrint() {
        open();
        window->comw->setCurrentIndex(10); // "Artikel": none in the database
        window->Button2Click();
        QCOMPARE(window->li->text(), QString("Es sind keine Vokabeln zum Drucken gewählt."));
        QVERIFY(window->Panel2->isVisibleTo(window.get()));
        QVERIFY(!window->pb->isVisibleTo(window.get()));
        QCOMPARE(window->document().pageCount(), 0);
        // The pages of the last build are no longer shown.
        QCOMPARE(window->PreviewArea->currentIndex(), 1);
        QCOMPARE(window->mSeite->text(), QString(" Keine Seiten"));
        window->BitBtn3Click();
        QCOMPARE(boxes, QStringList({"Es sind keine Vokabeln zum Drucken gewählt."}));
    }

    // The window is on the screen before its template is built, so that the
    // progress of a large build can be seen.
    void theWindowOpensBeforeItsTemplateIsBuilt() {
        window = std::make_unique<Tdruck>();
        int pagesWhenShown = -1;
        bool built = false;
        platform::setModalHandler([&](QDialog& dialog) {
            pagesWhenShown = window->document().pageCount();
            dialog.show();
            built = QTest::qWaitFor([&] { return window->document().pageCount() > 0; });
            dialog.hide();
            return int(QDialog::Rejected);
        });
        window->showForPrint();
        QCOMPARE(pagesWhenShown, 0);
        QVERIFY(built);
        QCOMPARE(window->document().pages.first().texts("drFremdwort").first(), QString("amicus"));
    }

    // While a large template is built the first page is shown, the panel with
    // its bar is visible, the cursor is busy and "Abbruch" stops the build.
    void aLongBuildShowsItsFirstPageAndCanBeStopped() {
        {
            engine::Transaction transaction(CurrentTablePath);
            engine::Query insert;
            insert.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath)});
            insert.open();
            for (int i = 0; i < 3000; ++i)
                insert.insertRecord(printtest::row(
                    {"002A1", QStringLiteral("vox%1").arg(i), "Stimme\r\nLaut", {}, {}, {}, {}}));
            transaction.commit();
        }
        open();
        window->show();
        window->llek->selectAll();
        int pagesAtFirstSight = -1;
        bool panelVisible = false;
        bool barVisible = false;
        bool busy = false;
        connect(window->prev, &report::ReportPreview::previewChanged, this, [&] {
            if (pagesAtFirstSight >= 0 || window->prev->pageCount() == 0) return;
            pagesAtFirstSight = window->prev->pageCount();
            panelVisible = window->Panel2->isVisible();
            barVisible = window->pb->isVisible();
            busy = QApplication::overrideCursor() &&
                   QApplication::overrideCursor()->shape() == Qt::BusyCursor;
            // Clicked by the event loop, which the build lets run now and then.
            QTimer::singleShot(0, window->BitBtn4, &QPushButton::click);
        });
        window->Button2Click();
        QCOMPARE(pagesAtFirstSight, 1);
        QVERIFY(panelVisible && barVisible && busy);
        QVERIFY(window->document().cancelled);
        QVERIFY(window->document().pageCount() < 20);
        QVERIFY(!window->Panel2->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(window->mSeite->text(),
                 QStringLiteral(" Seite 1 von %1").arg(window->document().pageCount()));

        // Built to its end, the same selection has many pages.
        window->Button2Click();
        QVERIFY(!window->document().cancelled);
        QVERIFY(window->document().pageCount() > 40);
    }

    // "&Drucken" into a file asks for the file every time, proposes a name
    // after the database (and the cards), and never writes over a file
    // without asking.
    void printingIntoAFileAsksForItsNameEachTime() {
        open();
        window->llek->selectAll();
        window->rb1->click();
        window->Button2Click();
        window->printer()->setOutputFormat(QPrinter::PdfFormat);
        QDir(folder->path()).mkpath("alt");
        window->printer()->setOutputFileName(folder->filePath("alt/frueher.pdf"));

        QStringList proposals;
        QStringList answers;
        bool qtDialogs = true; // Qt's own dialog, which speaks German
        platform::setModalHandler([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files) return int(QDialog::Rejected);
            qtDialogs = qtDialogs && files->testOption(QFileDialog::DontUseNativeDialog);
            proposals << files->selectedFiles().value(0);
            if (answers.isEmpty()) return int(QDialog::Rejected);
            files->selectFile(answers.takeFirst());
            return int(QDialog::Accepted);
        });

        const QString list = folder->filePath("liste.pdf");
        answers << list;
        window->BitBtn3Click();
        QCOMPARE(proposals, QStringList({folder->filePath("alt/Vokabeln.pdf")}));
        const QByteArray pdf = readFile(list);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ")),
                 window->document().pageCount());

        // The same file again: the question, "Nein", and the dialog once more,
        // which the user leaves: nothing is written.
        proposals.clear();
        answers << list;
        answer = platform::Answer::No;
        window->cbkartei->setChecked(true);
        window->Button2Click();
        window->BitBtn3Click();
        QCOMPARE(proposals, QStringList({folder->filePath("Vokabeln - Karteikarten.pdf"), list}));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.first().contains("liste.pdf"));
        QCOMPARE(readFile(list), pdf);

        // "Ja" writes the cards over it.
        answers << list;
        answer = platform::Answer::Yes;
        window->BitBtn3Click();
        QCOMPARE(boxes.size(), 2);
        const QByteArray cards = readFile(list);
        QVERIFY(cards.startsWith("%PDF"));
        QVERIFY(cards != pdf);
        QVERIFY(qtDialogs);
    }

    // The print window stays on top of the others: the question about a file
    // that exists opens in front of it, as its own box, and "Nein" keeps the file.
    void theOverwriteQuestionStandsInFrontOfThePrintWindow() {
        window = std::make_unique<Tdruck>();
        const QString list = folder->filePath("liste.pdf");
        writeFile(list, "alt");
        QList<QWidget*> owners;
        platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
            owners << request.owner;
            return platform::Answer::No;
        });
        // When the file dialog closes, the focus may be anywhere for a moment.
        QWidget elsewhere;
        platform::setModalHandler([&](QDialog& dialog) {
            if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
                elsewhere.show();
                elsewhere.activateWindow();
                if (!QTest::qWaitForWindowActive(&elsewhere)) return int(QDialog::Rejected);
                files->selectFile(list);
                return int(owners.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
            }
            dialog.show();
            if (!QTest::qWaitFor([&] { return window->document().pageCount() > 0; }))
                return int(QDialog::Rejected);
            window->printer()->setOutputFormat(QPrinter::PdfFormat);
            window->BitBtn3Click();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        window->showForPrint();
        QCOMPARE(owners, QList<QWidget*>({window.get()}));
        QCOMPARE(readFile(list), QByteArray("alt"));
    }

    // A file named in the printer set-up is what the next printout proposes;
    // the one after it is named after the database again.
    void theFileOfThePrinterSetUpIsProposedOnce() {
        open();
        window->printer()->setOutputFormat(QPrinter::PdfFormat);
        const QString chosen = folder->filePath("gewaehlt.pdf");
        QStringList proposals;
        platform::setModalHandler([&](QDialog& dialog) {
            if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
                proposals << files->selectedFiles().value(0);
                files->selectFile(proposals.last());
                return int(QDialog::Accepted);
            }
            // The printer set-up: "In PDF-Datei drucken" into the chosen file.
            window->printer()->setOutputFileName(chosen);
            return int(QDialog::Accepted);
        });
        window->SpeedButton1Click();
        window->BitBtn3Click();
        window->BitBtn3Click();
        QCOMPARE(proposals, QStringList({chosen, folder->filePath("Vokabeln.pdf")}));
        QVERIFY(readFile(chosen).startsWith("%PDF"));
        QVERIFY(readFile(folder->filePath("Vokabeln.pdf")).startsWith("%PDF"));
    }

    void aFileThatCannotBeWrittenIsReported() {
        open();
        window->printer()->setOutputFormat(QPrinter::PdfFormat);
        writeFile(folder->filePath("blocker"), "x");
        platform::setModalHandler([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files) return int(QDialog::Rejected);
            files->selectFile(folder->filePath("blocker/druck.pdf"));
            return int(QDialog::Accepted);
        });
        window->BitBtn3Click();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.first().startsWith(QStringLiteral("Die Datei „")));
        QVERIFY(boxes.first().contains("konnte nicht geschrieben werden"));
    }

    // A printout that does not fit on the disk is reported, and the earlier
    // file of that name, which the user agreed to replace, stays whole.
    void aFullDiskKeepsTheEarlierPrintout() {
        open();
        window->printer()->setOutputFormat(QPrinter::PdfFormat);
        const QString list = folder->filePath("liste.pdf");
        platform::setModalHandler([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files) return int(QDialog::Rejected);
            files->selectFile(list);
            return int(QDialog::Accepted);
        });
        window->BitBtn3Click();
        const QByteArray pdf = readFile(list);
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QVERIFY(boxes.isEmpty());

        answer = platform::Answer::Yes;
        window->cbkartei->setChecked(true);
        window->Button2Click();
        {
            const FileSizeLimit full(pdf.size() / 2);
            window->BitBtn3Click();
        }
        QCOMPARE(boxes.size(), 2); // the question, then the failure
        QVERIFY2(boxes.last().contains("konnte nicht geschrieben werden"),
                 qPrintable(boxes.last()));
        QCOMPARE(readFile(list), pdf);
        QCOMPARE(QDir(folder->path()).entryList({"*.pdf*", ".*.pdf*"}, QDir::Files | QDir::Hidden),
                 QStringList({"liste.pdf"}));
    }
};

QTEST_MAIN(TestPrintWindow)
#include "tst_printwindow.moc"
