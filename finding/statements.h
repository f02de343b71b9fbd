// The texts of the statements that browsing and word search send.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Every text value is placed between quotes with its apostrophes doubled; the LIKE wildcards
// "%" and "_" in a search word keep their meaning.

// The code of the group with exactly this name.
QString groupCodeStatement(const QString &groupName);
// The foods (number, stored description) of the group with this code, by description.
QString browseStatement(const QString &groupCode, Qt::SortOrder nameOrder = Qt::DescendingOrder);
// The token of a search word, looked up without regard to the case of ASCII letters.
QString wordLookupStatement(const QString &word);

// The words of a search text: split at a comma, vertical bar, blank, parenthesis or plus sign;
// empty words are dropped, the others keep their order and letter case.
QStringList searchWords(const QString &text);

// One search word as the statement matches it: the term (the word, or its dictionary token)
// inside the description, or, for a word that reads as a GTIN/UPC, the food with that barcode.
struct SearchTerm {
    QString term;
    QString barcode; // digits without leading zeros; empty: none
};

// The barcode that a search word of 8 to 14 digits stands for, leading zeros removed; empty for
// any other word.
QString barcodeOfWord(const QString &word);

// The condition of the search statement. With a group restriction it opens with the group part
// and closes with ") "; each term adds one LIKE condition, alternatives joined with "or", or with
// "and" when every word must match. A narrowing (a set of food numbers that holds every match)
// is placed before the terms.
QString searchCondition(bool restricted, const QString &groupCode, const QList<SearchTerm> &terms,
                        bool allWords = false, const QString &narrowing = QString());
// The search statement around a condition made by searchCondition, ordered by description,
// descending unless asked otherwise (see docs/compatibility.md; the lists sort themselves).
QString searchStatement(const QString &condition, Qt::SortOrder nameOrder = Qt::DescendingOrder);

// The trigram index query for the terms: a phrase for every run of three or more characters
// between LIKE wildcards, joined with AND within a term and, between terms, with AND when every
// word must match or OR otherwise. Null when the index cannot narrow the search: a term with no
// such run among alternatives, or no such run at all. Barcode words are left to the barcode table
// when every word must match.
QString trigramQuery(const QList<SearchTerm> &terms, bool allWords);
// How many foods the trigram query finds, counted up to one more than the limit: all the caller
// asks is whether the index narrows the search to at most that many.
QString trigramCountStatement(const QString &query, qint64 limit);
// The food numbers that hold every match: those of the trigram query and the barcodes' foods.
QString trigramNarrowing(const QString &query, const QList<SearchTerm> &terms);
