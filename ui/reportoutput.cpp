// A food's report view as it leaves the program: a CSV, HTML or PDF file, or printed pages.
#include "ui/reportoutput.h"

#include "details/nutritionlabel.h"
#include "details/reportexport.h"
#include "platform/csvtext.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>

#include <climits>

namespace {

constexpr double screenDpi = 96.0;

QString pageTitle(const FoodReport &report, int weightIndex) {
    return report.desc + QStringLiteral(" - ") + report.weightNames.value(weightIndex);
}

} // namespace

QString printedReport(const FoodReport &report, ReportView view, int weightIndex,
                      const ReportOptions &options) {
    ReportOptions light = options;
    light.colours = ReportColours();
    return reportPage(report, view, weightIndex, light);
}

QString saveReport(const QString &path, ReportFormat format, const FoodReport &report,
                   ReportView view, int weightIndex, const ReportOptions &options) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QString page = printedReport(report, view, weightIndex, options);
    switch (format) {
    case ReportFormat::Csv:
        file.write(csvBytes(reportCsvRecords(report, view, weightIndex, options)));
        break;
    case ReportFormat::Html:
        file.write(standaloneHtml(pageTitle(report, weightIndex), page).toUtf8());
        break;
    case ReportFormat::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setTitle(pageTitle(report, weightIndex));
        pdf.setCreator(QStringLiteral("KALO"));
        // The paper of the user's country: letter where inches are the measure.
        const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
        pdf.setPageLayout(QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4),
                                      QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
        if (!paintPages(page, pdf, view == ReportView::Label ? labelWidthPixels : INT_MAX))
            return QStringLiteral("The PDF could not be made");
        break;
    }
    }
    // A failed write is seen at the commit, which then leaves nothing behind.
    if (!file.commit())
        return file.errorString();
    return QString();
}

bool paintPages(const QString &html, QPagedPaintDevice &device, int maxWidth) {
    QTextDocument document;
    document.setHtml(html);
    // Paper is white: the page's own shade stays on the screen.
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.clearBackground();
    document.rootFrame()->setFrameFormat(root);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scaleX = device.logicalDpiX() / screenDpi;
    const double scaleY = device.logicalDpiY() / screenDpi;
    const QSizeF page(device.width() / scaleX, device.height() / scaleY);
    // With a page size the layout keeps every line on one page.
    document.setPageSize(QSizeF(qMin(page.width(), double(maxWidth)), page.height()));
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.scale(scaleX, scaleY);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        painter.save();
        const QRectF shown(0, i * page.height(), page.width(), page.height());
        painter.translate(0, -shown.top());
        painter.setClipRect(shown);
        context.clip = shown;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}
