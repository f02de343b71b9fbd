// Two foods side by side: the rows of the comparison table and its HTML.
#include "details/comparison.h"

#include <QMap>
#include <cmath>
#include <utility>

namespace {

double customWeight(const FoodReport &report) {
    return report.weights.isEmpty() ? 0.0 : report.weights.last();
}

// The nutrients of both full records by USDA order, with each food's amount per 100 g.
struct Pair {
    FullNutrient nutrient;
    double second = std::nan("");
};

QList<ReportLine> mergedLines(const FoodReport &first, const FoodReport &second,
                              QList<double> *secondValues) {
    QMap<std::pair<int, int>, Pair> merged;
    for (const FullNutrient &n : first.full)
        merged[{n.order, n.number}].nutrient = n;
    for (const FullNutrient &n : second.full) {
        Pair &p = merged[{n.order, n.number}];
        if (p.nutrient.number == 0) {
            p.nutrient = n;
            p.nutrient.per100g = std::nan("");
        }
        p.second = n.per100g;
    }
    QList<FullNutrient> nutrients;
    for (const Pair &p : std::as_const(merged)) {
        nutrients << p.nutrient;
        *secondValues << p.second;
    }
    return fullLines(nutrients);
}

QString columnHead(const FoodReport &report) {
    return report.found ? report.desc : QStringLiteral("No data for food %1").arg(report.id);
}

} // namespace

ReportView comparedView(const FoodReport &first, const FoodReport &second, ReportView view) {
    if (view != ReportView::Full)
        return view;
    return first.full.isEmpty() && second.full.isEmpty() ? ReportView::Detailed : view;
}

QList<CompareRow> compareRows(const FoodReport &first, const FoodReport &second, ReportView view) {
    const ReportView shown = comparedView(first, second, view);
    QList<double> secondValues;
    QList<ReportLine> lines;
    if (shown == ReportView::Full) {
        lines = mergedLines(first, second, &secondValues);
    } else {
        lines = shown == ReportView::Basic ? basicLines(first.values) : detailedLines(first.values);
        for (const ReportLine &line :
             shown == ReportView::Basic ? basicLines(second.values) : detailedLines(second.values))
            secondValues << line.per100g;
    }
    QList<CompareRow> rows;
    int value = 0;
    for (const ReportLine &line : std::as_const(lines)) {
        if (line.heading) {
            rows << CompareRow{line.name, QString(), QString(), QString(), true};
            continue;
        }
        rows << CompareRow{line.name, line.unit, servingAmount(customWeight(first), line.per100g),
                           servingAmount(customWeight(second), secondValues.value(value++)), false};
    }
    return rows;
}

QString compareHtml(const FoodReport &first, const FoodReport &second,
                    const QList<CompareRow> &rows, const ReportColours &colours) {
    QString text = reportPageOpening(colours);
    // Four columns fit a 240 pixel screen in the smaller type.
    text += QStringLiteral("Amounts in %1 g (Custom)<table border=0 width=100% "
                           "style=\"font-size:small\">")
                .arg(QString::number(customWeight(first), 'g', 10));
    text += QStringLiteral("<tr><td width=34%><b>Nutrient</b></td><td width=12%><b>Unit</b></td>"
                           "<td width=27% align=right><b>%1</b></td>"
                           "<td width=27% align=right><b>%2</b></td></tr>")
                .arg(columnHead(first).toHtmlEscaped(), columnHead(second).toHtmlEscaped());
    int row = 0;
    for (const CompareRow &r : rows) {
        if (r.heading) {
            text +=
                QStringLiteral("<tr><td colspan=4><b>%1</b></td></tr>").arg(r.name.toHtmlEscaped());
            row = 0;
            continue;
        }
        const QString colour = row++ % 2 == 0 ? colours.light : colours.dark;
        text += QStringLiteral("<tr><td bgcolor=%1>%2</td><td bgcolor=%1>%3</td>"
                               "<td align=right bgcolor=%1>%4</td>"
                               "<td align=right bgcolor=%1>%5</td></tr>")
                    .arg(colour, r.name.toHtmlEscaped(), r.unit.toHtmlEscaped(), r.first, r.second);
    }
    return text + QStringLiteral("</table></qt>");
}
