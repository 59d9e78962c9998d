#include "exchange/exportwidgets.h"

#include "platform/formwidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>

namespace exchange {
namespace {

// Accepts a list item, up to two typed characters, and the shortened item
// texts met while a user deletes one of them.
class SeparatorValidator : public QValidator {
  public:
    explicit SeparatorValidator(QComboBox* combo) : QValidator(combo), combo_(combo) {}

    State validate(QString& input, int&) const override {
        if (input.size() <= 2 || combo_->findText(input, Qt::MatchExactly) >= 0) return Acceptable;
        for (int i = 0; i < combo_->count(); ++i)
            if (combo_->itemText(i).startsWith(input)) return Intermediate;
        return Invalid;
    }

  private:
    QComboBox* combo_;
};

} // namespace

QComboBox* separatorCombo(QWidget* parent, const char* name, const QString& text) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems({QStringLiteral("Tabulator"), QStringLiteral("Zeilenumbruch")});
    combo->setValidator(new SeparatorValidator(combo));
    combo->setEditText(text);
    combo->setMinimumContentsLength(13);
    return combo;
}

SeparatorLists separatorLists(QWidget* box) {
    SeparatorLists lists;
    lists.field = separatorCombo(box, "cmbFeld", QStringLiteral("Tabulator"));
    lists.translation = separatorCombo(box, "cmbUebersetzung", QStringLiteral(", "));
    lists.record = separatorCombo(box, "cmbSatz", QStringLiteral("Zeilenumbruch"));
    return lists;
}

void addSeparatorRows(QGridLayout* grid, QWidget* box, const SeparatorLists& lists,
                      QToolButton* fieldHelp, QToolButton* translationHelp,
                      QToolButton* recordHelp) {
    const struct {
        const char* label;
        QComboBox* combo;
        QToolButton* help;
    } rows[] = {
        {"Für die einzelnen Felder :", lists.field, fieldHelp},
        {"Für mehrere Übersetzungen :", lists.translation, translationHelp},
        {"Für die Datensätze :", lists.record, recordHelp},
    };
    for (int r = 0; r < 3; ++r) {
        auto* label = new QLabel(QString::fromUtf8(rows[r].label), box);
        label->setBuddy(rows[r].combo);
        grid->addWidget(label, r, 0);
        grid->addWidget(rows[r].combo, r, 1);
        grid->addWidget(rows[r].help, r, 2);
    }
}

QToolButton* helpButton(QWidget* parent, const char* name, const QString& text) {
    auto* help = platform::helpButton(parent, name, text);
    help->setToolTip(QStringLiteral("Hilfe"));
    return help;
}

} // namespace exchange
