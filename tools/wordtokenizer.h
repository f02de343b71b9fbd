// Word tokens for FOODS.db on space-constrained devices: frequent words stored as short tokens.
#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A word is what the search takes as one: a maximal run of characters other than its separators
// (comma, vertical bar, blank, parentheses, plus sign). A word gets a token ("@" + digits and
// lower-case letters + "@") only when the swap cannot change what a search for it finds:
//  - every occurrence of its characters in any description, in any ASCII letter case (as LIKE
//    compares), is that same spelling standing as a whole word, so "desc like '%TOKEN%'" finds
//    exactly the foods that "desc like '%word%'" found, and the dictionary holds one entry that
//    "TEXT like 'word'" matches;
//  - it holds no LIKE wildcard ('%', '_') that would make the dictionary lookup match others;
//  - it saves space, counting the dictionary row.
// A search for part of a tokenised word no longer finds it: the price of the smaller file.
// Tokens differ from each other in any letter case. Expanding every token of a tokenised
// description gives back the exact text, provided no description holds '@'.
class WordTokenizer {
public:
    explicit WordTokenizer(const QStringList &descriptions);

    QString tokenize(const QString &description) const;
    // Token and word, tokens in order of first assignment (the most space saved first).
    const QList<QPair<QString, QString>> &dictionary() const { return entries; }

    // True for all but the separators of the search.
    static bool isWordCharacter(QChar c);

private:
    QHash<QString, QString> tokenOf; // word -> token
    QList<QPair<QString, QString>> entries;
};
