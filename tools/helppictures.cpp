// Renders the pictures of the help pages from the program's own windows,
// offscreen, on the sample database, and the program's icon:
//
//   cmake --build build --target orvilex_helppictures
//   build/helppictures/orvilex_helppictures help/bilder app/desktop/orvilex.png
//
// The windows are created and wired as the program does it. Modal windows do
// not run a loop of their own: each is shown, photographed and closed again.
// The program folder and the home folder are made fresh on every run.
#include "app/windows.h"
#include "database/currentdatabase.h"
#include "database/lessondialogs.h"
#include "database/newdatabasedialog.h"
#include "database/opendialog.h"
#include "exchange/backuparchive.h"
#include "exchange/backupwindow.h"
#include "exchange/exportwindow.h"
#include "exchange/importwindow.h"
#include "exchange/restorewindow.h"
#include "mainwindow/aboutbox.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/specialcharwindow.h"
#include "platform/application.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "printing/printwindow.h"
#include "quiz/evaluationwindow.h"
#include "quiz/quizoptionspage.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionwindow.h"
#include "search/searchwindow.h"
#include "search/sortwindow.h"
#include "settings/databasesettingsdialog.h"
#include "settings/optionsdialog.h"
#include "settings/specialoptionswindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

QString pictureFolder;
int failures = 0;

void settle(int ms = 150) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Wide windows are scaled down to what the help window shows without scrolling.
constexpr int MaxPictureWidth = 760;

