#include "platform/formwidgets.h"

#include "platform/messagebox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QToolButton>

namespace platform {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption) {
    return named(new QRadioButton(caption, parent), name);
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title) {
    return named(new QGroupBox(title, parent), name);
}

QToolButton* helpButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = named(new QToolButton(parent), name);
    button->setText(QStringLiteral("?"));
    button->setToolTip(QStringLiteral("Hilfe zu dieser Einstellung"));
    button->setFixedSize(20, 20);
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QToolButton::clicked, parent, [text] {
        showMessage(text, QStringLiteral("Information"), Icon::Information);
    });
    return button;
}

QGridLayout* optionGrid(QGroupBox* box, int verticalSpacing) {
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(0, 1);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(verticalSpacing);
    return grid;
}

void addRow(QGridLayout* grid, QWidget* control, QToolButton* help) {
    const int row = grid->rowCount();
    grid->addWidget(control, row, 0);
    if (help) grid->addWidget(help, row, 1, Qt::AlignRight | Qt::AlignVCenter);
}

void addRow(QGridLayout* grid, QLayout* controls, QToolButton* help) {
    const int row = grid->rowCount();
    grid->addLayout(controls, row, 0);
    if (help) grid->addWidget(help, row, 1, Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace platform
