// The nutrient report: the basic and the detailed HTML text of one food for one serving weight.
#include "details/nutrientreport.h"

#include "details/nutrientcatalogue.h"

namespace {

const QLatin1String lightColour("#f8f8f8");
const QLatin1String darkColour("#e8e8e8");

QString reportClosing() {
    return QStringLiteral("<hr></qt>");
}

} // namespace

QString servingAmount(double grams, double per100g) {
    return QString::asprintf("%.3f", grams / 100.0 * per100g);
}

QString reportHeading(const QString &desc, const QString &group) {
    return QStringLiteral("<qt bgcolor=") + darkColour + QStringLiteral(">") +
           QStringLiteral("<table border=0 width=100%>") + QStringLiteral("<tr><td width=80%><b>") +
           desc + QStringLiteral("</b></td></tr><tr><td>Category: ") + group +
           QStringLiteral("</td></tr></table> \r\n<hr><table border=0 width=100%>");
}

QString reportRow(int row, const QString &name, const QString &unit, const QString &amount) {
    const QString colour = row % 2 == 0 ? lightColour : darkColour;
    return QStringLiteral("<tr>") + QStringLiteral("<td width=50% bgcolor=") + colour +
           QStringLiteral(">") + name + QStringLiteral("</td><td width=10% bgcolor=") + colour +
           QStringLiteral(">") + unit + QStringLiteral("</td><td width=30% align=right bgcolor=") +
           colour + QStringLiteral(">") + amount + QStringLiteral("</td>") +
           QStringLiteral("</tr>");
}

QString basicReport(const QString &desc, const QString &group, const QList<double> &values,
                    double grams) {
    QString text = reportHeading(desc, group);
    for (int i = 0; i < basicRowCount; ++i) {
        const int k = basicIndex[i];
        text += reportRow(i, QLatin1String(basicLabels[i]), QLatin1String(nutrientUnits[k]),
                          servingAmount(grams, values.value(k)));
    }
    return text + QStringLiteral("</table><br>") + reportClosing();
}

QString detailedReport(const QString &desc, const QString &group, const QList<double> &values,
                       double grams) {
    QString text = reportHeading(desc, group);
    for (int k = 0; k < nutrientCount; ++k) {
        text += reportRow(k, QLatin1String(nutrientNames[k]), QLatin1String(nutrientUnits[k]),
                          servingAmount(grams, values.value(k)));
    }
    return text + QStringLiteral("</table><br>") + reportClosing();
}
