// The question of Find by Nutrients and the statements that answer it.
#include "finding/finderquery.h"

#include "db/foodsdatabase.h"
#include "db/foodsschema.h"
#include "db/sqltext.h"

#include <cmath>

namespace {

// A figure: a number, and no text (which the library orders after every number).
QString known(const QString &expression) {
    return expression + QStringLiteral(" between -1e308 and 1e308");
}

QString foodsColumn(int nutrient, const FinderSchema &schema) {
    for (const FoodsNutrient &candidate : foodsNutrients) {
        const QString column = QLatin1String(candidate.column);
        if (candidate.number == nutrient && schema.foodsColumns.contains(column))
            return column;
    }
    return QString();
}

bool isCondition(const FinderCondition &condition) {
    return std::isfinite(condition.amount);
}

// How the statements read the columns' nutrients: the join that brings in each NUTRIENT_DATA
// figure, and each figure as stored and on the basis (NULL where it is no number).
struct Reading {
    QString joins;
    QStringList raw;
    QStringList values;
};

// The ordered statement reads the order nutrient from its index row "o" rather than a join. A
// scan of the foods listed joins the conditions' figures as "cross join", which keeps the foods
// the outer loop: the library would otherwise read a figure's whole index range for every chunk.
Reading reading(const FinderQuery &query, const FinderSchema &schema, int indexed = 0,
                bool listed = false) {
    Reading r;
    QList<int> conditions;
    for (const FinderCondition &condition : query.conditions)
        if (isCondition(condition))
            conditions << condition.nutrient;
    for (const int nutrient : finderColumns(query)) {
        QString raw = foodsColumn(nutrient, schema);
        if (!raw.isNull()) {
            raw = QStringLiteral("f.") + raw;
        } else if (nutrient == indexed) {
            raw = QStringLiteral("o.Nutr_Val");
        } else if (schema.nutrientTables) {
            const QString alias = QStringLiteral("d%1").arg(nutrient);
            r.joins += QStringLiteral(" %1 join NUTRIENT_DATA %2 on %2.NDB_No=f.NDB_No and "
                                      "%2.Nutr_No=%3")
                           .arg(listed && conditions.contains(nutrient) ? QStringLiteral("cross")
                                                                        : QStringLiteral("left"),
                                alias)
                           .arg(nutrient);
            raw = alias + QStringLiteral(".Nutr_Val");
        } else {
            raw = QStringLiteral("NULL");
        }
        // The basis condition keeps only foods whose energy or weight is a number above 0.
        QString value = raw;
        if (query.basis == TopBasis::Per100kcal)
            value += QStringLiteral(" * 100.0 / f.Energ_Kcal");
        else if (query.basis == TopBasis::PerServing)
            value += QStringLiteral(" * f.GmWt_1 / 100.0");
        r.raw << raw;
        r.values << QStringLiteral("(case when %1 then %2 end)").arg(known(raw), value);
    }
    return r;
}

QString basisCondition(const FinderQuery &query, const FinderSchema &schema) {
    const QString column = query.basis == TopBasis::Per100kcal   ? QStringLiteral("Energ_Kcal")
                           : query.basis == TopBasis::PerServing ? QStringLiteral("GmWt_1")
                                                                 : QString();
    if (column.isNull())
        return QString();
    if (!schema.foodsColumns.contains(column))
        return QStringLiteral(" and 0");
    return QStringLiteral(" and f.%1 > 0 and f.%1 <= 1e308").arg(column);
}

QString amountText(const FinderCondition &condition) {
    return QString::number(condition.amount, 'g', 17);
}

// The condition on a value: "value >= amount", "value <= amount".
QString test(const FinderCondition &condition, const QString &value) {
    return QStringLiteral("%1 %2 %3")
        .arg(value, condition.atMost ? QStringLiteral("<=") : QStringLiteral(">="),
             amountText(condition));
}

// The condition met by a figure per 100 g, without the expression that makes text NULL.
QString rawTest(const FinderCondition &condition, const QString &raw) {
    return condition.atMost
               ? QStringLiteral("%1 between -1e308 and %2").arg(raw, amountText(condition))
               : QStringLiteral("%1 between %2 and 1e308").arg(raw, amountText(condition));
}

} // namespace

FinderSchema finderSchema(const FoodsDatabase &foods) {
    FinderSchema schema{foods.hasNutrientRecord(), foods.hasValueIndex(), {}};
    for (const FoodsNutrient &nutrient : foodsNutrients)
        schema.foodsColumns << QLatin1String(nutrient.column);
    schema.foodsColumns << QStringLiteral("GmWt_1");
    return schema;
}

QList<int> finderColumns(const FinderQuery &query) {
    QList<int> columns;
    for (const FinderCondition &condition : query.conditions)
        if (isCondition(condition) && !columns.contains(condition.nutrient))
            columns << condition.nutrient;
    if (!columns.contains(query.orderNutrient))
        columns << query.orderNutrient;
    return columns;
}

