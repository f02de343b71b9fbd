// Small USDA inputs for the builder's tests: SR ASCII files and an SR24-style jar.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The four SR ASCII files, code page 1252 with CR LF line ends, file name to contents:
//   groups 0100, 0400, 1100;
//   01009 "Cheese, cheddar": 403 kcal, 24.9 g protein, 21.092 g saturated fat, vitamin E 0.29
//     (323) beside 0.36 ATE (394), an unlisted nutrient; servings 1 cup, diced 132 g and
//     1 cup, melted 244 g (given after a third, out of sequence order);
//   01001 "Butter, salted": no saturated-fat record, vitamin E only as ATE 1.58; one serving;
//   04053 "Oil, olive, salad or cooking": 884 kcal, no serving;
//   11124 "Carrots, raw": servings 0.5 cup, chopped 64 g and 1 large (7-1/4" to 8-1/2" long) 72 g;
//   11999 "Crème brûlée, “café” style" (cp1252 bytes): 0.333 cup 80 g;
//   11998 "Turnip, no data": no nutrient record (left out);
//   nutrient and weight records for 99998, which FOOD_DES.txt lacks (ignored).
// NUT_DATA.txt ends in a DOS end-of-file mark.
QList<QPair<QString, QByteArray>> asciiFixtureFiles();
// Writes them into the folder; false when a file cannot be written.
bool writeAsciiFixture(const QString &folder);

// The entries of a small jar, name to contents, all under usda_sr24/:
//   01009 cheddar (three measures, first "1.0" "cup, diced" 132; 403 kcal, 24.9 g protein,
//     21.092 g saturated fat, 1002 IU vitamin A; one nutrient the program does not use);
//   08510 (group 2500 by the exception table), one measure whose name holds '"' entities, no
//     protein; 23001 (group 1300 by the fixed prefix 23) without measures; 27001 (0600 by prefix
//     27), measure 0.5 cup; 04053 (0400 by its plain prefix), 884 kcal; 23999 without nutrients.
QList<QPair<QString, QByteArray>> jarFixtureEntries();
// Writes a zip with these entries using libzip; false on failure.
bool writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries);
