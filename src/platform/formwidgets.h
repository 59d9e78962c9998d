#pragma once
// Small builders shared by the settings and quiz windows: named controls, the
// "?" help button beside an option and the two-column option grid it sits in.
#include <QString>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLayout;
class QRadioButton;
class QToolButton;
class QWidget;

namespace platform {

// Controls are looked up by object name (tests, the window's own code).
template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption);
QRadioButton* radio(QWidget* parent, const char* name, const QString& caption);
QGroupBox* group(QWidget* parent, const char* name, const QString& title);

// A small button beside an option that explains it in an information box.
QToolButton* helpButton(QWidget* parent, const char* name, const QString& text);

// The grid inside an option group: controls stretch in column 0, help buttons in column 1.
QGridLayout* optionGrid(QGroupBox* box, int verticalSpacing = 4);

// One option row: the control, then its help button at the right edge.
void addRow(QGridLayout* grid, QWidget* control, QToolButton* help = nullptr);
void addRow(QGridLayout* grid, QLayout* controls, QToolButton* help = nullptr);

} // namespace platform
