// A food's report and label as they leave the program: CSV records and a standalone HTML page.
#include "details/reportexport.h"

#include "details/dailyvalues.h"
#include "details/nutritionlabel.h"

#include <cmath>

namespace {

// A nutrient's record. The columns an option shows follow the amount, each in the same place here
// and in the header: the percentage of the Daily Value, and after it any further one (a range).
QStringList reportRecord(const ReportLine &line, double grams, const ReportOptions &options) {
    QStringList record{line.name, line.unit,
                       std::isnan(line.per100g) ? QString() : servingAmount(grams, line.per100g)};
    if (options.dailyValue) {
        const QString percent =
            dailyValueText(line.number, line.unit, grams / 100.0 * line.per100g);
        record << (percent.endsWith(u'%') ? percent.chopped(1) : QString());
    }
    if (options.ranges)
        record << servingRange(grams, line.basis);
    return record;
}

} // namespace

QList<QStringList> reportCsvRecords(const FoodReport &report, ReportView view, int weightIndex,
                                    const ReportOptions &options) {
    if (view == ReportView::Label) {
        const QList<QStringList> records = labelCsvRecords(report, weightIndex);
        return report.found ? records : records.mid(0, 1);
    }
    QStringList header{QStringLiteral("Nutrient"), QStringLiteral("Unit"),
                       QStringLiteral("Amount")};
    if (options.dailyValue)
        header << QStringLiteral("% Daily Value");
    // As the report shows them: in the full view only.
    ReportOptions shown = options;
    shown.ranges = options.ranges && shownView(report, view) == ReportView::Full;
    if (shown.ranges)
        header << QStringLiteral("Range");
    QList<QStringList> records{header};
    if (!report.found)
        return records;
    const double grams = report.weights.value(weightIndex);
    for (const ReportLine &line : reportLines(report, view)) {
        if (!line.heading)
            records << reportRecord(line, grams, shown);
    }
    return records;
}

QString reportPage(const FoodReport &report, ReportView view, int weightIndex,
                   const ReportOptions &options) {
    QString page = reportText(report, view, weightIndex, options);
    if (!report.found || shownView(report, view) == ReportView::Label)
        return page;
    // Under the heading's rule, as the copied text has it.
    const QString serving =
        QStringLiteral("Serving: ") + report.weightNames.value(weightIndex).toHtmlEscaped() +
        QStringLiteral(", ") + QString::number(report.weights.value(weightIndex), 'g', 10) +
        QStringLiteral(" g<br>");
    const qsizetype rule = page.indexOf(QLatin1String("<hr>"));
    return rule < 0 ? page : page.insert(rule + 4, serving);
}

QList<QStringList> labelCsvRecords(const FoodReport &report, int weightIndex) {
    QList<QStringList> records{{QStringLiteral("Line"), QStringLiteral("Amount"),
                                QStringLiteral("Unit"), QStringLiteral("% Daily Value")}};
    for (const LabelLine &line : nutritionLabelLines(report, weightIndex)) {
        records << QStringList{line.name,
                               line.figure.given ? line.figure.amount : QStringLiteral("not given"),
                               line.figure.given ? line.unit : QString(), line.figure.percent};
    }
    return records;
}

QString standaloneHtml(const QString &title, const QString &page) {
    QString body = page;
    QString attributes;
    if (body.startsWith(QLatin1String("<qt"))) {
        const qsizetype end = body.indexOf(u'>');
        attributes = body.mid(3, end - 3);
        body.remove(0, end + 1);
    }
    if (body.endsWith(QLatin1String("</qt>")))
        body.chop(5);
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>") +
           title.toHtmlEscaped() + QStringLiteral("</title>\n</head>\n<body") + attributes +
           QStringLiteral(">\n") + body + QStringLiteral("\n</body>\n</html>\n");
}
