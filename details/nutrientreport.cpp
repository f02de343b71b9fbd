// The nutrient report: the HTML and plain texts of a food's report views for one serving weight.
#include "details/nutrientreport.h"

#include "db/foodsschema.h"
#include "details/dailyvalues.h"
#include "details/nutrientcatalogue.h"

#include <cmath>

namespace {

QString reportClosing() {
    return QStringLiteral("<hr></qt>");
}

QString rowColour(int row, const ReportColours &colours) {
    return row % 2 == 0 ? colours.light : colours.dark;
}

// The row text; the cells of a row all carry its colour.
QString tableRow(const QString &colour, const QString &name, const QString &unit,
                 const QString &amount) {
    return QStringLiteral("<tr>") + QStringLiteral("<td width=50% bgcolor=") + colour +
           QStringLiteral(">") + name + QStringLiteral("</td><td width=10% bgcolor=") + colour +
           QStringLiteral(">") + unit + QStringLiteral("</td><td width=30% align=right bgcolor=") +
           colour + QStringLiteral(">") + amount + QStringLiteral("</td>") +
           QStringLiteral("</tr>");
}

// A row with the Daily Value column: the name's share of the width goes to the percentage.
QString dailyValueRow(const QString &colour, const ReportLine &line, double grams) {
    const double amount = grams / 100.0 * line.per100g;
    return QStringLiteral("<tr><td width=40% bgcolor=") + colour + QStringLiteral(">") +
           line.name.toHtmlEscaped() + QStringLiteral("</td><td width=10% bgcolor=") + colour +
           QStringLiteral(">") + line.unit.toHtmlEscaped() +
           QStringLiteral("</td><td width=26% align=right bgcolor=") + colour +
           QStringLiteral(">") + servingAmount(grams, line.per100g) +
           QStringLiteral("</td><td width=14% align=right bgcolor=") + colour +
           QStringLiteral(">") + dailyValueText(line.number, line.unit, amount) +
           QStringLiteral("</td></tr>");
}

// A row with the range column, and the percentage of the Daily Value when it is shown: the columns
// share the width in the smaller type.
QString rangeRow(const QString &colour, const ReportLine &line, double grams, bool dailyValue) {
    const auto cell = [&](int width, const QString &attributes, const QString &text) {
        return QStringLiteral("<td width=%1%%2 bgcolor=%3>%4</td>")
            .arg(width)
            .arg(attributes, colour, text);
    };
    // Units, amounts and percentages keep to one line; names and ranges wrap.
    const QString number = QStringLiteral(" align=right nowrap");
    QString row = QStringLiteral("<tr>") +
                  cell(dailyValue ? 24 : 34, QString(), line.name.toHtmlEscaped()) +
                  cell(10, QStringLiteral(" nowrap"), line.unit.toHtmlEscaped()) +
                  cell(24, number, servingAmount(grams, line.per100g));
    if (dailyValue)
        row +=
            cell(12, number, dailyValueText(line.number, line.unit, grams / 100.0 * line.per100g));
    return row +
           cell(dailyValue ? 30 : 32, QStringLiteral(" align=right"),
                servingRange(grams, line.basis)) +
           QStringLiteral("</tr>");
}

// The footnotes of a food and of its figures, each figure's named by its nutrient.
QStringList footnotes(const QList<ReportLine> &lines, const QStringList &foodNotes) {
    QStringList notes = foodNotes;
    for (const ReportLine &line : lines)
        if (!line.heading && !line.basis.footnote.isEmpty())
            notes << line.name + QStringLiteral(": ") + line.basis.footnote;
    return notes;
}

// The heading up to the opening of the nutrient table. A '<' of the data (FoodData Central has
// some) would start a tag and hide the text after it.
QString headingText(const QString &desc, const QString &group, const ReportColours &colours) {
    const QString lt = QStringLiteral("&lt;");
    return reportPageOpening(colours) + QStringLiteral("<table border=0 width=100%>") +
           QStringLiteral("<tr><td width=80%><b>") + QString(desc).replace(u'<', lt) +
           QStringLiteral("</b></td></tr><tr><td>Category: ") + QString(group).replace(u'<', lt) +
           QStringLiteral("</td></tr></table> \r\n<hr>");
}

} // namespace

QString reportPageOpening(const ReportColours &colours) {
    // A text colour goes with the shades, so that rows of a dark palette never get dark text.
    const QString textColour = colours.text.isEmpty() ? QString()
                                                      : QStringLiteral(" style=\"color:") +
                                                            colours.text + QStringLiteral("\"");
    return QStringLiteral("<qt bgcolor=") + colours.dark + textColour + QStringLiteral(">");
}

QString servingRange(double grams, const FigureBasis &basis) {
    // The USDA gives 0 analyses for a figure calculated from others: no count to show.
    const QString count =
        basis.analyses > 0 ? QStringLiteral("(%1)").arg(basis.analyses) : QString();
    if (std::isnan(basis.minimum) || std::isnan(basis.maximum))
        return count;
    const QString range =
        servingAmount(grams, basis.minimum) + QChar(0x2013) + servingAmount(grams, basis.maximum);
    return count.isEmpty() ? range : range + QLatin1Char(' ') + count;
}

QString servingAmount(double grams, double per100g) {
    if (std::isnan(per100g))
        return QStringLiteral("--");
    return QString::asprintf("%.3f", grams / 100.0 * per100g);
}

