#include "exchange/backupwindow.h"

#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/opendialog.h"
#include "exchange/backupfolders.h"
#include "exchange/backuprun.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/mounts.h"
#include "platform/paths.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>

Tsichern* sichern = nullptr;

namespace {

QToolButton* helpButton(QWidget* parent, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QStringLiteral("?"));
    button->setToolTip(QStringLiteral("Hilfe"));
    button->setFixedSize(22, 22);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Creates the folder, or tells the user it could not be created.
bool createFolder(const QString& folder) {
    const QString parent = QFileInfo(folder).path();
    if (!platform::askFileSystem(parent).answered()) {
        platform::showMessage(platform::noAnswerMessage(parent), QStringLiteral("Fehler"),
                              platform::Icon::Error);
        return false;
    }
    if (platform::ensureFolder(folder)) return true;
    platform::showMessage(QStringLiteral("Der Ordner \"%1\" konnte nicht erstellt werden.")
                              .arg(QDir::toNativeSeparators(folder)),
                          QStringLiteral("Fehler"), platform::Icon::Error);
    return false;
}

void scaleFont(QWidget* widget, double factor) {
    QFont font = widget->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(int(std::nearbyint(font.pixelSize() * factor)));
    widget->setFont(font);
}

} // namespace

void ScaleWidget(QWidget* widget, double factor) {
    if (!widget || factor <= 0) return;
    // Controls that set a font of their own do not follow the window's.
    const QList<QWidget*> children = widget->findChildren<QWidget*>();
    QList<QWidget*> ownFont;
    for (QWidget* child : children)
        if (child->testAttribute(Qt::WA_SetFont)) ownFont << child;
    scaleFont(widget, factor);
    for (QWidget* child : ownFont)
        scaleFont(child, factor);
    for (QWidget* child : children) {
        if (child->isWindow() || child->minimumSize() != child->maximumSize()) continue;
        const QSize size = child->minimumSize();
        child->setFixedSize(int(std::nearbyint(size.width() * factor)),
                            int(std::nearbyint(size.height() * factor)));
    }
}

Tsichern::Tsichern(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sichern"));
    buildLayout();
    disableDatabaseControls = [] {
        if (Form1) Form1->DisableDatabaseControls();
    };
    enableDatabaseControls = [] {
        if (Form1) Form1->EnableDatabaseControls();
    };
    FormCreate();
}

void Tsichern::buildLayout() {
    setWindowTitle(QStringLiteral("Datenbank sichern"));

    Label1 = new QLabel(QStringLiteral("Zu sichernde Datenbanken wählen:"), this);
    lbds = new QListWidget(this);
    lbds->setSelectionMode(QAbstractItemView::MultiSelection);
    Label1->setBuddy(lbds);

    Label2 = new QLabel(QStringLiteral("Laufwerk und Ordner zum Sichern wählen:"), this);
    drive = new QComboBox(this);
    dlb1 = new QTreeView(this);
    folderLabel = FolderPathLabel(this);
    picker_ = new DriveFolderPicker(drive, dlb1, this);

    Bneu = new QPushButton(QStringLiteral("Neuen &Ordner erstellen"), this);
    eo = new QPushButton(QStringLiteral("Ordner mit &Datum erstellen"), this);
    SpeedButton1 = helpButton(this, "SpeedButton1");
    SpeedButton9 = helpButton(this, "SpeedButton9");
    BitBtn1 = new QPushButton(QStringLiteral("&Sichern"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), this);

    auto* folderButtons = new QGridLayout;
    folderButtons->addWidget(Bneu, 0, 0);
    folderButtons->addWidget(SpeedButton1, 0, 1);
    folderButtons->addWidget(eo, 1, 0);
    folderButtons->addWidget(SpeedButton9, 1, 1);
    folderButtons->setRowStretch(2, 1);

    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(drive);
    folderColumn->addWidget(dlb1, 1);
    folderColumn->addWidget(folderLabel);
    auto* folderRow = new QHBoxLayout;
    folderRow->addLayout(folderColumn, 1);
    folderRow->addLayout(folderButtons);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lbds, 1);
    layout->addSpacing(6);
    layout->addWidget(Label2);
    layout->addLayout(folderRow, 2);
    layout->addLayout(buttons);

    // Shown in front of everything while the archives are written.
    Panel2 = ProgressPanel(this, "Panel2");
    lnam = new QLabel(Panel2);
    onamm = new QLabel(Panel2);
    onamm->setWordWrap(true);
    auto* panelLayout = new QGridLayout(Panel2);
    panelLayout->addWidget(new QLabel(QStringLiteral("Sichern: "), Panel2), 0, 0);
    panelLayout->addWidget(lnam, 0, 1);
    panelLayout->addWidget(new QLabel(QStringLiteral("Im Ordner:"), Panel2), 1, 0, Qt::AlignTop);
    panelLayout->addWidget(onamm, 1, 1);
    panelLayout->setColumnStretch(1, 1);
    Panel2->hide();

    connect(picker_, &DriveFolderPicker::folderChanged, this, [this](const QString& folder) {
        folderLabel->setText(QDir::toNativeSeparators(folder));
        onamm->setText(QDir::toNativeSeparators(folder));
    });
    connect(Bneu, &QPushButton::clicked, this, &Tsichern::BneuClick);
    connect(eo, &QPushButton::clicked, this, &Tsichern::eoClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tsichern::SpeedButton1Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &Tsichern::SpeedButton9Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tsichern::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tsichern::BitBtn2Click);

    setTargetFolder(QDir::homePath());
    resize(500, 560);
}

