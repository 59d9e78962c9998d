#pragma once
// Controls that the export and import dialogs share: the separator choice
// and the small help buttons.
#include <QString>

class QComboBox;
class QToolButton;
class QWidget;

namespace exchange {

// An editable list offering "Tabulator" and "Zeilenumbruch"; anything else
// typed is at most two characters.
QComboBox* separatorCombo(QWidget* parent, const char* name, const QString& text);

// A small "?" button that shows `text` in an information box.
QToolButton* helpButton(QWidget* parent, const char* name, const QString& text);

} // namespace exchange