void shoot(QWidget& window, const QString& name) {
    settle();
    const QString path = pictureFolder + QLatin1Char('/') + name + QStringLiteral(".png");
    QImage picture = window.grab().toImage();
    if (picture.width() > MaxPictureWidth)
        picture = picture.scaledToWidth(MaxPictureWidth, Qt::SmoothTransformation);
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// What to do with the next modal windows, by their class: photograph them,
// fill them, and the result they end with.
std::function<int(QDialog&)> onModal;

int showModal(QDialog& dialog) {
    dialog.show();
    settle();
    const int result = onModal ? onModal(dialog) : int(QDialog::Rejected);
    dialog.hide();
    return result;
}

template <typename Window>
void triggerAndShoot(QAction* action, const QString& name, int result = QDialog::Rejected) {
    onModal = [&](QDialog& dialog) {
        if (qobject_cast<Window*>(&dialog)) shoot(dialog, name);
        return result;
    };
    action->trigger();
    onModal = {};
}

// A fresh program folder beside the tool: the shipped files and the sample.
bool prepareProgramFolder() {
    const QString folder = QCoreApplication::applicationDirPath();
    for (const char* sub : {"data", "backup", "Latein", "Import"})
        QDir(folder + QLatin1Char('/') + QLatin1String(sub)).removeRecursively();
    QDir().mkpath(folder + QStringLiteral("/data"));
    QDir().mkpath(folder + QStringLiteral("/backup"));
    const QDir dist(QStringLiteral(ORVILEX_SOURCE_DIR "/dist/data"));
    for (const QString& name : dist.entryList(QDir::Files))
        QFile::copy(dist.filePath(name), folder + QStringLiteral("/data/") + name);
    return QProcess::execute(QStringLiteral(ORVILEX_SAMPLE_PROGRAM),
                             {folder + QStringLiteral("/Latein")}) == 0;
}

void mainWindowPictures() {
    Form1->resize(900, 640);
    Form1->show();
    shoot(*Form1, QStringLiteral("hauptfenster"));
    Form1->Tab1->setCurrentIndex(2);
    shoot(*Form1, QStringLiteral("tabelle"));
    Form1->Tab1->setCurrentIndex(0);
    triggerAndShoot<Tumbe>(Form1->NeueLektion1, QStringLiteral("lektion-neu"));
    triggerAndShoot<TDialogNeu>(Form1->Neu, QStringLiteral("neue-datenbank"));
    triggerAndShoot<Tdateiladen>(Form1->oeffnen, QStringLiteral("datenbank-laden"));
    Form1->OpenVocabularyDatabase(CurrentTablePath);
}

void quizPictures() {
    // The selection: lessons 1 and 2 marked, then OK starts the quiz.
    onModal = [](QDialog& dialog) {
        auto* selection = qobject_cast<Tausw*>(&dialog);
        if (!selection) return int(QDialog::Rejected);
        selection->SrcList->item(0)->setSelected(true);
        selection->SrcList->item(1)->setSelected(true);
        shoot(dialog, QStringLiteral("lektionenauswahl"));
        selection->OkBtn->click();
        return dialog.result();
    };
    Form1->Abfragen->trigger();
    onModal = {};
    settle();
    abfrag->Edit5->setPlainText(QStringLiteral("lieben"));
    shoot(*abfrag, QStringLiteral("abfrage"));
    abfrag->OkBtn->click();
    abfrag->BitBtn4->click();
    abfrag->Edit5->setPlainText(QStringLiteral("preisen"));
    abfrag->OkBtn->click();
    shoot(*abfrag, QStringLiteral("abfrage-falsch"));
    abfrag->BitBtn4->click();

    onModal = [](QDialog& dialog) {
        if (qobject_cast<Tauswertung*>(&dialog)) shoot(dialog, QStringLiteral("auswertung"));
        return int(QDialog::Accepted);
    };
    abfrag->CancelBtn->click();
    onModal = {};

    // Multiple choice.
    abfrag->Panel1->rbabmult->setChecked(true);
    onModal = [](QDialog& dialog) {
        auto* selection = qobject_cast<Tausw*>(&dialog);
        if (!selection) return int(QDialog::Rejected);
        selection->SrcList->item(1)->setSelected(true);
        selection->OkBtn->click();
        return dialog.result();
    };
    Form1->Abfragen->trigger();
    onModal = {};
    shoot(*abfrag, QStringLiteral("multiplechoice"));
    onModal = [](QDialog&) { return int(QDialog::Accepted); };
    abfrag->CancelBtn->click();
    onModal = {};
    abfrag->Panel1->rbabnorm->setChecked(true);

    // The quiz settings, page by page.
    onModal = [](QDialog& dialog) {
        if (&dialog != abfrag) return int(QDialog::Rejected);
        const char* pages[] = {"abfrageeinstellungen", "autokorrektur", "abfrage-sonstige"};
        for (int i = 0; i < 3; ++i) {
            abfrag->Panel1->TabbedNotebook1->setCurrentIndex(i);
            shoot(dialog, QLatin1String(pages[i]));
        }
        abfrag->Panel1->TabbedNotebook1->setCurrentIndex(0);
        return int(QDialog::Accepted);
    };
    Form1->Einstellungen1->trigger();
    onModal = {};
}

void toolPictures() {
    einf->Sonderzeicheneinfgen1Click();
    shoot(*einf, QStringLiteral("sonderzeichen"));
    einf->close();

    Form1->Suchen1->trigger();
    suchen->Edit1->setText(QStringLiteral("ere"));
    shoot(*suchen, QStringLiteral("suchen-kriterien"));
    suchen->btnStart->click();
    shoot(*suchen, QStringLiteral("suchen"));
    suchen->close();

    onModal = [](QDialog& dialog) {
        if (&dialog != druck) return int(QDialog::Rejected);
        // Two columns of the three lessons with their section captions.
        for (int i = 0; i < druck->llek->count(); ++i)
            druck->llek->item(i)->setSelected(true);
        druck->rb1->click();
        druck->cbus->setChecked(true);
        druck->Button2Click();
        settle(500);
        shoot(dialog, QStringLiteral("drucken"));
        druck->PageControl1->setCurrentIndex(2);
        shoot(dialog, QStringLiteral("drucken-layout"));
        druck->PageControl1->setCurrentIndex(3);
        druck->cbkartei->setChecked(true);
        druck->rbkrahmen->setChecked(true);
        druck->cbkfremdwort->setCurrentText(QStringLiteral("16"));
        druck->cbkueber->setCurrentText(QStringLiteral("14"));
        druck->Button2Click();
        settle(500);
        shoot(dialog, QStringLiteral("karteikarten"));
        druck->cbkartei->setChecked(false);
        druck->PageControl1->setCurrentIndex(0);
        return int(QDialog::Rejected);
    };
    Form1->Drucken->trigger();
    onModal = {};
    triggerAndShoot<Tfsort>(Form1->Sortieren1, QStringLiteral("sortieren"));
    triggerAndShoot<TExportform>(Form1->ExportinTextdatei1, QStringLiteral("export"));
    const QString backups = QDir::homePath() + QStringLiteral("/Sicherungen");
    onModal = [&](QDialog& dialog) {
        if (&dialog != sichern) return int(QDialog::Rejected);
        sichern->setTargetFolder(backups);
        sichern->lbds->item(0)->setSelected(true);
        shoot(dialog, QStringLiteral("sichern"));
        return int(QDialog::Rejected);
    };
    Form1->Zippen1->trigger();
    const QString table = CurrentTablePath;
    BackupDatabase(table, backups + QStringLiteral("/Beispiel.olx"), QDir::tempPath(), true,
                   QStringLiteral("3.2"));
    Form1->OpenVocabularyDatabase(table);
    onModal = [&](QDialog& dialog) {
        if (&dialog != zsichern) return int(QDialog::Rejected);
        zsichern->setFolder(backups);
        zsichern->refreshFiles();
        settle();
        if (zsichern->flb->count() > 0) zsichern->flb->item(0)->setSelected(true);
        shoot(dialog, QStringLiteral("zuruecksichern"));
        return int(QDialog::Rejected);
    };
    Form1->Unzippen1->trigger();
    onModal = {};
    triggerAndShoot<Tfopt>(Form1->Einstellungen2, QStringLiteral("einstellungen"));
    triggerAndShoot<Tdbeform>(Form1->Datenbank1, QStringLiteral("datenbankeinstellungen"));
    triggerAndShoot<TFormSO>(Form1->Sonderoptionen1, QStringLiteral("sondereinstellungen"));
}

// The universal import: a plain word list that the import does not know.
void importPicture() {
    const QString list = QCoreApplication::applicationDirPath() + QStringLiteral("/woerter.txt");
    QFile file(list);
    if (file.open(QIODevice::WriteOnly))
        file.write("pater\tVater\r\nmater\tMutter\r\nfilius\tSohn\r\nfilia\tTochter\r\n");
    file.close();
    onModal = [&](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            // The name typed into the dialog's name field, as a user would.
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(list);
            return int(QDialog::Accepted);
        }
        if (auto* create = qobject_cast<TDialogNeu*>(&dialog)) {
            create->EditName->setText(QStringLiteral("Import"));
            return 1;
        }
        if (&dialog == ImportForm) shoot(dialog, QStringLiteral("universalimport"));
        return int(QDialog::Rejected);
    };
    Form1->ImportvonTextdatei1->trigger();
    onModal = {};
}

} // namespace

