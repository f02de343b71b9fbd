// The texts of the statements that browsing, word search and the Top 15 page send.
#include "finding/statements.h"

#include "db/sqltext.h"
#include "finding/topcache.h"
#include "finding/topcriteria.h"

#include <QRegularExpression>

QString groupListStatement() {
    return QStringLiteral("select * from FOODS_GROUP order by FdGrp_DEsc");
}

QString groupCodeStatement(const QString &groupName) {
    return QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc='%1'")
        .arg(sqlQuoted(groupName));
}

namespace {

QString nameOrderClause(Qt::SortOrder order) {
    return order == Qt::DescendingOrder ? QStringLiteral(" order by desc desc")
                                        : QStringLiteral(" order by desc");
}

// An amount the USDA gives: not NULL and not an empty text.
QString known(const QString &column) {
    return QStringLiteral("%1 is not null and %1 <> ''").arg(column);
}

} // namespace

QString browseStatement(const QString &groupCode, Qt::SortOrder nameOrder) {
    return QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='%1'")
               .arg(sqlQuoted(groupCode)) +
           nameOrderClause(nameOrder);
}

QString wordIndexStatement() {
    return QStringLiteral("select * from WORDS_WR");
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
    const bool bracketed = restricted || narrowed;
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

QString topListStatement(int criterion) {
    const QString column = QLatin1String(topColumns[criterion]);
    return QStringLiteral("select id,desc, %1 from %2, FOODS_WR where NDB_No=id ")
        .arg(column, topTableName(criterion));
}

namespace {

// The amount a food is ranked by, and the condition for having one.
struct TopAmount {
    QString amount;
    QString condition;
};

TopAmount topAmount(int criterion, TopBasis basis) {
    const QString column = QLatin1String(topColumns[criterion]);
    TopAmount top{column, known(column)};
    if (basis == TopBasis::Per100kcal) {
        top.amount = QStringLiteral("%1 * 100.0 / Energ_Kcal").arg(column);
        top.condition += QStringLiteral(" and ") + known(QStringLiteral("Energ_Kcal")) +
                         QStringLiteral(" and Energ_Kcal > 0");
    } else if (basis == TopBasis::PerServing) {
        top.amount = QStringLiteral("%1 * GmWt_1 / 100.0").arg(column);
        top.condition += QStringLiteral(" and ") + known(QStringLiteral("GmWt_1")) +
                         QStringLiteral(" and GmWt_1 > 0");
    }
    return top;
}

} // namespace

QString topBasisName(TopBasis basis) {
    return basis == TopBasis::Per100kcal   ? QStringLiteral("100kcal")
           : basis == TopBasis::PerServing ? QStringLiteral("serving")
                                           : QStringLiteral("100g");
}

QString topRankedFoods(int criterion, const QString &groupCode, TopBasis basis) {
    const TopAmount top = topAmount(criterion, basis);
    QString condition = top.condition;
    if (!groupCode.isNull())
        condition += QStringLiteral(" and FdGrp_Cd='%1'").arg(sqlQuoted(groupCode));
    // Food numbers only: within a group the foods' amounts are all read from one index.
    return QStringLiteral("select NDB_No from FOODS_WR where %1 order by %2 %3, NDB_No LIMIT 15")
        .arg(condition, top.amount, QLatin1String(topDirection(criterion)));
}

QString topLiveStatement(int criterion, const QString &groupCode, TopBasis basis, bool cached) {
    const TopAmount top = topAmount(criterion, basis);
    const QString foods =
        cached ? QStringLiteral("select NDB_No from %1 where Criterion=%2 and Basis='%3'")
                     .arg(topBasisTable(), QString::number(criterion), topBasisName(basis))
               : topRankedFoods(criterion, groupCode, basis);
    // Ranked by the exact amount, shown with three decimals as the stored amounts are.
    const QString shown =
        basis == TopBasis::Per100g ? top.amount : QStringLiteral("round(%1, 3)").arg(top.amount);
    return QStringLiteral("select NDB_No,desc, %1 from FOODS_WR where NDB_No in (%2) order by %3 "
                          "%4, NDB_No")
        .arg(shown, foods, top.amount, QLatin1String(topDirection(criterion)));
}

QString topCoverageStatement(int criterion, const QString &groupCode, bool counted) {
    const QString column = QLatin1String(topColumns[criterion]);
    QString sql =
        counted
            ? QStringLiteral("select coalesce(sum(%1), 0), coalesce(sum(Foods), 0) "
                             "from topcoverage")
                  .arg(column)
            : QStringLiteral("select count(nullif(%1, '')), count(*) from FOODS_WR").arg(column);
    if (!groupCode.isNull())
        sql += QStringLiteral(" where FdGrp_Cd='%1'").arg(sqlQuoted(groupCode));
    return sql;
}
