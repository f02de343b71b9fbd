// The texts of the statements that browsing, word search and the Top 15 page send.
#pragma once

#include <QString>
#include <QStringList>

// Every text value is placed between quotes with its apostrophes doubled; the LIKE wildcards
// "%" and "_" in a search word keep their meaning.

// The food groups, ordered by name; the name is column 1.
QString groupListStatement();
// The code of the group with exactly this name.
QString groupCodeStatement(const QString &groupName);
// The foods (number, stored description) of the group with this code.
QString browseStatement(const QString &groupCode);
// The whole word dictionary (token, word).
QString wordIndexStatement();
// The token of a search word, looked up without regard to the case of ASCII letters.
QString wordLookupStatement(const QString &word);

// The words of a search text: split at a comma, vertical bar, blank, parenthesis or plus sign;
// empty words are dropped, the others keep their order and letter case.
QStringList searchWords(const QString &text);

// The condition of the search statement. With a group restriction it opens with the group part
// and closes with ") "; each term (a token or a plain word) adds one LIKE alternative.
QString searchCondition(bool restricted, const QString &groupCode, const QStringList &terms);
// The search statement around a condition made by searchCondition.
QString searchStatement(const QString &condition);

// The cached ranking of one criterion (0 to 19) for the Top list: food number, stored
// description, amount.
QString topListStatement(int criterion);
