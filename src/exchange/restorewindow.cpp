#include "exchange/restorewindow.h"

#include "database/currentdatabase.h"
#include "database/opendialog.h"
#include "exchange/backupfolders.h"
#include "exchange/oldbackup.h"
#include "exchange/restorerun.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/mounts.h"
#include "platform/paths.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

Tzsichern* zsichern = nullptr;

namespace {

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(platform::normalizePath(path)).absoluteFilePath());
}

} // namespace

Tzsichern::Tzsichern(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("zsichern"));
    buildLayout();
    openDatabase = [](const QString& path) {
        if (Form1) Form1->OpenVocabularyDatabase(path);
    };
}

void Tzsichern::buildLayout() {
    setWindowTitle(QStringLiteral("Datenbank(en) zurücksichern (entpacken)"));

    Label1 = new QLabel(QStringLiteral("Bitte Dateien zum Zurücksichern auswählen:"), this);
    DriveComboBox1 = new QComboBox(this);
    dlb = new QTreeView(this);
    picker_ = new DriveFolderPicker(DriveComboBox1, dlb, this);
    folderLabel = FolderPathLabel(this);
    flb = new QListWidget(this);
    flb->setSelectionMode(QAbstractItemView::MultiSelection);
    Label1->setBuddy(flb);
    BitBtn1 = new QPushButton(QStringLiteral("&Zurücksichern"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), this);

    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(DriveComboBox1);
    folderColumn->addWidget(dlb, 1);
    folderColumn->addWidget(folderLabel);
    auto* row = new QHBoxLayout;
    row->addLayout(folderColumn, 1);
    row->addWidget(flb, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);

    Panel1 = ProgressPanel(this, "Panel1");
    LZSA = new QLabel(Panel1);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->addWidget(new QLabel(QStringLiteral("Zurücksichern:"), Panel1));
    panelLayout->addWidget(LZSA, 1);
    Panel1->hide();

    // The files are listed when the window is shown: made at start-up, it
    // reads no folder.
    picker_->setFolder(QDir::homePath());
    folderLabel->setText(QDir::toNativeSeparators(folder()));
    connect(picker_, &DriveFolderPicker::folderChanged, this, &Tzsichern::refreshFiles);
    connect(BitBtn1, &QPushButton::clicked, this, &Tzsichern::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tzsichern::BitBtn2Click);

    resize(600, 420);
}

int Tzsichern::execute() {
    FormShow();
    return platform::execModal(*this);
}

void Tzsichern::FormShow() {
    picker_->refreshDrives();
    if (!platform::isAnsweringFolder(folder())) setFolder(QDir::homePath());
    refreshFiles();
}

QString Tzsichern::folder() const {
    return picker_->folder();
}

void Tzsichern::setFolder(const QString& folder) {
    picker_->setFolder(folder);
    refreshFiles();
}

void Tzsichern::refreshFiles() {
    flb->clear();
    folderLabel->setText(QDir::toNativeSeparators(folder()));
    if (!platform::askFileSystem(folder()).answered()) {
        folderLabel->setText(folderLabel->text() + QStringLiteral(" (antwortet nicht)"));
        return;
    }
    // Only the names that match are looked at more closely: a mount point in
    // the folder that does not answer is never touched.
    const QStringList files = QDir(folder()).entryList(
        {QStringLiteral("*.olz"), QStringLiteral("*.zip"), QStringLiteral("*.olx")},
        QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    flb->addItems(files);
}

void Tzsichern::BitBtn2Click() {
    reject();
}

void Tzsichern::BitBtn1Click() {
    ResultText.clear();
    QStringList chosen;
    for (int row = 0; row < flb->count(); ++row)
        if (flb->item(row)->isSelected()) chosen << flb->item(row)->text();
    if (chosen.isEmpty()) {
        platform::showMessage(QStringLiteral("Bitte erst Dateien in der Liste markieren."),
                              QStringLiteral("Information"), platform::Icon::Information);
        return;
    }
    int code = 0;
    for (const QString& file : chosen) {
        const QString path = platform::joinPath(folder(), file);
        const QString displayName = file.left(file.size() - 4);
        if (IsBackupArchive(path)) {
            showProgressPanel(displayName);
            neu_entzip(ResultText, code, displayName, path);
        } else {
            ResultText += entzip(path);
        }
    }
    Panel1->hide();
    refreshFiles();
    platform::showMessage(ResultText);
}

void Tzsichern::showProgressPanel(const QString& name) {
    LZSA->setText(name);
    ShowProgressPanel(Panel1, this, 360);
}

void Tzsichern::neu_entzip(QString& text, int& code, const QString& displayName,
                           const QString& archivePath) {
    const RestoreOutcome outcome = RestoreArchive(archivePath, displayName);
    text += outcome.line;
    if (outcome.code != 0) code = outcome.code;
    afterRestore(outcome.files);
}

QString Tzsichern::neu_entzip(const QString& archivePath) {
    const QString file = QFileInfo(platform::normalizePath(archivePath)).fileName();
    QString text;
    int code = 0;
    neu_entzip(text, code, file.left(file.size() - 4), archivePath);
    return text;
}

QString Tzsichern::entzip(const QString& archivePath, bool openRestored) {
    repaint();
    const QString file = QFileInfo(platform::normalizePath(archivePath)).fileName();
    showProgressPanel(file.left(file.size() - 4));
    const OldBackupOutcome outcome = RestoreOldBackup(archivePath, file.left(file.size() - 4));
    Panel1->hide();
    refreshFiles();
    afterRestore(outcome.files);
    if (openRestored && outcome.restored && openDatabase) {
        for (const char* extension : {".db", ".ol"}) {
            const QString table = outcome.targetBase + QLatin1String(extension);
            if (QFileInfo::exists(table)) openDatabase(table);
        }
    }
    return outcome.line;
}

void Tzsichern::afterRestore(const QStringList& files) {
    if (files.isEmpty()) return;
    if (dateiladen) dateiladen->FormPaint();
    // The open database was replaced (or removed) under the main window: show
    // it anew, or say that it is gone.
    if (CurrentTablePath.isEmpty() || !openDatabase) return;
    const QString open = absolute(CurrentTablePath);
    bool replaced = !QFileInfo::exists(open);
    for (const QString& file : files)
        replaced = replaced || absolute(file) == open;
    if (replaced) openDatabase(CurrentTablePath);
}