QString finderScopeStatement(const FinderQuery &query) {
    if (!query.wordFoods.isNull())
        return query.wordFoods;
    if (!query.groupCode.isNull())
        return QStringLiteral("select NDB_No from FOODS_WR where FdGrp_Cd='%1'")
            .arg(sqlQuoted(query.groupCode));
    return QString();
}

QString finderScanStatement(const FinderQuery &query, const FinderSchema &schema,
                            const QString &foods, FinderRows rows) {
    const Reading r = reading(query, schema, 0, rows == FinderRows::Listed);
    const QList<int> columns = finderColumns(query);
    QString sql = QStringLiteral("select f.NDB_No, %1 from FOODS_WR f%2 where %3")
                      .arg(r.values.join(QStringLiteral(", ")), r.joins, foods) +
                  basisCondition(query, schema);
    if (!query.groupCode.isNull())
        sql += QStringLiteral(" and f.FdGrp_Cd='%1'").arg(sqlQuoted(query.groupCode));
    QStringList unknown;
    for (const FinderCondition &condition : query.conditions) {
        if (!isCondition(condition))
            continue;
        const int c = int(columns.indexOf(condition.nutrient));
        if (rows == FinderRows::Listed) {
            sql += QStringLiteral(" and ") + (query.basis == TopBasis::Per100g
                                                  ? rawTest(condition, r.raw.at(c))
                                                  : test(condition, r.values.at(c)));
            continue;
        }
        // Met, or no figure: the comparison with NULL is NULL.
        sql += QStringLiteral(" and coalesce(%1, 1)").arg(test(condition, r.values.at(c)));
        unknown << r.values.at(c) + QStringLiteral(" is null");
    }
    if (rows == FinderRows::LeftOut)
        sql += QStringLiteral(" and (%1)")
                   .arg(unknown.isEmpty() ? QStringLiteral("0")
                                          : unknown.join(QStringLiteral(" or ")));
    return sql;
}

int finderIndexNutrient(const FinderQuery &query, const FinderSchema &schema) {
    if (query.basis != TopBasis::Per100g || !query.groupCode.isNull() ||
        !query.wordFoods.isNull() || !schema.nutrientTables || !schema.valueIndex)
        return 0;
    int first = 0;
    for (const FinderCondition &condition : query.conditions) {
        if (!isCondition(condition) || !foodsColumn(condition.nutrient, schema).isNull())
            continue;
        if (condition.nutrient == query.orderNutrient)
            return condition.nutrient;
        if (first == 0)
            first = condition.nutrient;
    }
    return first;
}

QString finderIndexStatement(const FinderQuery &query, const FinderSchema &schema) {
    const int indexed = finderIndexNutrient(query, schema);
    if (indexed == 0)
        return QString();
    QStringList range;
    QStringList tests;
    const Reading r = reading(query, schema, indexed);
    const QList<int> columns = finderColumns(query);
    for (const FinderCondition &condition : query.conditions) {
        if (!isCondition(condition))
            continue;
        tests << test(condition, r.values.at(columns.indexOf(condition.nutrient)));
        if (condition.nutrient == indexed)
            range << test(condition, QStringLiteral("o.Nutr_Val"));
    }
    const QString listed =
        QStringLiteral("coalesce(%1, 0)").arg(tests.join(QStringLiteral(" and ")));
    QStringList shown;
    for (const QString &value : r.values)
        shown << QStringLiteral("case when %1 then %2 end").arg(listed, value);
    shown << QStringLiteral("case when %1 then f.\"desc\" end").arg(listed);
    // Ordered by the figure, the rows leave the index in that order, never sorted by the
    // library: a sort by description would hold each row back until all of its amount were read.
    QString sql = QStringLiteral("select f.NDB_No, %1, %2, o.Nutr_Val from NUTRIENT_DATA o indexed "
                                 "by NUTRIENT_DATA_value cross join FOODS_WR f on "
                                 "f.NDB_No=o.NDB_No%3 where o.Nutr_No=%4 and %5")
                      .arg(listed, shown.join(QStringLiteral(", ")), r.joins)
                      .arg(indexed)
                      .arg(range.join(QStringLiteral(" and ")));
    if (indexed == query.orderNutrient)
        sql += query.order == Qt::DescendingOrder ? QStringLiteral(" order by o.Nutr_Val desc")
                                                  : QStringLiteral(" order by o.Nutr_Val");
    return sql;
}

QString finderCountText(qint64 found, qint64 more, const QStringList &missing) {
    QString text = found == 1 ? QStringLiteral("1 food") : QStringLiteral("%1 foods").arg(found);
    if (more <= 0)
        return text;
    const bool commas = !missing.filter(QStringLiteral(",")).isEmpty();
    return text + QStringLiteral(" (%1 more %2 no figure for %3)")
                      .arg(QString::number(more),
                           more == 1 ? QStringLiteral("has") : QStringLiteral("have"),
                           missing.join(commas ? QStringLiteral("; ") : QStringLiteral(", ")));
}
