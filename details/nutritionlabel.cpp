// The Nutrition Facts label of a food's serving: the rounding of its figures, its lines and its
// rich text.
#include "details/nutritionlabel.h"

#include "db/foodsschema.h"
#include "details/dailyvalues.h"

#include <cmath>
#include <limits>

namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// Half up; the small allowance keeps a figure such as 0.35 (3.4999... tenths in binary) from
// falling to the step below.
double nearest(double value, double step) {
    return std::floor(value / step + 0.5 + 1e-9) * step;
}

QString figureText(double value) {
    return QString::number(value, 'g', 12);
}

// How a line looks on the label.
enum class LineStyle { Calories, Main, Sub, Included, Vitamin };

struct LineSource {
    const char *name;
    const char *unit;
    int number; // USDA nutrient number; 0: the report's calories
    LabelRounding rule;
    LineStyle style;
};

const LineSource lineSources[] = {
    {"Calories", "", 0, LabelRounding::Calories, LineStyle::Calories},
    {"Total Fat", "g", 204, LabelRounding::Fat, LineStyle::Main},
    {"Saturated Fat", "g", 606, LabelRounding::Fat, LineStyle::Sub},
    {"Trans Fat", "g", 605, LabelRounding::Fat, LineStyle::Sub},
    {"Cholesterol", "mg", 601, LabelRounding::Cholesterol, LineStyle::Main},
    {"Sodium", "mg", 307, LabelRounding::Sodium, LineStyle::Main},
    {"Total Carbohydrate", "g", 205, LabelRounding::Grams, LineStyle::Main},
    {"Dietary Fiber", "g", 291, LabelRounding::Grams, LineStyle::Sub},
    {"Total Sugars", "g", 269, LabelRounding::Grams, LineStyle::Sub},
    {"Added Sugars", "g", 539, LabelRounding::Grams, LineStyle::Included},
    {"Protein", "g", 203, LabelRounding::Grams, LineStyle::Main},
    {"Vitamin D", "mcg", 328, LabelRounding::Vitamin, LineStyle::Vitamin},
    {"Calcium", "mg", 301, LabelRounding::Vitamin, LineStyle::Vitamin},
    {"Iron", "mg", 303, LabelRounding::Vitamin, LineStyle::Vitamin},
    {"Potassium", "mg", 306, LabelRounding::Vitamin, LineStyle::Vitamin},
};

// The food's figure per 100 g: its whole record's where that has one, else the catalogue's.
double recordPer100g(const FoodReport &report, int number) {
    for (const FullNutrient &n : report.full) {
        if (n.number == number && !std::isnan(n.per100g))
            return n.per100g;
    }
    for (int i = 0; i < foodsNutrientCount; ++i) {
        if (foodsNutrients[i].number == number)
            return report.values.value(i, unknown);
    }
    return unknown;
}

double linePer100g(const FoodReport &report, const LineSource &source) {
    if (source.number == 0)
        return report.values.value(0, unknown); // Energ_Kcal, as the report shows it
    const double value = recordPer100g(report, source.number);
    if (!std::isnan(value))
        return value;
    if (source.number == 269) {
        // A FoodData Central download may number its total sugars otherwise (with a number that
        // is no whole number, or one another nutrient took first): the name tells them then.
        for (const FullNutrient &n : report.full) {
            if (n.name.compare(QLatin1String("Sugars, Total"), Qt::CaseInsensitive) == 0 &&
                !std::isnan(n.per100g))
                return n.per100g;
        }
    }
    if (source.number == 328)
        return recordPer100g(report, 324) * 0.025; // vitamin D in IU: 1 IU is 0.025 mcg
    return unknown;
}

// The Daily Value in the line's unit, as the report's percentages use it.
double dailyValue(const LineSource &source) {
    return 100.0 / dailyValuePercent(source.number, QLatin1String(source.unit), 1.0);
}

QString ink(const ReportColours &colours) {
    return colours.text.isEmpty() ? QStringLiteral("#000000") : colours.text;
}

// A bar across the label: the height of an empty line in a type of the given size.
QString bar(const QString &colour, int pixels, int columns) {
    return QStringLiteral("<tr><td colspan=%1 bgcolor=%2 style=\"font-size:%3px\"></td></tr>")
        .arg(columns)
        .arg(colour)
        .arg(pixels);
}

QString amountText(const LabelLine &line) {
    return line.figure.given ? line.figure.amount + line.unit : QStringLiteral("not given");
}

