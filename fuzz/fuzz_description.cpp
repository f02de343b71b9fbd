// Fuzzes the expansion of stored descriptions against a plain reference implementation.
// Input: lines "TOKEN<tab>WORD" for the word index, an empty line, then the stored description.
// Without an empty line the whole input is the description and the index is a fixed one.
#include "db/wordindex.h"
#include "fuzz/fuzz_common.h"

#include <QStringList>

namespace {

// One character at a time: outside a token text is copied; "@" opens a token that the next "@"
// closes; a closed token (and a token left open at the end) is replaced by its word, or dropped.
QString referenceExpansion(const QString &stored, const WordIndex &index) {
    QString out;
    QString token;
    bool inToken = false;
    for (const QChar c : stored) {
        if (!inToken) {
            if (c == QLatin1Char('@')) {
                inToken = true;
                token = c;
            } else {
                out += c;
            }
            continue;
        }
        token += c;
        if (c == QLatin1Char('@')) {
            out += index.value(token);
            inToken = false;
        }
    }
    if (inToken)
        out += index.value(token);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString input = QString::fromUtf8(fuzzBytes(data, size));
    WordIndex index;
    QString stored = input;
    const qsizetype blank = input.indexOf(QLatin1String("\n\n"));
    if (blank >= 0) {
        const QStringList lines = input.left(blank).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            if (tab >= 0)
                index.insert(line.left(tab), line.mid(tab + 1));
        }
        stored = input.mid(blank + 2);
    } else {
        index.insert(QStringLiteral("@CHD@"), QStringLiteral("cheddar"));
        index.insert(QStringLiteral("@1@"), QStringLiteral("raw"));
        index.insert(QStringLiteral("@a@"), QStringLiteral("with @ sign"));
    }

    const QString expanded = expandDescription(stored, index);
    const QString reference = referenceExpansion(stored, index);
    FUZZ_CHECK(expanded == reference, stored + QStringLiteral("\n-> ") + expanded +
                                          QStringLiteral("\nexpected ") + reference);
    // Text without any token comes back unchanged.
    if (!stored.contains(QLatin1Char('@')))
        FUZZ_CHECK(expanded == stored, stored);
    return 0;
}
