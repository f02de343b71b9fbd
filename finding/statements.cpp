// The texts of the statements that browsing, word search and the Top 15 page send.
#include "finding/statements.h"

#include "db/sqltext.h"
#include "finding/topcriteria.h"

#include <QRegularExpression>

QString groupListStatement() {
    return QStringLiteral("select * from FOODS_GROUP order by FdGrp_DEsc");
}

QString groupCodeStatement(const QString &groupName) {
    return QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc='%1'")
        .arg(sqlQuoted(groupName));
}

QString browseStatement(const QString &groupCode) {
    return QStringLiteral("select NDB_No,desc from FOODS_WR where FdGrp_Cd='%1' order by desc desc")
        .arg(sqlQuoted(groupCode));
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

QString searchCondition(bool restricted, const QString &groupCode, const QStringList &terms) {
    QString condition;
    if (restricted)
        condition =
            QStringLiteral(" where FdGrp_Cd='") + sqlQuoted(groupCode) + QStringLiteral("' and ( ");
    for (qsizetype i = 0; i < terms.size(); ++i) {
        if (i > 0)
            condition += QStringLiteral(" or desc like ");
        else if (restricted)
            condition += QStringLiteral(" desc like ");
        else
            condition += QStringLiteral(" where desc like ");
        condition += QStringLiteral("'%") + sqlQuoted(terms.at(i)) + QStringLiteral("%' ");
    }
    if (restricted)
        condition += QStringLiteral(") ");
    return condition;
}

QString searchStatement(const QString &condition) {
    return QStringLiteral("select NDB_No,desc from FOODS_WR") + condition +
           QStringLiteral(" order by desc desc");
}

QString topListStatement(int criterion) {
    const QString column = QLatin1String(topColumns[criterion]);
    return QStringLiteral("select id,desc, %1 from %2, FOODS_WR where NDB_No=id ")
        .arg(column, topTableName(criterion));
}
