// The quiz selection window: lesson codes handed to the quiz start, refused
// confirmations, the marks of the last quiz and the filters kept in the file.
#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "quiz/selectionoptions.h"
#include "quiz/selectionwindow.h"
#include "support/testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A record whose every byte differs from a plain 0 or 1.
QByteArray patternRecord() {
    QByteArray image(272, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(0x40 + i % 50);
    return image;
}

QStringList lines(const QListWidget* list) {
    QStringList result;
    for (int k = 0; k < list->count(); ++k)
        result << list->item(k)->text();
    return result;
}

QList<bool> flags(std::initializer_list<int> marked, int count) {
    QList<bool> result(count, false);
    for (int k : marked)
        result[k] = true;
    return result;
}

} // namespace

class TestSelectionWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Tausw> window;
    QStringList boxes;
    QList<QStringList> started;

    QString data(const QString& name) const { return WorkDir + "/data/" + name; }
    QString marksPath() const { return data("CaesarLateinaw.dat"); }
    QString marks2Path() const { return data("CaesarLateinaw2.dat"); }
    QString optionsPath() const { return data("AuswOpt.dat"); }

    // The window as the main menu opens it, without the modal loop.
    void open() {
        window->fillLessonList();
        window->FormShow();
    }

  private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        WorkDir = folder->path();
        InstallDir = folder->path();
        QDir(WorkDir).mkpath(QStringLiteral("data"));
        CurrentDatabaseName = QStringLiteral("Caesar");
        CurrentDatabaseBase = folder->filePath(QStringLiteral("Latein/Caesar"));
        CurrentLanguage = QStringLiteral("Latein");
        SelectionOptionsPath = optionsPath();
        SelectionOptions = TSelectionOptionsRec();
        GeneralOptions = TGeneralOptionsRec();
        baumlist.setLines({"001A1Haus", "001B1", "012B2Verben", "123C3"});

        boxes.clear();
        started.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.caption + QStringLiteral(": ") + request.text;
            return platform::Answer::Ok;
        });
        window = std::make_unique<Tausw>();
        window->quizStarter = [this](const QStringList& codes) {
            started << codes;
            return true;
        };
    }

    void cleanup() {
        window.reset();
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void okHandsTheMarkedLessonsToTheQuiz() {
        open();
        QCOMPARE(lines(window->SrcList),
                 QStringList({"  1 A1  [Haus]", "  1 B1  []", " 12 B2  [Verben]", "123 C3  []"}));
        QVERIFY(!window->BitBtn1->isEnabled()); // no quiz yet
        window->setMarks(flags({0, 2, 3}, 4));
        window->OkBtn->click();

        QVERIFY(boxes.isEmpty());
        QCOMPARE(window->result(), int(QDialog::Accepted));
        // Last marked line first, as the quiz receives them.
        QCOMPARE(started, QList<QStringList>({{"123C3", "012B2", "001A1"}}));
        QCOMPARE(lines(window->dstlist), started.first());
        QCOMPARE(lines(window->SrcList), QStringList({"  1 B1  []"}));
        QVERIFY(window->SrcList->selectedItems().isEmpty());

        const QByteArray first = readFile(marksPath());
        QCOMPARE(first.size(), 200);
        QCOMPARE(first.left(5), QByteArray::fromHex("0100010100"));
        QCOMPARE(first.count('\1'), 3);
        const QByteArray all = readFile(marks2Path());
        QCOMPARE(all.size(), 10000);
        QCOMPARE(all.count('\1'), 3);
        QCOMPARE(readFile(optionsPath()).size(), 272);
    }

    void showForQuizRunsTheWholeRoad() {
        platform::setModalHandler([](QDialog& dialog) {
            auto& selection = static_cast<Tausw&>(dialog);
            selection.SrcList->item(1)->setSelected(true);
            selection.OkBtn->click();
            return selection.result();
        });
        QCOMPARE(window->showForQuiz(), int(QDialog::Accepted));
        QCOMPARE(started, QList<QStringList>({{"001B1"}}));
    }

    void refusedOkChangesNothing() {
        writeFile(optionsPath(), patternRecord());
        writeFile(marksPath(), QByteArray(200, '\0'));
        open();
        QVERIFY(window->BitBtn1->isEnabled());
        const QStringList before = lines(window->SrcList);

        // No lesson marked: told so, nothing written, nothing started.
        window->ComboBox1->setCurrentIndex(3);
        window->OkBtn->click();
        QCOMPARE(boxes, QStringList({"Mitteilung: Bitte markieren Sie abzufragende Lektionen!"}));
        QVERIFY(started.isEmpty());
        QCOMPARE(window->result(), int(QDialog::Rejected)); // still open
        QCOMPARE(readFile(optionsPath()), patternRecord());
        QCOMPARE(readFile(marksPath()), QByteArray(200, '\0'));
        QVERIFY(!QFile::exists(marks2Path()));

        // Lessons marked but no difficulty: the same, and the marks stay.
        boxes.clear();
        window->setMarks(flags({1, 2}, 4));
        for (QCheckBox* box : {window->sl, window->l, window->n, window->s, window->ss})
            box->setChecked(false);
        window->OkBtn->click();
        QCOMPARE(boxes, QStringList({"Mitteilung: Bitte wählen Sie die Schwierigkeit der "
                                     "abzufragenden Vokabeln."}));
        QVERIFY(started.isEmpty());
        QCOMPARE(lines(window->SrcList), before);
        QCOMPARE(window->marks(), flags({1, 2}, 4));
        QCOMPARE(window->dstlist->count(), 0);
        QCOMPARE(readFile(optionsPath()), patternRecord());
        QCOMPARE(readFile(marksPath()), QByteArray(200, '\0'));

        // Put right, the next OK goes through with codes converted once.
        boxes.clear();
        window->n->setChecked(true);
        window->OkBtn->click();
        QVERIFY(boxes.isEmpty());
        QCOMPARE(started, QList<QStringList>({{"012B2", "001B1"}}));
        QCOMPARE(readFile(marksPath()).left(4), QByteArray::fromHex("00010100"));
        const QByteArray saved = readFile(optionsPath());
        QCOMPARE(saved.left(236), patternRecord().left(236));
        QCOMPARE(saved.mid(248, 8), patternRecord().mid(248, 8));
        // Difficulties 1..5: only "normal" stays ticked (a stored "true" keeps its byte).
        QCOMPARE(saved[240], char(0));
        QCOMPARE(saved[241], char(0));
        QVERIFY(saved[242] != char(0));
        QCOMPARE(saved[243], char(0));
        QCOMPARE(saved[244], char(0));
        QCOMPARE(saved[256], char(3));
    }

    void marksComeBackOnTheNextShow() {
        open();
        window->setMarks(flags({0, 3}, 4));
        window->OkBtn->click();
        QCOMPARE(started.size(), 1);

        // Not asked for: the list opens unmarked, the button restores.
        open();
        QVERIFY(window->BitBtn1->isEnabled());
        QCOMPARE(window->marks(), flags({}, 4));
        window->BitBtn1->click();
        QCOMPARE(window->marks(), flags({0, 3}, 4));

        // Asked for in the general settings: restored on opening.
        GeneralOptions.wbla = true;
        open();
        QCOMPARE(window->marks(), flags({0, 3}, 4));
        QVERIFY(window->start->isChecked());
    }

    void marksOfAListLongerThanTheFirstFile() {
        QStringList many;
        for (int lesson = 1; lesson <= 250; ++lesson)
            many << LessonCode(lesson, QLatin1Char('A'), QLatin1Char('1'));
        baumlist.setLines(many);
        open();
        QCOMPARE(window->SrcList->count(), 250);
        window->setMarks(flags({5, 199, 240}, 250));
        window->OkBtn->click();
        QCOMPARE(started, QList<QStringList>({{"241A1", "200A1", "006A1"}}));

        open();
        window->BitBtn1Click();
        QCOMPARE(window->marks(), flags({5, 199, 240}, 250)); // from "aw2.dat"
        QVERIFY(QFile::remove(marks2Path()));
        open();
        window->BitBtn1Click();
        QCOMPARE(window->marks(), flags({5, 199}, 250)); // "aw.dat" holds 200 lines
    }

    void optionsSurviveAReload() {
        writeFile(optionsPath(), patternRecord());
        open();
        window->RadioButton3->setChecked(true);
        window->CheckBox1->setChecked(true);
        window->sl->setChecked(false);
        window->l->setChecked(false);
        window->cbgeni->setChecked(true);
        window->cbgenus->setChecked(false);
        window->cbsf->setChecked(false);
        window->ComboBox1->setCurrentIndex(5);
        window->start->click();
        window->Tb1->setValue(20);
        window->ende->click();
        window->Tb1->setValue(80);
        window->setMarks(flags({0}, 4));
        window->OkBtn->click();
        QCOMPARE(started.size(), 1);

        TSelectionOptionsRec record;
        QVERIFY(record.load(optionsPath()));
        QCOMPARE(record.direction(), 3);
        QVERIFY(record.CheckBox1 && record.cbgeni && record.n && record.s && record.ss);
        QVERIFY(!record.sl && !record.l && !record.cbsf);
        QCOMPARE(record.ComboBox1, 5);
        QCOMPARE(record.SelStart, 20);
        QCOMPARE(record.SelEnd, 80);
        QCOMPARE(record.Position, 80);
        QCOMPARE(readFile(optionsPath()).left(236), patternRecord().left(236));

        // Another window shows them; the bar stands on the lower bound.
        SelectionOptions = TSelectionOptionsRec();
        Tausw other;
        other.fillLessonList();
        other.FormShow();
        QVERIFY(other.RadioButton3->isChecked() && other.CheckBox1->isChecked());
        QVERIFY(!other.sl->isChecked() && !other.l->isChecked() && other.n->isChecked());
        QVERIFY(other.cbgeni->isChecked() && !other.cbgenus->isChecked());
        QCOMPARE(other.ComboBox1->currentIndex(), 5);
        QCOMPARE(other.Tb1->selStart(), 20);
        QCOMPARE(other.Tb1->selEnd(), 80);
        QVERIFY(other.start->isChecked());
        QCOMPARE(other.Tb1->value(), 20);
    }

    void cancelKeepsEverything() {
        open();
        window->setMarks(flags({0}, 4));
        window->ComboBox1->setCurrentIndex(2);
        window->CancelBtn->click();
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(started.isEmpty());
        QVERIFY(!QFile::exists(optionsPath()));
        QVERIFY(!QFile::exists(marksPath()));
        QCOMPARE(SelectionOptions.ComboBox1, 0);
    }

    void bandFollowsTheChosenEnd() {
        open();
        QVERIFY(window->start->isChecked());
        window->Tb1->setValue(30);
        QCOMPARE(window->Tb1->selStart(), 30);
        QCOMPARE(window->Tb1->selEnd(), 100);

        window->ende->click();
        QCOMPARE(window->Tb1->value(), 100);
        window->Tb1->setValue(60);
        QCOMPARE(window->Tb1->selStart(), 30);
        QCOMPARE(window->Tb1->selEnd(), 60);
        // Below the lower bound the band does not turn round.
        window->Tb1->setValue(10);
        QCOMPARE(window->Tb1->selStart(), 10);
        QCOMPARE(window->Tb1->selEnd(), 10);
        window->start->click();
        window->Tb1->setValue(50);
        QCOMPARE(window->Tb1->selStart(), 50);
        QCOMPARE(window->Tb1->selEnd(), 50);
        QCOMPARE(window->LabelBand->text(), QStringLiteral("von 50 % bis 50 %"));

        // A click on the band's panel: position .. position + 10, within 100.
        window->Tb1->setValue(95);
        QTest::mouseClick(window->Panel5, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(window->Tb1->selStart(), 95);
        QCOMPARE(window->Tb1->selEnd(), 100);
    }

    void emptyLessonListIsHarmless() {
        baumlist.clear();
        writeFile(marksPath(), QByteArray(200, '\1'));
        GeneralOptions.wbla = true;
        open();
        QCOMPARE(window->SrcList->count(), 0);
        window->BitBtn1->click();
        window->allemark->click();
        window->Invert->click();
        Tausw::SetItem(window->SrcList, 3);
        QCOMPARE(Tausw::GetFirstSelection(window->SrcList), -1);
        window->OkBtn->click();
        QCOMPARE(boxes, QStringList({"Mitteilung: Bitte markieren Sie abzufragende Lektionen!"}));
        QVERIFY(started.isEmpty());
    }

    void markButtons() {
        open();
        window->allemark->click();
        QCOMPARE(window->marks(), flags({0, 1, 2, 3}, 4));
        window->setMarks(flags({1}, 4));
        window->Invert->click();
        QCOMPARE(window->marks(), flags({0, 2, 3}, 4));
    }

    void looksFinished() {
        QStringList twelve;
        const char* titles[] = {"Haus und Hof", "Familie", "", "Zahlen", "Verben der Bewegung",
                                "Farben",       "Krieg",   "", "Zeit",   "Wetter",
                                "Reisen",       "Caesar I"};
        for (int k = 0; k < 12; ++k)
            twelve << LessonCode(k / 2 * 5 + 1, QLatin1Char('A' + k % 2), QLatin1Char('1')) +
                          QString::fromUtf8(titles[k]);
        baumlist.setLines(twelve);
        writeFile(marksPath(), QByteArray(200, '\0'));
        open();
        window->setMarks(flags({0, 1, 4, 7}, 12));
        window->ende->click();
        window->Tb1->setValue(80);
        window->start->click();
        window->Tb1->setValue(20);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        // Every visible control lies inside the window and shows its whole
        // text width.
        const QRect inside = window->rect();
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (!child->isVisible()) continue;
            const QRect area(child->mapTo(window.get(), QPoint(0, 0)), child->size());
            QVERIFY2(inside.contains(area), qPrintable(child->objectName()));
            if (qobject_cast<QCheckBox*>(child) || qobject_cast<QRadioButton*>(child) ||
                qobject_cast<QPushButton*>(child) || qobject_cast<QLabel*>(child))
                QVERIFY2(child->width() >= child->minimumSizeHint().width(),
                         qPrintable(child->objectName()));
        }
        QVERIFY(!window->dstlist->isVisible() && !window->spa->isVisible());
        QCOMPARE(window->Notebook->tabText(0), QStringLiteral("Wahl der Lektionen"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Lektionenauswahl"));

        const QString shots = qEnvironmentVariable("ORVILEX_SHOTS");
        if (!shots.isEmpty()) QVERIFY(window->grab().save(shots + "/selectionwindow.png"));
    }
};

QTEST_MAIN(TestSelectionWindow)
#include "tst_selectionwindow.moc"