QString reportHeading(const QString &desc, const QString &group, const ReportColours &colours) {
    return headingText(desc, group, colours) + QStringLiteral("<table border=0 width=100%>");
}

QList<ReportLine> basicLines(const QList<double> &values) {
    QList<ReportLine> lines;
    for (int i = 0; i < basicRowCount; ++i) {
        const int k = basicIndex[i];
        lines << ReportLine{QLatin1String(basicLabels[i]),
                            QLatin1String(foodsNutrients[k].unit),
                            values.value(k, std::nan("")),
                            foodsNutrients[k].number,
                            false,
                            FigureBasis()};
    }
    return lines;
}

QList<ReportLine> detailedLines(const QList<double> &values) {
    QList<ReportLine> lines;
    for (int k = 0; k < nutrientCount; ++k) {
        const FoodsNutrient &nutrient = foodsNutrients[k];
        lines << ReportLine{QLatin1String(nutrient.name),
                            QLatin1String(nutrient.unit),
                            values.value(k, std::nan("")),
                            nutrient.number,
                            false,
                            FigureBasis()};
    }
    return lines;
}

QList<ReportLine> fullLines(const QList<FullNutrient> &nutrients) {
    QList<ReportLine> lines;
    bool first = true;
    NutrientGroup group = NutrientGroup::Proximates;
    for (const FullNutrient &n : nutrients) {
        const NutrientGroup g = nutrientGroup(n.order);
        if (first || g != group)
            lines << ReportLine{nutrientGroupName(g), QString(), 0.0, 0, true, FigureBasis()};
        first = false;
        group = g;
        lines << ReportLine{n.name, n.unit, n.per100g, n.number, false, n.basis};
    }
    return lines;
}

QString reportHtml(const QString &desc, const QString &group, const QList<ReportLine> &lines,
                   double grams, const ReportOptions &options, const QStringList &foodNotes) {
    const ReportColours &colours = options.colours;
    QString text;
    if (options.ranges) {
        text =
            headingText(desc, group, colours) +
            QStringLiteral("<table border=0 width=100% style=\"font-size:small\"><tr><td></td>"
                           "<td></td><td></td>") +
            (options.dailyValue ? QStringLiteral("<td align=right><b>%DV</b></td>") : QString()) +
            QStringLiteral("<td align=right><b>Range</b></td></tr>");
    } else if (options.dailyValue) {
        // Four columns fit a 240 pixel screen in the smaller type only.
        text = headingText(desc, group, colours) +
               QStringLiteral("<table border=0 width=100% style=\"font-size:small\"><tr><td></td>"
                              "<td></td><td></td><td align=right><b>%DV</b></td></tr>");
    } else {
        text = reportHeading(desc, group, colours);
    }
    int row = 0;
    for (const ReportLine &line : lines) {
        if (line.heading) {
            text += QStringLiteral("<tr><td colspan=%1><b>%2</b></td></tr>")
                        .arg(3 + int(options.dailyValue) + int(options.ranges))
                        .arg(line.name.toHtmlEscaped());
            row = 0; // each group starts light
        } else if (options.ranges) {
            text += rangeRow(rowColour(row++, colours), line, grams, options.dailyValue);
        } else if (options.dailyValue) {
            text += dailyValueRow(rowColour(row++, colours), line, grams);
        } else {
            // Names and units of the data may hold '&' or '<'; the catalogue's hold neither.
            text += tableRow(rowColour(row++, colours), line.name.toHtmlEscaped(),
                             line.unit.toHtmlEscaped(), servingAmount(grams, line.per100g));
        }
    }
    text += QStringLiteral("</table><br>");
    if (options.dailyValue)
        text += QStringLiteral("<small>") + dailyValueSource() + QStringLiteral("</small><br>");
    const QStringList notes = options.ranges ? footnotes(lines, foodNotes) : QStringList();
    if (!notes.isEmpty()) {
        text += QStringLiteral("<small><b>Footnotes:</b>");
        for (const QString &note : notes)
            text += QStringLiteral("<br>") + note.toHtmlEscaped();
        text += QStringLiteral("</small><br>");
    }
    return text + reportClosing();
}

QString reportPlainRows(const QList<ReportLine> &lines, double grams, bool dailyValue, bool ranges,
                        const QStringList &foodNotes) {
    QString text;
    for (const ReportLine &line : lines) {
        if (line.heading) {
            text += line.name + QLatin1Char('\n');
            continue;
        }
        text += line.name + QLatin1Char('\t') + line.unit + QLatin1Char('\t') +
                servingAmount(grams, line.per100g);
        if (dailyValue) {
            text += QLatin1Char('\t') +
                    dailyValueText(line.number, line.unit, grams / 100.0 * line.per100g);
        }
        if (ranges) {
            const FigureBasis &b = line.basis;
            const auto scaled = [grams](double value) {
                return std::isnan(value) ? QString() : servingAmount(grams, value);
            };
            text += QLatin1Char('\t') + servingRange(grams, b) + QLatin1Char('\t') +
                    scaled(b.median) + QLatin1Char('\t') + scaled(b.standardError) +
                    QLatin1Char('\t') + b.derivation + QLatin1Char('\t') + b.source;
        }
        text += QLatin1Char('\n');
    }
    const QStringList notes = ranges ? footnotes(lines, foodNotes) : QStringList();
    if (!notes.isEmpty())
        text += QStringLiteral("Footnotes:\n") + notes.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return text;
}
