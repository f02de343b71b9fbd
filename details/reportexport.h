// A food's report and label as they leave the program: CSV records and a standalone HTML page.
#pragma once

#include "details/foodreport.h"
#include "details/nutrientreport.h"

#include <QList>
#include <QString>
#include <QStringList>

// The view's nutrients for the serving at the index as CSV records (csvBytes writes them), header
// first: name, unit and amount (empty where unknown), then with the Daily Value its percentage as
// the report shows it, without "%", and with the ranges of the full view the range. A group heading
// of the full view is no nutrient and has no record. A food not found has the header alone. The
// label's records are labelCsvRecords.
QList<QStringList> reportCsvRecords(const FoodReport &report, ReportView view, int weightIndex,
                                    const ReportOptions &options = ReportOptions());

// The view for the serving as a page that leaves the program (a file, paper): the report with the
// serving named under its heading, or the label, which names it itself.
QString reportPage(const FoodReport &report, ReportView view, int weightIndex,
                   const ReportOptions &options = ReportOptions());

// The label's lines for the serving as CSV records, header first: line, declared amount ("not
// given" where the data does not give it), unit and percentage of the Daily Value.
QList<QStringList> labelCsvRecords(const FoodReport &report, int weightIndex);

// A report page or label (the program's rich text, "<qt ...>...</qt>") as a standalone HTML
// document with a UTF-8 charset and the title; the page's colours go to its body.
QString standaloneHtml(const QString &title, const QString &page);
