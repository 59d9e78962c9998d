#include "database/lessontree.h"

#include "database/currentdatabase.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

void ConfigureLessonTree(QTreeWidget* tree) {
    tree->setColumnCount(1);
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setRootIsDecorated(true);
    tree->setSortingEnabled(false);
    tree->setUniformRowHeights(true);
    // The current lesson stays marked while the user types in the word fields.
    QPalette palette = tree->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    tree->setPalette(palette);
}

void RebuildLessonTree(QTreeWidget* lekbaum, const LessonTree& tree) {
    const bool blocked = lekbaum->blockSignals(true);
    lekbaum->clear();
    QList<QTreeWidgetItem*> topItems;
    topItems.reserve(tree.size());
    for (const LessonTreeNode& node : tree) {
        auto* top = new QTreeWidgetItem(QStringList{node.text});
        for (const LessonTreeChild& child : node.children)
            top->addChild(new QTreeWidgetItem(QStringList{child.text}));
        topItems.append(top);
    }
    lekbaum->addTopLevelItems(topItems);
    lekbaum->blockSignals(blocked);
}

void RebuildLessonTree(QTreeWidget* lekbaum, const LessonList& list) {
    RebuildLessonTree(lekbaum, BuildLessonTree(list));
}

int LessonNodeLevel(const QTreeWidgetItem* item) {
    if (!item) return -1;
    return item->parent() ? 1 : 0;
}

QString LessonCodeOfItem(const QTreeWidgetItem* item) {
    if (LessonNodeLevel(item) != 1) return QString();
    return LessonCodeFromNodeTexts(item->parent()->text(0), item->text(0));
}

QString LessonNumberOfItem(const QTreeWidgetItem* item) {
    if (!item) return QString();
    const QTreeWidgetItem* top = item->parent() ? item->parent() : item;
    return NormalizeLessonNumber(top->text(0).mid(QStringLiteral("Lektion ").size()));
}

QString SelectedLessonCode(const QTreeWidget* lekbaum) {
    const QList<QTreeWidgetItem*> selected = lekbaum->selectedItems();
    return selected.isEmpty() ? QString() : LessonCodeOfItem(selected.first());
}

namespace {

void selectItem(QTreeWidget* lekbaum, QTreeWidgetItem* item) {
    if (item->parent()) item->parent()->setExpanded(true);
    lekbaum->setCurrentItem(item);
    item->setSelected(true);
    lekbaum->scrollToItem(item);
}

} // namespace

bool SelectLessonNode(QTreeWidget* lekbaum, const QString& code) {
    for (int t = 0; t < lekbaum->topLevelItemCount(); ++t) {
        QTreeWidgetItem* top = lekbaum->topLevelItem(t);
        for (int c = 0; c < top->childCount(); ++c) {
            QTreeWidgetItem* child = top->child(c);
            if (LessonCodeOfItem(child) == code) {
                selectItem(lekbaum, child);
                return true;
            }
        }
    }
    return false;
}

bool SelectCurrentLessonNode(QTreeWidget* lekbaum) {
    return SelectLessonNode(lekbaum, CurrentLessonCode);
}

bool SelectFirstLessonSection(QTreeWidget* lekbaum) {
    QTreeWidgetItem* top = lekbaum->topLevelItem(0);
    if (!top || top->childCount() == 0) return false;
    selectItem(lekbaum, top->child(0));
    return true;
}

QString DeleteLessonFromList(QTreeWidget* lekbaum, LessonList& list, const QString& key) {
    const QString code = DeleteLessonFromList(list, key, LessonListPath());
    RebuildLessonTree(lekbaum, list);
    SelectCurrentLessonNode(lekbaum);
    return code;
}

bool RebuildLessonListFromTable(QTreeWidget* lekbaum, engine::Query& Query, LessonList& list) {
    const bool hadWords = RebuildLessonListFromTable(Query, list);
    RebuildLessonTree(lekbaum, list);
    SelectCurrentLessonNode(lekbaum);
    return hadWords;
}
