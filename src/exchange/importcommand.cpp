// The import command of the main window.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/recentdatabases.h"
#include "exchange/importstore.h"
#include "exchange/importwindow.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/codec.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/regularfile.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QStandardPaths>

namespace {

QString chooseImportFileWithDialog() {
    QFileDialog dialog(Form1, QStringLiteral("Öffnen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Textdateien (*.txt)"), QStringLiteral("Alle Dateien (*)")});
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return platform::chosenFile(dialog, platform::execModal(dialog));
}

const QString InvalidFileQuestion = QStringLiteral(
    "Die ausgewählte Datei ist ungültig. Wenn es sich hierbei um eine\r"
    "Vokabeldatei handelt, die nicht mit Orvilex erstellt wurde, können Sie versuchen,\r"
    "die Vokabeln mit Hilfe des Universalimports von Orvilex zu importieren.\r"
    "Achtung!! Hierbei kann es u.U. vorkommen, dass Ihr System abstürzt. Sichern\r"
    "Sie daher zuerst alle geöffneten Daten ab.\r"
    "\r"
    "Wollen Sie den Universalimport starten?");

void errorBox(const QString& text) {
    platform::showMessage(text, QStringLiteral("Fehler"), platform::Icon::Error);
}

// Describes the file through the universal import dialog; false when the user
// leaves it.
bool planUniversalImport(const QString& path, const QByteArray& bytes, ImportPlan& plan) {
    if (!ImportForm) return false;
    const ImportText text = DecodeImportFile(bytes, true);
    ImportForm->setFile(path, FirstLines(text.content, 4));
    ImportForm->FormShow();
    if (platform::execModal(*ImportForm) != 1) return false;

    plan.exportFile = false;
    plan.rules.separators = ImportForm->separators();
    plan.rules.codes = ImportForm->columnCodes();
    plan.rules.mask = {};
    for (const int code : plan.rules.codes)
        if (code >= 1 && code <= ExportFieldCount) plan.rules.mask[code] = true;
    plan.rules.convertLessonNumbers = ImportForm->chkLektion->isChecked();
    plan.rules.anyLineBreak = true;
    plan.files = {path};
    if (ImportForm->chkAlleDateien->isChecked()) {
        plan.lessonPerFile = true;
        const QStringList files = ImportForm->folderFiles();
        if (!files.isEmpty()) plan.files = files;
    }
    return true;
}

// What the user should know about records that did not come in as they were.
QString importNotice(const ImportSummary& summary, bool lessonPerFile) {
    QStringList lines;
    if (summary.incomplete > 0)
        lines << QStringLiteral("%1 Datensätze ohne Fremdwort und Übersetzung wurden übersprungen.")
                     .arg(summary.incomplete);
    if (summary.lessonsReplaced > 0)
        lines << QStringLiteral("%1 Vokabeln hatten keine gültige Lektionsangabe und wurden in "
                                "%2 übernommen.")
                     .arg(summary.lessonsReplaced)
                     .arg(lessonPerFile ? QStringLiteral("die Lektion ihrer Datei")
                                        : QStringLiteral("die Lektion ") + FirstLessonCode);
    if (!summary.skippedFiles.isEmpty()) {
        QStringList names;
        for (const QString& file : summary.skippedFiles)
            names << QFileInfo(file).fileName();
        lines << QStringLiteral("Diese Dateien enthalten keinen Text und wurden übersprungen: ") +
                     names.join(QStringLiteral(", "));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

std::function<QString()> ChooseImportFile = chooseImportFileWithDialog;

void ImportvonTextdatei1Click() {
    if (!Form1) return;
    const QString path = ChooseImportFile ? ChooseImportFile() : QString();
    if (path.isEmpty()) return;
    QFile file;
    QString openError;
    if (!platform::openRegularFile(file, path, &openError)) {
        errorBox(openError);
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    // The file is looked at before a database is created for it, so that a
    // file the user then declines leaves nothing behind.
    ImportPlan plan;
    const ExportDescriptor descriptor = ReadExportDescriptor(platform::codec::fromBytes(bytes));
    if (descriptor.valid) {
        plan.exportFile = true;
        plan.recordsStart = descriptor.recordsStart;
        plan.files = {path};
        plan.rules.codes = FieldCodesFromMask(descriptor.mask);
        plan.rules.mask = descriptor.mask;
        plan.rules.separators = descriptor.separators;
    } else {
        if (platform::showMessage(InvalidFileQuestion, QStringLiteral("Fehler"),
                                  platform::Icon::Error,
                                  platform::Buttons::YesNo) != platform::Answer::Yes)
            return;
        if (!planUniversalImport(path, bytes, plan)) return;
    }
    plan.rules.separators.publish();

    if (Form1->NeuClick2()) return;
    plan.rules.wordCharset = DatabaseOptions.wordCharset();
    plan.rules.translationCharset = DatabaseOptions.translationCharset();

    Form1->DisableDatabaseControls();
    Form1->SuppressFieldChange = true;
    if (Fortschritt) Fortschritt->start(100);
    const ImportSummary summary = RunImport(CurrentTablePath, plan, [](int done, int total) {
        if (!Fortschritt) return;
        if (Fortschritt->anzeige->maximum() != qMax(1, total))
            Fortschritt->anzeige->setRange(0, qMax(1, total));
        Fortschritt->setPosition(done);
    });
    if (Fortschritt) Fortschritt->finish();
    Form1->SuppressFieldChange = false;

    if (summary.ok && summary.words > 0) {
        baumlist.setLines(summary.lessonLines);
        CurrentLessonCode = summary.firstLesson;
    } else {
        // The new database keeps its first, empty word in its first lesson.
        baumlist.setLines({FirstLessonCode});
        CurrentLessonCode = FirstLessonCode;
    }
    if (!summary.listSaved) SaveLessonList(baumlist);
    RebuildLessonTree(Form1->lekbaum, baumlist);
    Form1->EnableDatabaseControls();
    // No settings dialog follows an import: the new database is recent now.
    AddRecentDatabase(CurrentTablePath, CurrentDatabaseName, CurrentLanguage);
    SelectCurrentLessonNode(Form1->lekbaum);
    Form1->ShowWordTypeAndDifficulty();
    Form1->UpdateNavButtons();
    Form1->anzeintrag->setText(QString::number(Form1->Query->recordCount()));

    if (!summary.ok) {
        errorBox(QStringLiteral("Der Import wurde abgebrochen.\n") + summary.error +
                 QStringLiteral("\nEs wurden keine Vokabeln übernommen; die neue Datenbank \"") +
                 CurrentDatabaseName + QStringLiteral("\" ist leer."));
    } else if (summary.words == 0) {
        platform::showMessage(
            QStringLiteral("Die Datei enthält keine Vokabeln, die importiert werden konnten. "
                           "Die neue Datenbank \"") +
                CurrentDatabaseName + QStringLiteral("\" ist leer."),
            QStringLiteral("Information"), platform::Icon::Information);
    } else if (const QString notice = importNotice(summary, plan.lessonPerFile);
               !notice.isEmpty()) {
        platform::showMessage(
            QStringLiteral("%1 Vokabeln wurden importiert.\n").arg(summary.words) + notice,
            QStringLiteral("Information"), platform::Icon::Information);
    }
}
