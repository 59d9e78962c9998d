#include "mainwindow/progresswindows.h"

#include "database/lessonoperations.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <cmath>

TFortschritt* Fortschritt = nullptr;
Tfosc* fosc = nullptr;

namespace {

// A passive window: no title-bar buttons, so a long loop cannot be cut off
// half-way by closing its progress window.
constexpr Qt::WindowFlags PassiveWindow =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// The window has just been shown: let the window system map and paint it
// before the caller's loop keeps the event loop from running. User input is
// left queued so that nothing else starts meanwhile.
void bringOnScreen(QWidget* window) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window->repaint();
}

} // namespace

TFortschritt::TFortschritt(QWidget* parent)
    : QDialog(parent, PassiveWindow | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Fortschritt"));
    setWindowTitle(QStringLiteral("Fortschritt"));
    setModal(false);

    anzeige = new QProgressBar(this);
    anzeige->setObjectName(QStringLiteral("anzeige"));
    anzeige->setRange(0, 100);
    anzeige->setValue(0);
    anzeige->setTextVisible(false);
    anzeige->setFixedHeight(16);
    anzeige->setMinimumWidth(150);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 12, 24, 12);
    layout->addWidget(anzeige);
    setFixedSize(qMax(196, sizeHint().width()), qMax(39, sizeHint().height()));
}

void TFortschritt::start(int steps) {
    // A range of 0..0 would turn the bar into a busy indicator; no steps
    // show an empty bar instead.
    anzeige->setRange(0, qMax(1, steps));
    anzeige->setValue(0);
    show();
    raise();
    bringOnScreen(this);
}

void TFortschritt::setPosition(int position) {
    // QProgressBar repaints by itself only when the change is visible, which
    // keeps a loop over many thousand records cheap.
    anzeige->setValue(qBound(anzeige->minimum(), position, anzeige->maximum()));
}

void TFortschritt::step() {
    setPosition(anzeige->value() + 1);
}

void TFortschritt::finish() {
    close();
}

Tfosc::Tfosc(QWidget* parent) : QDialog(parent, PassiveWindow) {
    setObjectName(QStringLiteral("fosc"));
    setWindowTitle(QStringLiteral("Fortschrittsanzeige"));
    setModal(false);

    fs = new QProgressBar(this);
    fs->setObjectName(QStringLiteral("fs"));
    fs->setRange(0, 200);
    fs->setValue(0);
    fs->setTextVisible(false);
    fs->setFixedHeight(16);
    fs->setMinimumWidth(281);

    Label1 = new QLabel(QStringLiteral("Initialisieren der Vokabeln für den Abfragemodus:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("0 %"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for "100 %" so the text does not move the layout while it grows.
    Label2->setMinimumWidth(Label2->fontMetrics().horizontalAdvance(QStringLiteral("100 %  ")));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(6);
    layout->addWidget(fs, 0, 0, 1, 2);
    layout->addWidget(Label1, 1, 0);
    layout->addWidget(Label2, 1, 1);
    setFixedSize(qMax(301, sizeHint().width()), qMax(49, sizeHint().height()));
}

void Tfosc::start() {
    show();
    raise();
    bringOnScreen(this);
}

void Tfosc::setProgress(int done, int total) {
    if (total <= 0) return;
    const double share = static_cast<double>(qBound(0, done, total)) / total;
    fs->setValue(static_cast<int>(std::nearbyint(200.0 * share)));
    Label2->setText(QString::number(static_cast<int>(std::nearbyint(100.0 * share))) +
                    QStringLiteral(" %  "));
    Label2->repaint();
}

void Tfosc::finish() {
    close();
    Label2->setText(QStringLiteral("0 %  "));
    fs->setValue(0);
}

WordCopyProgress ProgressInWindow() {
    WordCopyProgress progress;
    progress.start = [](int steps) {
        if (Fortschritt) Fortschritt->start(steps);
    };
    progress.advance = [](int position) {
        if (Fortschritt) Fortschritt->setPosition(position);
    };
    progress.finish = [] {
        if (Fortschritt) Fortschritt->finish();
    };
    return progress;
}