// The pictures show the program folder and the home folder; both lie in a
// neutral place of their own, so that nothing of the person or machine that
// renders them shows. The tool runs itself again from there.
const QString Stage = QStringLiteral("/tmp/orvilex-hilfe");
const QString StageProgram = Stage + QStringLiteral("/Orvilex");
const QString StageHome = Stage + QStringLiteral("/anna");

int runStaged(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    QDir(Stage).removeRecursively();
    QDir().mkpath(StageProgram);
    for (const char* sub : {"Dokumente", "Schule", "Sicherungen"})
        QDir().mkpath(StageHome + QLatin1Char('/') + QLatin1String(sub));
    const QString copy = StageProgram + QStringLiteral("/orvilex_helppictures");
    if (!QFile::copy(self, copy)) return 1;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    qputenv("HOME", StageHome.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (StageHome + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (StageHome + QStringLiteral("/.local/share")).toLocal8Bit());
    const int code = QProcess::execute(copy, arguments);
    QDir(Stage).removeRecursively();
    return code;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget() !=
        StageProgram + QStringLiteral("/orvilex_helppictures"))
        return runStaged(argc, argv);
    platform::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvilex 3"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <picture folder> [<icon file>]\n", argv[0]);
        return 2;
    }
    pictureFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(pictureFolder);
    if (argc > 2) Tinfo2::programImage(128).save(QString::fromLocal8Bit(argv[2]));
    if (!prepareProgramFolder()) {
        std::fprintf(stderr, "cannot lay out the program folder\n");
        return 1;
    }
    platform::setModalHandler(showModal);
    platform::setMessageBoxHandler([](const platform::MessageBoxRequest& request) {
        std::printf("  [%s]\n", qPrintable(request.text.left(70).simplified()));
        return request.buttons == platform::Buttons::Ok ? platform::Answer::Ok
                                                        : platform::Answer::Yes;
    });

    createWindows({});
    Form1->OpenVocabularyDatabase(QCoreApplication::applicationDirPath() +
                                  QStringLiteral("/Latein/Beispiel.ol"));
    mainWindowPictures();
    quizPictures();
    toolPictures();
    importPicture();
    return failures == 0 ? 0 : 1;
}