// A nutrient's row with a thin rule above it (none for the first after a bar). The added sugars'
// rule starts at the indent of the line above, to show that they are part of the total sugars.
QString lineRow(const LabelLine &line, LineStyle style, const QString &rule) {
    const QString border =
        rule.isEmpty() ? QString() : QStringLiteral("border-top:1px solid ") + rule;
    QString name = line.name;
    if (line.name == QLatin1String("Trans Fat"))
        name = QStringLiteral("<i>Trans</i> Fat");
    QString text;
    switch (style) {
    case LineStyle::Main:
        text = QStringLiteral("<b>") + name + QStringLiteral("</b> ") + amountText(line);
        break;
    case LineStyle::Included:
        text = line.figure.given
                   ? QStringLiteral("Includes ") + amountText(line) + QLatin1Char(' ') + name
                   : name + QStringLiteral(" not given");
        break;
    default:
        text = name + QLatin1Char(' ') + amountText(line);
        break;
    }
    const QString percent =
        line.figure.percent.isEmpty() ? QString() : line.figure.percent + QLatin1Char('%');
    const QString percentCell =
        QStringLiteral("<td width=1% align=right style=\"white-space:nowrap;%1\">%2</td></tr>")
            .arg(border, style == LineStyle::Vitamin || percent.isEmpty()
                             ? percent
                             : QStringLiteral("<b>") + percent + QStringLiteral("</b>"));
    switch (style) {
    case LineStyle::Sub:
        return QStringLiteral("<tr><td colspan=2 style=\"padding-left:12px;%1\">%2</td>")
                   .arg(border, text) +
               percentCell;
    case LineStyle::Included:
        return QStringLiteral("<tr><td width=12></td><td style=\"padding-left:12px;%1\">%2</td>")
                   .arg(border, text) +
               percentCell;
    default:
        break;
    }
    return QStringLiteral("<tr><td colspan=2 style=\"%1\">%2</td>").arg(border, text) + percentCell;
}

} // namespace

LabelFigure labelFigure(LabelRounding rule, double amount, double dailyValue) {
    LabelFigure figure;
    if (std::isnan(amount))
        return figure;
    figure.given = true;
    double declared = 0.0;
    QString lessThan; // the bound of a "Less than" declaration
    switch (rule) {
    case LabelRounding::Calories:
        // (c)(1): under 5 is 0; up to and including 50, the nearest 5; above, the nearest 10.
        declared = amount < 5 ? 0.0 : nearest(amount, amount <= 50 ? 5 : 10);
        break;
    case LabelRounding::Fat:
        // (c)(2): under 0.5 g is 0; under 5 g, the nearest 0.5 g; from 5 g, the nearest 1 g.
        declared = amount < 0.5 ? 0.0 : nearest(amount, amount < 5 ? 0.5 : 1);
        break;
    case LabelRounding::Cholesterol:
        // (c)(3): under 2 mg is 0; 2 to 5 mg, "Less than 5mg"; above, the nearest 5 mg.
        if (amount >= 2 && amount <= 5)
            lessThan = QStringLiteral("5");
        else
            declared = amount < 2 ? 0.0 : nearest(amount, 5);
        break;
    case LabelRounding::Sodium:
        // (c)(4): under 5 mg is 0; up to and including 140 mg, the nearest 5 mg; above, the
        // nearest 10 mg.
        declared = amount < 5 ? 0.0 : nearest(amount, amount <= 140 ? 5 : 10);
        break;
    case LabelRounding::Grams:
        // (c)(6)(i)-(iv) carbohydrate, fiber, sugars, added sugars, (c)(7) protein: under 0.5 g
        // is 0; under 1 g, "Less than 1g"; from 1 g, the nearest 1 g.
        if (amount >= 0.5 && amount < 1)
            lessThan = QStringLiteral("1");
        else
            declared = amount < 0.5 ? 0.0 : nearest(amount, 1);
        break;
    case LabelRounding::Vitamin:
        // (c)(8)(iii), (c)(8)(iv): by the size of the Daily Value: under 25 units (iron 18 mg,
        // vitamin D 20 mcg), the nearest 0.1; from 25 to under 250, the nearest 1; from 250
        // (calcium 1300 mg, potassium 4700 mg), the nearest 10.
        declared = nearest(amount, !(dailyValue >= 25) ? 0.1 : dailyValue < 250 ? 1 : 10);
        break;
    }
    figure.amount =
        lessThan.isEmpty() ? figureText(declared) : QStringLiteral("Less than ") + lessThan;
    if (!(dailyValue > 0))
        return figure;
    const double percent = (lessThan.isEmpty() ? declared : amount) / dailyValue * 100.0;
    if (rule == LabelRounding::Vitamin) {
        // (c)(8)(iii): under 2 % is 0; up to and including 10 %, the nearest 2 %; up to and
        // including 50 %, the nearest 5 %; above, the nearest 10 %.
        const double step = percent <= 10 ? 2 : percent <= 50 ? 5 : 10;
        figure.percent = figureText(percent < 2 ? 0.0 : nearest(percent, step));
    } else {
        // (d)(7)(ii): the nearest whole percent.
        figure.percent = figureText(nearest(percent, 1));
    }
    return figure;
}

