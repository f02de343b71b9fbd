// Fuzzes the builder's word tokens: expanding a tokenised description gives back the exact text,
// and searching a dictionary word by its token finds the same descriptions as searching the word.
// Input: descriptions, one per line, UTF-8.
#include "db/wordindex.h"
#include "fuzz/fuzz_common.h"
#include "tools/wordtokenizer.h"

#include <QSet>
#include <QStringList>

namespace {

// As LIKE compares: ASCII letters without regard to case, every other character as it is.
QString folded(QString text) {
    for (QChar &c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QStringList descriptions = QString::fromUtf8(fuzzBytes(data, size)).split(QLatin1Char('\n'));
    if (descriptions.size() > 200)
        descriptions.resize(200);
    // Stored descriptions never hold the token delimiter (the builder refuses them).
    for (QString &d : descriptions)
        d.remove(QLatin1Char('@'));

    const WordTokenizer tokenizer(descriptions);
    WordIndex index;
    QSet<QString> foldedWords;
    QSet<QString> foldedTokens;
    for (const auto &entry : tokenizer.dictionary()) {
        index.insert(entry.first, entry.second);
        FUZZ_CHECK(!foldedWords.contains(folded(entry.second)), entry.second);
        FUZZ_CHECK(!foldedTokens.contains(folded(entry.first)), entry.first);
        foldedWords.insert(folded(entry.second));
        foldedTokens.insert(folded(entry.first));
        FUZZ_CHECK(!entry.second.contains(QLatin1Char('%')) &&
                       !entry.second.contains(QLatin1Char('_')),
                   entry.second);
    }

    QStringList stored;
    for (const QString &d : std::as_const(descriptions)) {
        const QString tokenised = tokenizer.tokenize(d);
        FUZZ_CHECK(expandDescription(tokenised, index) == d,
                   d + QStringLiteral(" -> ") + tokenised);
        stored << tokenised;
    }
    for (const auto &entry : tokenizer.dictionary()) {
        const QString word = folded(entry.second);
        const QString token = folded(entry.first);
        for (qsizetype i = 0; i < descriptions.size(); ++i) {
            const bool byWord = folded(descriptions[i]).contains(word);
            const bool byToken = folded(stored[i]).contains(token);
            FUZZ_CHECK(byWord == byToken, entry.second + QStringLiteral(" in ") + descriptions[i]);
        }
    }
    return 0;
}
