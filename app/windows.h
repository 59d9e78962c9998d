#pragma once
// Creation of the program's windows, once each, in the program's order, and
// the wiring of the main window's commands to them.
#include <QString>
#include <QStringList>

void createWindows(const QStringList& arguments);
void showMainWindow();
// Runs the updater; returns its result text.
QString runUpdaterRun();
