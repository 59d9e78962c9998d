// The export command of the main window and of the search window.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "engine/query.h"
#include "exchange/exportfile.h"
#include "exchange/exportwindow.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/ownerwindow.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>

namespace {

QString chooseExportFileWithDialog(int filterIndex) {
    // In front of the window that asked for the file, the search window too.
    QWidget* owner = platform::ownerWindow();
    QFileDialog dialog(owner ? owner : Form1, QStringLiteral("Speichern unter"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The command asks about an existing file itself, once.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters{QStringLiteral("Textdateien (*.txt)"),
                              QStringLiteral("RTF - Rich Text Format (*.rtf)")};
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(filterIndex - 1, filters.first()));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return platform::chosenFile(dialog, platform::execModal(dialog));
}

// The main window is put back on its current lesson however the export ends.
class MainWindowRestorer {
  public:
    MainWindowRestorer() {
        Form1->DisableDatabaseControls();
        Form1->SuppressFieldChange = true;
    }
    ~MainWindowRestorer() {
        if (Fortschritt) Fortschritt->finish();
        Form1->SuppressFieldChange = false;
        if (CurrentTablePath.isEmpty()) return;
        try {
            Form1->EnableDatabaseControls();
            Form1->ShowWordTypeAndDifficulty();
            Form1->UpdateNavButtons();
        } catch (const std::exception&) {
            // Reopening reports its own failure the next time the lesson is opened.
        }
    }
    MainWindowRestorer(const MainWindowRestorer&) = delete;
    MainWindowRestorer& operator=(const MainWindowRestorer&) = delete;
};

std::array<QString, 6> formCaptions() {
    return {Form1->LabelPraeFut->text(),      Form1->LabelPerAor->text(),
            Form1->LabelPerfekt->text(),      Form1->LabelPerfektPassiv->text(),
            Form1->LabelAoristPassiv->text(), Form1->LabelFuturPassiv->text()};
}

// Opens the words an export writes; for an ID list `order` gets their rows in
// the order of the list.
void openExportRows(engine::Query& query, const ExportRows& rows, QVector<int>& order) {
    query.setRequestLive(false);
    switch (rows.kind) {
    case ExportRows::Kind::WholeTable:
        query.setSql(WholeTableExportSql(CurrentTablePath));
        break;
    case ExportRows::Kind::Statement:
        query.setSql(rows.sql);
        break;
    case ExportRows::Kind::Ids:
        query.setSql(IdListExportSql(CurrentTablePath, rows.ids));
        break;
    }
    query.open();
    if (rows.kind == ExportRows::Kind::Ids) order = RowsOfIds(query, rows.ids);
}

int countUnreadableValues(const ExportRows& rows, const ExportSettings& settings) {
    if (settings.rtf) return 0;
    // The word being typed is exported too (closing the main query stores
    // it), so it is counted as typed.
    try {
        if (Form1->Query->isActive() && Form1->Query->state() != engine::Query::State::Browse)
            Form1->Query->post();
        engine::Query query;
        QVector<int> order;
        openExportRows(query, rows, order);
        return CountUnreadableExportValues(query, settings,
                                           rows.kind == ExportRows::Kind::Ids ? &order : nullptr);
    } catch (const platform::Error&) {
        // Words that cannot be read cannot be exported either: the export
        // reports that itself.
        return 0;
    }
}

RtfFont tableFont(const QString& name, int charset, int size) {
    return {name, charset, size};
}

} // namespace

std::function<QString(int)> ChooseExportFile = chooseExportFileWithDialog;

void ExportinTextdatei1Click() {
    ExportWords(ExportRows::wholeTable());
}

void ExportWords(const ExportRows& rows) {
    if (!Form1 || !Exportform || CurrentTablePath.isEmpty() || !Form1->Query->isActive()) {
        platform::showMessage(QStringLiteral("Bitte öffnen Sie zuerst die gewünschte Datenbank"),
                              QStringLiteral("Hinweis"), platform::Icon::Information);
        return;
    }

    Exportform->prepare(formCaptions(), !Form1->PanelGre->isHidden());
    Exportform->countUnreadableValues = [rows](const ExportSettings& chosen) {
        return countUnreadableValues(rows, chosen);
    };
    const int confirmed = platform::execModal(*Exportform);
    Exportform->countUnreadableValues = nullptr;
    if (confirmed != 1) return;
    ExportSettings settings = Exportform->settings();
    settings.fonts[0] = tableFont(DatabaseOptions.TableWordFont, DatabaseOptions.wordCharset(),
                                  DatabaseOptions.TableWordFontSize);
    settings.fonts[1] =
        tableFont(DatabaseOptions.TableTranslationFont, DatabaseOptions.translationCharset(),
                  DatabaseOptions.TableTranslationFontSize);

    const QString chosen = ChooseExportFile ? ChooseExportFile(settings.rtf ? 2 : 1) : QString();
    if (chosen.isEmpty()) return;
    const QString path = ExportFileName(chosen, settings.rtf);
    if (QFileInfo::exists(path) &&
        platform::showMessage(QStringLiteral("Datei schon vorhanden. Überschreiben?"),
                              QStringLiteral("Information"), platform::Icon::Question,
                              platform::Buttons::YesNo) != platform::Answer::Yes)
        return;

    ExportOutcome outcome;
    {
        // Closing the main query stores the word being typed, so it is exported too.
        MainWindowRestorer restorer;
        try {
            engine::Query query;
            QVector<int> order;
            openExportRows(query, rows, order);
            const int count =
                rows.kind == ExportRows::Kind::Ids ? int(order.size()) : query.recordCount();
            if (Fortschritt) Fortschritt->start(count);
            outcome = WriteExportFile(path, query, settings, CurrentTablePath, ExportDateText(),
                                      rows.kind == ExportRows::Kind::Ids ? &order : nullptr,
                                      [](int done) {
                                          if (Fortschritt && (done & 63) == 0)
                                              Fortschritt->setPosition(done);
                                      });
        } catch (const platform::Error& e) {
            outcome.ok = false;
            outcome.error = QStringLiteral("Die Vokabeln konnten nicht gelesen werden:\n") +
                            e.message() + QStringLiteral("\nDer Export wurde nicht gespeichert.");
        }
    }
    if (!outcome.ok)
        platform::showMessage(outcome.error, QStringLiteral("Fehler"), platform::Icon::Error);
}