QList<LabelLine> nutritionLabelLines(const FoodReport &report, int weightIndex) {
    const double grams = report.weights.value(weightIndex);
    QList<LabelLine> lines;
    for (const LineSource &source : lineSources) {
        const double amount = grams / 100.0 * linePer100g(report, source);
        lines << LabelLine{QLatin1String(source.name), QLatin1String(source.unit),
                           labelFigure(source.rule, amount, dailyValue(source))};
    }
    return lines;
}

QString labelServingSize(const FoodReport &report, int weightIndex) {
    const double grams = report.weights.value(weightIndex);
    // A serving of a few grams keeps its tenths, so that it never reads as 0g.
    const QString weight = figureText(nearest(grams, grams < 2 ? 0.1 : 1)) + QLatin1Char('g');
    if (weightIndex == report.weights.size() - 1)
        return weight;
    return report.weightNames.value(weightIndex) + QStringLiteral(" (") + weight + QLatin1Char(')');
}

QString labelFootnote() {
    return QStringLiteral("* The % Daily Value (DV) tells you how much a nutrient in a serving of "
                          "food contributes to a daily diet. 2,000 calories a day is used for "
                          "general nutrition advice.");
}

QString nutritionLabelHtml(const FoodReport &report, int weightIndex,
                           const ReportColours &colours) {
    ReportOptions options;
    options.colours = colours;
    if (!report.found)
        return reportText(report, ReportView::Basic, weightIndex, options);
    const QString rule = ink(colours);
    const QList<LabelLine> lines = nutritionLabelLines(report, weightIndex);
    const LabelLine &calories = lines.first();
    // The sizes follow the FDA's label: a heading of the largest type, the calories in large type,
    // the figures in the text's own size and the footnote smaller.
    QString html = reportPageOpening(colours) + QStringLiteral("<p><b>") +
                   QString(report.desc).replace(u'<', QStringLiteral("&lt;")) +
                   QStringLiteral("</b></p>");
    html += QStringLiteral("<table width=100% cellspacing=0 cellpadding=0 border=1 "
                           "style=\"border-style:solid;border-color:%1;border-collapse:collapse\" "
                           "bgcolor=%2><tr><td style=\"padding:4px\">")
                .arg(rule, colours.light);
    html +=
        QStringLiteral(
            "<table width=100% cellspacing=0 cellpadding=1>"
            "<tr><td colspan=2 style=\"font-size:xx-large;font-weight:bold\">"
            "Nutrition Facts</td></tr>"
            "<tr><td style=\"white-space:nowrap;border-top:1px solid %1\"><b>Serving size</b></td>"
            "<td align=right style=\"border-top:1px solid %1\"><b>")
            .arg(rule) +
        labelServingSize(report, weightIndex).toHtmlEscaped() + QStringLiteral("</b></td></tr>");
    html += bar(rule, 10, 2) +
            QStringLiteral(
                "<tr><td colspan=2 style=\"font-size:small\"><b>Amount per serving</b>"
                "</td></tr><tr><td style=\"font-size:x-large;font-weight:bold;white-space:nowrap\">"
                "Calories</td><td align=right style=\"font-size:%1;font-weight:bold\">"
                "%2</td></tr>")
                .arg(calories.figure.given ? QStringLiteral("xx-large") : QStringLiteral("medium"),
                     calories.figure.given ? calories.figure.amount : QStringLiteral("not given"));
    html += bar(rule, 5, 2) + QStringLiteral("</table>");
    html += QStringLiteral("<table width=100% cellspacing=0 cellpadding=1><tr><td colspan=3 "
                           "align=right style=\"font-size:small\"><b>% Daily Value*</b></td></tr>");
    for (int i = 1; i < lines.size(); ++i) {
        const LineStyle style = lineSources[i].style;
        if (style == LineStyle::Vitamin && lineSources[i - 1].style != LineStyle::Vitamin)
            html += bar(rule, 10, 3) + lineRow(lines[i], style, QString());
        else
            html += lineRow(lines[i], style, rule);
    }
    html += bar(rule, 5, 3) + QStringLiteral("<tr><td colspan=3 style=\"font-size:small\">") +
            labelFootnote() + QStringLiteral("</td></tr></table></td></tr></table></qt>");
    return html;
}