// --- creation and scaling -------------------------------------------------------

void Tsichern::FormCreate() {
    CreateBackupTempFolder();
    if (!GeneralOptions.sca) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    ScaleWindows(ComputeStartupScaling(screen->size(), screen->virtualSize()));
}

void Tsichern::ScaleWindows(const StartupScaling& scaling) {
    if (scaling.scaleMain && Form1) {
        Form1->setResizeAllowed(true);
        ScaleWidget(Form1, scaling.mainFactor);
        Form1->resize(scaling.mainSize);
        Form1->setResizeAllowed(false);
    }
    pendingQuizHeight_ = scaling.scaleQuiz ? scaling.desktopHeight : 0;
}

void Tsichern::ApplyQuizScaling(QWidget* quiz) {
    if (!quiz || pendingQuizHeight_ <= 0) return;
    ScaleWidget(quiz, QuizScaleFactor(pendingQuizHeight_, quiz->height()));
    pendingQuizHeight_ = 0;
}

// --- showing -------------------------------------------------------------------

int Tsichern::execute() {
    FormShow();
    return platform::execModal(*this);
}

void Tsichern::FormShow() {
    QStringList shown;
    if (dateiladen) {
        dateiladen->FormPaint();
        dbnames = dateiladen->dbnames;
        for (int i = 0; i < dateiladen->namenliste->count(); ++i)
            shown << dateiladen->namenliste->item(i)->text();
    } else {
        const DatabaseListing listing = ListDatabases(VocabularyRoot());
        dbnames = listing.dbnames;
        shown = listing.namenliste;
    }
    lbds->clear();
    lbds->addItems(shown);
    picker_->refreshDrives();
    if (!platform::isAnsweringFolder(targetFolder())) setTargetFolder(QDir::homePath());
}

QString Tsichern::targetFolder() const {
    return picker_->folder();
}

void Tsichern::setTargetFolder(const QString& folder) {
    picker_->setFolder(folder);
}

// --- commands ------------------------------------------------------------------

void Tsichern::BitBtn1Click() {
    if (disableDatabaseControls) disableDatabaseControls();
    ResultText.clear();
    cleartemp();
    QStringList paths;
    for (int row = 0; row < lbds->count(); ++row)
        if (lbds->item(row)->isSelected() && row < dbnames.size()) paths << dbnames.at(row);
    if (paths.isEmpty()) {
        platform::showMessage(QStringLiteral("Bitte erst Datenbanken in obiger Liste markieren."),
                              QStringLiteral("Information"), platform::Icon::Information);
    } else {
        onamm->setText(QDir::toNativeSeparators(targetFolder()));
        ResultText = RunBackups(paths, targetFolder(), [this](const QString& archiveName) {
            showProgressPanel(archiveName);
        });
        Panel2->hide();
        platform::showMessage(ResultText);
    }
    if (!CurrentTablePath.isEmpty() && !baumlist.isEmpty() && enableDatabaseControls)
        enableDatabaseControls();
}

void Tsichern::showProgressPanel(const QString& archiveName) {
    lnam->setText(archiveName);
    ShowProgressPanel(Panel2, this, 380);
}

void Tsichern::BitBtn2Click() {
    reject();
}

void Tsichern::BneuClick() {
    QInputDialog input(this);
    input.setWindowTitle(QStringLiteral("Neuen Ordner erstellen"));
    input.setLabelText(QStringLiteral("Bitte Namen eingeben:"));
    input.setOkButtonText(QStringLiteral("OK"));
    input.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (platform::execModal(input) != QDialog::Accepted) return;
    const QString name = input.textValue().trimmed();
    if (name.isEmpty()) return;
    if (name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        platform::showMessage(QStringLiteral("Der Ordnername \"%1\" ist nicht zulässig. Er darf "
                                             "die Zeichen / und \\ nicht enthalten.")
                                  .arg(name),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    const QString folder = platform::joinPath(targetFolder(), name);
    if (createFolder(folder)) setTargetFolder(folder);
}

void Tsichern::eoClick() {
    const QString folder =
        platform::joinPath(targetFolder(), DatedBackupFolderName(QDate::currentDate()));
    if (createFolder(folder)) setTargetFolder(folder);
}

void Tsichern::SpeedButton9Click() {
    platform::showMessage(QStringLiteral("In dem links gewählten Verzeichnis wird ein Ordner mit "
                                         "dem Namen \"Orvilex Sicherung (<#Datum#>)\" angelegt."),
                          QStringLiteral("Information"), platform::Icon::Information);
}

void Tsichern::SpeedButton1Click() {
    platform::showMessage(QStringLiteral("In dem links gewählten Verzeichnis wird ein neues "
                                         "erstellt (nach Abfrage vom Namen, den es bekommt)."),
                          QStringLiteral("Information"), platform::Icon::Information);
}

void Tsichern::cleartemp() {
    ClearBackupTempFolder();
}

void Tsichern::removeTempFolder() {
    RemoveBackupTempFolder();
}
