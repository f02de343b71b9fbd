// The texts of the statements that browsing and word search send.
#include "finding/statements.h"

#include "db/sqltext.h"

#include <QRegularExpression>

QString groupCodeStatement(const QString &groupName) {
    return QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc='%1'")
        .arg(sqlQuoted(groupName));
}

namespace {

QString nameOrderClause(Qt::SortOrder order) {
    return order == Qt::DescendingOrder ? QStringLiteral(" order by desc desc")
                                        : QStringLiteral(" order by desc");
}

} // namespace

QString browseStatement(const QString &groupCode, Qt::SortOrder nameOrder) {
    return QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='%1'")
               .arg(sqlQuoted(groupCode)) +
           nameOrderClause(nameOrder);
}

QString wordLookupStatement(const QString &word) {
    return QStringLiteral("select WID from WORDS_WR where TEXT like '") + sqlQuoted(word) +
           QLatin1Char('\'');
}

QStringList searchWords(const QString &text) {
    static const QRegularExpression separators(QStringLiteral("[,| |)|(|+]"));
    return text.split(separators, Qt::SkipEmptyParts);
}

QString barcodeOfWord(const QString &word) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{8,14}$"));
    if (!digits.match(word).hasMatch())
        return QString();
    qsizetype zeros = 0;
    while (zeros + 1 < word.size() && word.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return word.mid(zeros);
}

QString searchCondition(bool restricted, const QString &groupCode, const QList<SearchTerm> &terms,
                        bool allWords, const QString &narrowing) {
    const bool narrowed = !narrowing.isEmpty() && !terms.isEmpty();
    QString condition;
    if (restricted)
        condition =
            QStringLiteral(" where FdGrp_Cd='") + sqlQuoted(groupCode) + QStringLiteral("'");
    if (narrowed)
        condition += (restricted ? QStringLiteral(" and ") : QStringLiteral(" where ")) + narrowing;
    // A text of separators alone has no terms: within a group it lists the group's foods, as over
    // all groups it lists every food (an empty "( )" would be a syntax error).
    const bool bracketed = (restricted || narrowed) && !terms.isEmpty();
    if (bracketed)
        condition += QStringLiteral(" and ( ");
    for (qsizetype i = 0; i < terms.size(); ++i) {
        if (i > 0)
            condition += allWords ? QStringLiteral(" and ") : QStringLiteral(" or ");
        else
            condition += bracketed ? QStringLiteral(" ") : QStringLiteral(" where ");
        const QString like =
            QStringLiteral("desc like '%") + sqlQuoted(terms.at(i).term) + QStringLiteral("%' ");
        if (terms.at(i).barcode.isEmpty()) {
            condition += like;
            continue;
        }
        const QString code = QStringLiteral(" or NDB_No in (select NDB_No from BARCODES where "
                                            "Code='%1') ")
                                 .arg(sqlQuoted(terms.at(i).barcode));
        condition +=
            allWords ? QStringLiteral("( ") + like + code + QStringLiteral(") ") : like + code;
    }
    if (bracketed)
        condition += QStringLiteral(") ");
    return condition;
}

QString searchStatement(const QString &condition, Qt::SortOrder nameOrder) {
    return QStringLiteral("select NDB_No,desc from FOODS_WR") + condition +
           nameOrderClause(nameOrder);
}

QString trigramQuery(const QList<SearchTerm> &terms, bool allWords) {
    static const QRegularExpression wildcards(QStringLiteral("[%_]"));
    QStringList parts;
    for (const SearchTerm &term : terms) {
        QStringList phrases;
        for (QString run : term.term.split(wildcards, Qt::SkipEmptyParts)) {
            // Three characters as the index counts them: code points of the text as placed.
            run.remove(QChar(0));
            if (run.toUcs4().size() >= 3)
                phrases << QLatin1Char('"') + run.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                               QLatin1Char('"');
        }
        if (allWords && !term.barcode.isEmpty())
            continue; // the word may stand for a barcode alone
        if (phrases.isEmpty()) {
            if (!allWords)
                return QString(); // an alternative that only a scan finds
            continue;
        }
        parts << QLatin1Char('(') + phrases.join(QLatin1String(" AND ")) + QLatin1Char(')');
    }
    if (parts.isEmpty())
        return QString();
    return parts.join(allWords ? QLatin1String(" AND ") : QLatin1String(" OR "));
}

QString trigramCountStatement(const QString &query, qint64 limit) {
    return QStringLiteral("select count(*) from (select 1 from FOODS_FTS where FOODS_FTS match "
                          "'%1' limit %2)")
        .arg(sqlQuoted(query))
        .arg(limit + 1);
}

QString trigramNarrowing(const QString &query, const QList<SearchTerm> &terms) {
    QString narrowing =
        QStringLiteral("NDB_No in (select rowid from FOODS_FTS where FOODS_FTS match '%1'")
            .arg(sqlQuoted(query));
    for (const SearchTerm &term : terms)
        if (!term.barcode.isEmpty())
            narrowing += QStringLiteral(" union select NDB_No from BARCODES where Code='%1'")
                             .arg(sqlQuoted(term.barcode));
    return narrowing + QLatin1Char(')');
}
