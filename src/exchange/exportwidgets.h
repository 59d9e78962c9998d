#pragma once
// Controls that the export and import dialogs share: the separator choice
// and the small help buttons.
#include <QString>

class QComboBox;
class QGridLayout;
class QToolButton;
class QWidget;

namespace exchange {

// An editable list offering "Tabulator" and "Zeilenumbruch"; anything else
// typed is at most two characters.
QComboBox* separatorCombo(QWidget* parent, const char* name, const QString& text);

// The three lists of the "Trennzeichen" group with their usual defaults.
struct SeparatorLists {
    QComboBox* field;
    QComboBox* translation;
    QComboBox* record;
};
SeparatorLists separatorLists(QWidget* box);

// One row a list in columns 0 to 2: its label, the list, its help button.
void addSeparatorRows(QGridLayout* grid, QWidget* box, const SeparatorLists& lists,
                      QToolButton* fieldHelp, QToolButton* translationHelp,
                      QToolButton* recordHelp);

// A small "?" button that shows `text` in an information box.
QToolButton* helpButton(QWidget* parent, const char* name, const QString& text);

} // namespace exchange
