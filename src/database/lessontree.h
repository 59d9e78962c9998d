#pragma once
// The lesson tree of the main window (and of the target-lesson dialog): one top
// node "Lektion n" per lesson number, one child "A 1 [Titel]" per section.
// The order and texts come from BuildLessonTree (lessons.h).
#include "database/lessons.h"

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace engine {
class Query;
}

// Read-only labels, one column without header, single selection that stays
// visible when the tree loses focus.
void ConfigureLessonTree(QTreeWidget* tree);

// Clears the tree and fills it from the list (or from a tree built already).
void RebuildLessonTree(QTreeWidget* lekbaum, const LessonList& list);
void RebuildLessonTree(QTreeWidget* lekbaum, const LessonTree& tree);

// 0 for a top node, 1 for a section, -1 for none.
int LessonNodeLevel(const QTreeWidgetItem* item);
// The code of a section item ("001A1"); empty for a top node or none.
QString LessonCodeOfItem(const QTreeWidgetItem* item);
// The three-digit number of an item's lesson (its own for a top node, its
// parent's for a section); empty for none.
QString LessonNumberOfItem(const QTreeWidgetItem* item);
// The code of the selected section, empty when a top node or nothing is
// selected: what a click on the tree opens.
QString SelectedLessonCode(const QTreeWidget* lekbaum);

// Selects the section whose code is `code` (its lesson opened and scrolled
// into view); nothing is selected when no section has that code.
bool SelectLessonNode(QTreeWidget* lekbaum, const QString& code);
// SelectLessonNode with CurrentLessonCode.
bool SelectCurrentLessonNode(QTreeWidget* lekbaum);
// Selects the first section of the first top node.
bool SelectFirstLessonSection(QTreeWidget* lekbaum);

// DeleteLessonFromList (lessons.h) on the open database's list file, then the
// tree is rebuilt and the new current lesson selected. Returns that code.
QString DeleteLessonFromList(QTreeWidget* lekbaum, LessonList& list, const QString& key);

// RebuildLessonListFromTable (lessons.h), then the tree is rebuilt and the
// current lesson selected. Returns false when the table was empty and got the
// lesson "001A1" with one new word: the caller then enables its word controls,
// shows the first page and focuses the foreign-word field.
bool RebuildLessonListFromTable(QTreeWidget* lekbaum, engine::Query& Query, LessonList& list);
