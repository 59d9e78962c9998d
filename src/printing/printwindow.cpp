// The print window's showing and closing; its other concerns are in the
// printwindow_*.cpp files beside this one.
#include "printing/printwindow.h"

#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "engine/query.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "printing/reportpreview.h"
#include "quiz/selectionoptions.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

Tdruck* druck = nullptr;

namespace {

constexpr int DefaultZoomItem = 3; // "35%"

} // namespace

Tdruck::Tdruck(QWidget* parent) : QDialog(parent), selection_(std::make_unique<engine::Query>()) {
    selection_->setRequestLive(false);
    buildLayout();
    connectHandlers();
    Panel2->hide();
}

Tdruck::~Tdruck() = default;

void Tdruck::connectHandlers() {
    connect(prev, &report::ReportPreview::previewChanged, this, [this] {
        if (!building_) sakt();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &Tdruck::Button2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tdruck::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tdruck::BitBtn1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &Tdruck::BitBtn4Click);
    connect(Button1, &QPushButton::clicked, this, &Tdruck::Button1Click);
    connect(sbzi, &QToolButton::clicked, this, &Tdruck::sbziClick);
    connect(sbzo, &QToolButton::clicked, this, &Tdruck::sbzoClick);
    connect(sbzz, &QToolButton::clicked, this, &Tdruck::sbzzClick);
    connect(sbz, &QToolButton::clicked, this, &Tdruck::sbzClick);
    connect(sbv, &QToolButton::clicked, this, &Tdruck::sbvClick);
    connect(sbvv, &QToolButton::clicked, this, &Tdruck::sbvvClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tdruck::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tdruck::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tdruck::SpeedButton3Click);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { zo(); });
    connect(ComboBox1->lineEdit(), &QLineEdit::editingFinished, this, [this] { zo(); });
    const QList<QRadioButton*> formats{rb0, rb1, rb2, rb3, rb4, rb5};
    for (int i = 0; i < formats.size(); ++i)
        connect(formats[i], &QRadioButton::clicked, this, [this, i] { formatClicked(i); });
}

// --- Showing and closing ---------------------------------------------------------

int Tdruck::showForPrint() {
    prepareShow();
    // The template is built once the window is on the screen, so that the
    // user sees its progress and can stop it.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) ud();
    });
    return platform::execModal(*this);
}

void Tdruck::FormShow() {
    prepareShow();
    ud();
}

void Tdruck::prepareShow() {
    cardMode_ = false;
    closePending_ = -1;
    PrintTextOptions.load(PrintTextOptionsFile());
    // Card measures that are missing or no numbers start from the defaults.
    double ignored = 0;
    const QString measures[] = {PrintTextOptions.kkBreite, PrintTextOptions.kkHoehe,
                                PrintTextOptions.kkAbstandh, PrintTextOptions.kkAbstandv};
    for (const QString& measure : measures) {
        if (!ParseCardMeasure(measure, &ignored)) {
            PrintTextOptions.kkBreite = QString::fromUtf8(CardWidthRange.defaultText);
            PrintTextOptions.kkHoehe = QString::fromUtf8(CardHeightRange.defaultText);
            PrintTextOptions.kkAbstandh = QString::fromUtf8(CardGapHRange.defaultText);
            PrintTextOptions.kkAbstandv = QString::fromUtf8(CardGapVRange.defaultText);
            break;
        }
    }
    PrintCardOptions.load(PrintCardOptionsFile());
    PrintSelectionOptions.load(PrintSelectionOptionsFile());

    comw->clear();
    comw->addItems(TSelectionOptionsRec::WordClassItems());
    loadControls();
    fillLessonList();

    ComboBox1->blockSignals(true);
    ComboBox1->setCurrentIndex(DefaultZoomItem);
    ComboBox1->blockSignals(false);
    sbzi->setEnabled(true);
    sbzo->setEnabled(true);
    pb->setValue(0);
    Panel2->show();
}

void Tdruck::fillLessonList() {
    llek->clear();
    llek->addItems(PrintLessonEntries(baumlist));
    const int current = baumlist.indexOfCode(CurrentLessonCode);
    if (current >= 0) {
        llek->setCurrentRow(current, QItemSelectionModel::ClearAndSelect);
        llek->scrollToItem(llek->item(current));
    }
}

void Tdruck::done(int result) {
    if (building_) {
        // The build stops at its next step and the window closes after it.
        closePending_ = result;
        cancelBuild_ = true;
        return;
    }
    FormClose();
    QDialog::done(result);
}

void Tdruck::FormClose() {
    Panel2->hide();
    storeControls();
    PrintCardOptions.save(PrintCardOptionsFile());
    PrintTextOptions.save(PrintTextOptionsFile());
    PrintSelectionOptions.save(PrintSelectionOptionsFile());
}

void Tdruck::BitBtn1Click() {
    reject();
}

void Tdruck::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown && event->modifiers() == Qt::NoModifier) {
        sbvClick();
        return;
    }
    if (event->key() == Qt::Key_PageUp && event->modifiers() == Qt::NoModifier) {
        sbzClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
