#pragma once
// Small file helpers shared by the tests.
#include <QByteArray>
#include <QString>

// The whole file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString& path);
// Writes the bytes, replacing the file (its folder is made when missing); fails the running test when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);
