#pragma once
// A grid delegate that draws each column in a font of its own: grids of words
// show the foreign word and the translation in the fonts of their fields.
#include <QFont>
#include <QList>
#include <QStyledItemDelegate>

class ColumnFontDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // Font of column i; columns beyond the list keep the grid's font.
    QList<QFont> fonts;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() < fonts.size()) {
            option->font = fonts.at(index.column());
            option->fontMetrics = QFontMetrics(option->font);
        }
    }
};
