#include "search/sortwindow.h"

#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "quiz/accentstripping.h"
#include "search/sortlogic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tfsort* fsort = nullptr;

namespace {

QStringList sortKeyItems() {
    return {QStringLiteral("Alphabet Fremdwort"), QStringLiteral("Alphabet Übersetzung"),
            QStringLiteral("Alphabet Bemerkungen"), QStringLiteral("Wortart"),
            QStringLiteral("Statistik")};
}

} // namespace

Tfsort::Tfsort(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sortieren"));
    auto* outer = new QVBoxLayout(this);

    auto* modeBox = new QGroupBox(QStringLiteral("Art der Sortierung"), this);
    auto* mode = new QGridLayout(modeBox);
    rbprim = new QRadioButton(QStringLiteral("Komplett sortieren (Lektionen neu zuordnen) nach"),
                              modeBox);
    cbprim = new QComboBox(modeBox);
    cbprim->addItems(sortKeyItems());
    Label2 = new QLabel(QStringLiteral("Lektionengröße:"), modeBox);
    cbleksize = new QComboBox(modeBox);
    cbleksize->addItem(QStringLiteral("intuitive/logische Abschnitte"));
    for (int size : {5, 10, 15, 20, 25, 30, 40, 50, 70, 100, 150, 200})
        cbleksize->addItem(QString::number(size) + QStringLiteral(" Vokabeln"));
    cbleksize->setCurrentIndex(4);
    Label2->setBuddy(cbleksize);
    rbsek = new QRadioButton(QStringLiteral("Lektionenintern sortieren (Lektionen bestehen lassen)"),
                             modeBox);
    cbsek = new QComboBox(modeBox);
    cbsek->addItems(sortKeyItems());
    rbsek->setChecked(true);
    mode->addWidget(rbprim, 0, 0, 1, 2);
    mode->addWidget(cbprim, 1, 1);
    mode->addWidget(Label2, 2, 0, Qt::AlignRight);
    mode->addWidget(cbleksize, 2, 1);
    mode->addWidget(rbsek, 3, 0, 1, 2);
    mode->addWidget(cbsek, 4, 1);
    mode->setColumnMinimumWidth(0, 120);
    mode->setColumnStretch(1, 1);
    outer->addWidget(modeBox);

    cbab = new QCheckBox(QStringLiteral("Absteigend sortieren"), this);
    outer->addWidget(cbab);
    auto* backupRow = new QHBoxLayout;
    cbsicher = new QCheckBox(QStringLiteral("Sicherungskopie der alten Datenbank anlegen:"), this);
    cbsicher->setChecked(true);
    Edit1 = new QLineEdit(this);
    backupRow->addWidget(cbsicher);
    backupRow->addWidget(Edit1, 1);
    outer->addLayout(backupRow);
    outer->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    outer->addLayout(buttons);

    cbprim->setEnabled(false);
    cbleksize->setEnabled(false);
    Label2->setEnabled(false);
    connect(rbprim, &QRadioButton::toggled, this, &Tfsort::rbprimClick);
    connect(cbsicher, &QCheckBox::toggled, Edit1, &QLineEdit::setEnabled);
    connect(Button1, &QPushButton::clicked, this, &Tfsort::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { done(2); });
    resize(470, 300);
}

void Tfsort::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void Tfsort::FormShow() {
    if (cbprim->currentIndex() < 0) cbprim->setCurrentIndex(0);
    if (cbsek->currentIndex() < 0) cbsek->setCurrentIndex(0);
    if (cbleksize->currentIndex() < 0) cbleksize->setCurrentIndex(4);
    Edit1->setText(sorting::FreeBackupName(CurrentDatabaseName));
    rbprimClick();
}

void Tfsort::rbprimClick() {
    const bool full = rbprim->isChecked();
    cbleksize->setEnabled(full);
    cbprim->setEnabled(full);
    Label2->setEnabled(full);
    cbsek->setEnabled(!full);
}

void Tfsort::Button1Click() {
    if (!Form1 || CurrentTablePath.isEmpty()) {
        done(2);
        return;
    }
    sorting::SortOptions options;
    options.full = rbprim->isChecked();
    options.key = options.full ? cbprim->currentIndex() : cbsek->currentIndex();
    options.lessonSize = sorting::LessonSizeOfItem(cbleksize->currentIndex());
    options.descending = cbab->isChecked();
    options.codepage1253 = WordFontCharset() == greekaccents::GreekCharset;
    options.greek = DatabaseOptions.WordFont == QLatin1String(greekaccents::GreekFontName) ||
                    options.codepage1253;
    options.backup = cbsicher->isChecked();
    const QString name = Edit1->text().trimmed();
    if (options.backup &&
        (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))) {
        platform::showMessage(QStringLiteral("Bitte einen gültigen Namen für die Sicherungskopie "
                                             "eingeben."),
                              QStringLiteral("Fehler"), platform::Icon::Error);
        return;
    }
    options.backupBase = sorting::BackupBase(name);
    options.workBase = sorting::WorkTableBase();

    if (options.full && !options.backup &&
        platform::showMessage(QStringLiteral("Die Lektioneneinteilung und alle "
                                             "Lektionenbezeichnungen werden dabei überschrieben. "
                                             "Fortfahren?"),
                              QStringLiteral("Achtung"), platform::Icon::Warning,
                              platform::Buttons::YesNo) != platform::Answer::Yes)
        return;

    const WordCopyProgress progress = ProgressInWindow();
    Form1->SuppressFieldChange = true;
    sorting::SortOutcome outcome;
    try {
        outcome = sorting::SortOpenDatabase(*Form1->Query, baumlist, options, progress);
    } catch (...) {
        Form1->SuppressFieldChange = false;
        if (Fortschritt) Fortschritt->finish();
        RebuildLessonTree(Form1->lekbaum, baumlist);
        SelectCurrentLessonNode(Form1->lekbaum);
        done(2);
        throw;
    }
    Form1->SuppressFieldChange = false;
    RebuildLessonTree(Form1->lekbaum, baumlist);
    SelectCurrentLessonNode(Form1->lekbaum);
    if (Form1->Query->isActive())
        Form1->anzeintrag->setText(QString::number(Form1->Query->recordCount()));
    Form1->ShowWordTypeAndDifficulty();
    Form1->UpdateNavButtons();
    if (!outcome.done) {
        platform::showMessage(outcome.error, QStringLiteral("Fehler"), platform::Icon::Error);
        done(2);
        return;
    }
    done(1);
}
