// The builder's test inputs (the folders sr/, jar/ and fdc/ beside this file) and a compact way to
// read back what it wrote.
#pragma once

#include <QString>

// The fixture folder of that name: "sr" (SR ASCII files, code page 1252), "jar" (the entries of an
// SR24 data jar), "fdc" (a FoodData Central download; see fdc/README.md) or "fdc-sr-legacy" (the
// USDA's SR Legacy download; see its README.md).
QString fixturePath(const QString &name);
// Copies the files of a fixture folder into the folder to (made when missing).
bool copyFixture(const QString &name, const QString &to);
// Changes a copy of a fixture file: replaces its first line that starts with prefix by line, or
// appends line (with the file's own line end) when prefix is empty; a line "=name" replaces the
// whole file by the file name beside it, and an empty line removes the file.
bool changeFile(const QString &path, const QByteArray &prefix, const QByteArray &line);
// Zips the files below folder, named by their paths relative to it, into a jar file.
bool zipFolder(const QString &folder, const QString &jar);
// What a statement yields on the database file, as the sqlite3 shell prints it: columns joined by
// '|', rows by '\n'; the library's message when it fails.
QString queryText(const QString &database, const QString &sql);
