// A food's report view as it leaves the program: a CSV, HTML or PDF file, or printed pages.
#pragma once

#include "details/foodreport.h"

#include <QString>

class QPagedPaintDevice;

enum class ReportFormat { Csv, Html, Pdf };

// The view of the report for the serving, with the Daily Value and ranges as shown, written to
// the file in the light colours: through a temporary file that takes the file's name once it is
// complete. The reason when it could not be written (nothing is left behind then); null when it
// was.
QString saveReport(const QString &path, ReportFormat format, const FoodReport &report,
                   ReportView view, int weightIndex, const ReportOptions &options);

// The rich text on the device's pages, laid out as on a 96 dpi screen at most maxWidth pixels
// wide, on a white page. False when the device cannot be painted on.
bool paintPages(const QString &html, QPagedPaintDevice &device, int maxWidth);

// The page of a view for paper or a file (reportPage), in the light colours.
QString printedReport(const FoodReport &report, ReportView view, int weightIndex,
                      const ReportOptions &options);
