// Best Match: the order in which found foods fit the words of a search.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Ranks descriptions against the words of a search. A description ranks before another when it
// holds more different search words as whole words (a word and its plural, "apple" and "apples",
// count as one), then when its first comma-separated part is a search word or its plural, then
// when it has fewer comma-separated parts. Letter case does not count. Equal ranks are left to
// the name order.
class BestMatch {
public:
    explicit BestMatch(const QStringList &words);

    // No words: every description ranks the same.
    bool isEmpty() const { return words.isEmpty(); }
    // Smaller ranks first.
    quint32 rank(QStringView description) const;

private:
    struct Word {
        QString word;
        QStringList singulars; // the word without a plural ending
    };
    QList<Word> words; // one per word and plural
};

// The indexes of the descriptions in Best Match order, equal ranks by description.
std::vector<int> bestMatchOrder(const QStringList &descriptions, const QStringList &words);
