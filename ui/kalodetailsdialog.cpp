// The modal details dialog: a food's nutrient report with copy, bookmark, serving and view tools.
#include "ui/kalodetailsdialog.h"

#include "details/nutritionlabel.h"
#include "details/servings.h"
#include "settings/bookmarks.h"
#include "ui/exportdialog.h"
#include "ui/pictures.h"
#include "ui/reportcolours.h"

#include <QAction>
#include <QClipboard>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>

#include <climits>
#include <memory>

namespace {

constexpr int noteMs = 1500;

QToolButton *toolButton(QWidget *parent, const char *objectName, const char *pictureName) {
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoRaise(true);
    button->setIcon(picture(QLatin1String(pictureName)));
    return button;
}

} // namespace

KALODetailsDialog::KALODetailsDialog(Settings &userSettings, QWidget *parent)
    : QDialog(parent)
    , settings(userSettings) {
    setModal(true);
    noteTimer.setSingleShot(true);
    noteTimer.setTimerType(Qt::PreciseTimer); // a coarse timer may end a note 75 ms early

    weightMenu = new QMenu(this);
    weightMenu->setObjectName(QStringLiteral("weightMenu"));
    buttonFrame = new QFrame(this);
    buttonFrame->setObjectName(QStringLiteral("buttonFrame"));
    reportBrowser = new QTextBrowser(this);
    reportBrowser->setObjectName(QStringLiteral("reportBrowser"));
    reportBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Units such as "mg_ATE" stay whole in their narrow column instead of breaking mid-word.
    reportBrowser->setWordWrapMode(QTextOption::WordWrap);
    // The width the label takes where the window is wider (fitLabelWidth).
    reportBrowser->setLineWrapColumnOrWidth(labelWidthPixels);

    copyButton = toolButton(buttonFrame, "copyButton", "copy.png_");
    bookmarkButton = toolButton(buttonFrame, "bookmarkButton", "bookmark_add.png_");
    weightButton = toolButton(buttonFrame, "weightButton", "down.png_");
    viewButton = toolButton(buttonFrame, "viewButton", "viewless.png_");

    view = ReportView::Basic;

    weightLabel = new QLabel(this);
    weightLabel->setObjectName(QStringLiteral("weightLabel"));

    connect(copyButton, &QToolButton::clicked, this, &KALODetailsDialog::copy);
    connect(bookmarkButton, &QToolButton::clicked, this, &KALODetailsDialog::addBookmark);
    connect(weightButton, &QToolButton::clicked, this, &KALODetailsDialog::selectWeight);
    connect(viewButton, &QToolButton::clicked, this, &KALODetailsDialog::changeView);
    connect(&noteTimer, &QTimer::timeout, this, &KALODetailsDialog::timeout);

    // Export and Print go with the keyboard; Export also from the report's context menu, so that
    // the strip keeps its four buttons.
    exportAction = new QAction(QStringLiteral("Export…"), this);
    exportAction->setObjectName(QStringLiteral("exportAction"));
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    addAction(exportAction);
    connect(exportAction, &QAction::triggered, this, &KALODetailsDialog::exportView);
    connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this,
            &KALODetailsDialog::print);
    reportBrowser->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(reportBrowser, &QWidget::customContextMenuRequested, this,
            &KALODetailsDialog::showReportMenu);

    if (parent) {
        qDebug("resizing");
        resize(parent->width(), parent->height());
    }
}

KALODetailsDialog::~KALODetailsDialog() = default;

ReportView KALODetailsDialog::defaultView(const Settings &settings) {
    if (settings.fullView)
        return ReportView::Full;
    return settings.basicView ? ReportView::Basic : ReportView::Detailed;
}

void KALODetailsDialog::setDetails(const FoodReport &report, int weightIndex) {
    if (parentWidget())
        resize(parentWidget()->width(), parentWidget()->height());

    shown = &report;
    shownWeight = weightIndex;
    shownId = report.id;
    shownDesc = report.desc;
    if (!report.found) {
        // Nothing to name the food by but its bookmark, if it has one, or its number: removing
        // and adding the bookmark again then restores the same pair.
        shownDesc = shownId;
        for (const BookmarkEntry &entry : bookmarkEntries(settings))
            if (entry.id == shownId)
                shownDesc = entry.text;
    }

    bookmarkButton->setIcon(picture(QLatin1String(
        isBookmarked(settings, shownId) ? "bookmark_remove.png_" : "bookmark_add.png_")));
    setWindowTitle(QStringLiteral("Details (") + shownId + QStringLiteral(")"));
    view = shownView(report, view);
    buildTexts();

    weightMenu->clear();
    menuWeights = report.weights;
    for (int i = 0; i < menuWeights.size(); ++i) {
        const QString text = servingMenuText(report.weightNames.value(i), menuWeights.at(i));
        QAction *action = weightMenu->addAction(text);
        action->setCheckable(true);
        action->setChecked(i == weightIndex);
        if (i == weightIndex)
            weightLabel->setText(text);
    }
}

void KALODetailsDialog::setView(ReportView opening) {
    view = opening;
}

ReportOptions KALODetailsDialog::shownOptions() const {
    ReportOptions options;
    options.colours = reportColours(reportBrowser->palette());
    options.dailyValue = settings.showDailyValue;
    options.ranges = settings.showRanges;
    return options;
}

void KALODetailsDialog::buildTexts() {
    const ReportOptions options = shownOptions();
    basicText = reportText(*shown, ReportView::Basic, shownWeight, options);
    detailedText = reportText(*shown, ReportView::Detailed, shownWeight, options);
    fullText = shown->full.isEmpty() ? QString()
                                     : reportText(*shown, ReportView::Full, shownWeight, options);
    labelText = QString();
    showView();
}

void KALODetailsDialog::showView() {
    // The picture tells what the button brings next: more rows, the full record, the label, or
    // fewer again.
    const char *next = "viewless.png_";
    const QString *text = &labelText;
    switch (view) {
    case ReportView::Basic:
        next = "viewmore.png_";
        text = &basicText;
        break;
    case ReportView::Detailed:
        next = shown->full.isEmpty() ? "label.png_" : "viewfull.png_";
        text = &detailedText;
        break;
    case ReportView::Full:
        next = "label.png_";
        text = &fullText;
        break;
    case ReportView::Label:
        if (labelText.isNull())
            labelText = reportText(*shown, ReportView::Label, shownWeight, shownOptions());
        break;
    }
    viewButton->setIcon(picture(QLatin1String(next)));
    // The full record is always longer than a screen: with the scroll bar there from the start
    // the text is laid out once instead of again when the bar appears, twice as fast.
    reportBrowser->setVerticalScrollBarPolicy(view == ReportView::Full ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAsNeeded);
    reportBrowser->setHtml(*text);
    // After the new text, so that a long report is not laid out again at the label's width.
    fitLabelWidth();
}

void KALODetailsDialog::fitLabelWidth() {
    const bool narrowed =
        view == ReportView::Label && reportBrowser->viewport()->width() > labelWidthPixels;
    reportBrowser->setLineWrapMode(narrowed ? QTextEdit::FixedPixelWidth : QTextEdit::WidgetWidth);
}

void KALODetailsDialog::changeEvent(QEvent *event) {
    // A new palette (a dark desktop theme switched on) recolours the report at once.
    if (event->type() == QEvent::PaletteChange && shown)
        buildTexts();
    QDialog::changeEvent(event);
}

void KALODetailsDialog::resizeEvent(QResizeEvent *) {
    const int w = width();
    const int h = height();
    buttonFrame->setGeometry(0, 0, w, 24);
    copyButton->setGeometry(1, 2, 20, 20);
    bookmarkButton->setGeometry(copyButton->x() + copyButton->width() + 4, 2, 20, 20);
    viewButton->setGeometry(bookmarkButton->x() + bookmarkButton->width() + 4, 2, 20, 20);
    weightLabel->setGeometry(w - 140, 0, 140, 24);
    weightButton->setGeometry(w - weightLabel->width() - 24, 2, 20, 20);
    reportBrowser->setGeometry(0, buttonFrame->height(), w, h - buttonFrame->height());
    fitLabelWidth();
}

void KALODetailsDialog::showNote(const QString &note) {
    setWindowTitle(note);
    noteTimer.start(noteMs);
}

void KALODetailsDialog::copy() {
    // With nothing selected the whole view goes, with what it is and where it comes from.
    if (reportBrowser->textCursor().hasSelection() || !shown) {
        reportBrowser->copy();
    } else {
        QGuiApplication::clipboard()->setText(reportPlainText(
            *shown, view, shownWeight, settings.showDailyValue, settings.showRanges));
    }
    showNote(QStringLiteral("Selection Copied"));
}

void KALODetailsDialog::addBookmark() {
    // An empty bookmark would match nothing later.
    if (shownId.isEmpty())
        return;
    if (isBookmarked(settings, shownId)) {
        removeBookmarkEntry(settings, shownId);
        bookmarkButton->setIcon(picture(QStringLiteral("bookmark_add.png_")));
        showNote(QStringLiteral("Bookmark Removed"));
    } else {
        addBookmarkEntry(settings, shownId, shownDesc);
        bookmarkButton->setIcon(picture(QStringLiteral("bookmark_remove.png_")));
        showNote(QStringLiteral("Bookmark Added"));
    }
    emit bookmarksChanged();
}

void KALODetailsDialog::selectWeight() {
    const QPoint at(weightButton->mapToGlobal(QPoint(0, 0)).x(),
                    buttonFrame->mapToGlobal(QPoint(0, buttonFrame->height())).y() +
                        reportBrowser->frameWidth());
    const QList<QAction *> actions = weightMenu->actions();
    QAction *chosen = weightMenu->exec(at, actions.value(0));
    const int r = chosen ? int(actions.indexOf(chosen)) : -1;
    if (r < 0)
        return;
    for (int i = 0; i < actions.size(); ++i)
        actions.at(i)->setChecked(i == r);
    emit valueChanged(r);
}

void KALODetailsDialog::changeView() {
    if (!shown)
        return;
    view = nextView(*shown, view);
    showView();
    static const char *const notes[] = {"Basic View", "Detailed View", "Full View", "Label View"};
    showNote(QLatin1String(notes[int(view)]));
}

void KALODetailsDialog::timeout() {
    setWindowTitle(QStringLiteral("Details (") + shownId + QStringLiteral(")"));
}

void KALODetailsDialog::showReportMenu(const QPoint &position) {
    // The standard entries (Copy, Select All, a link's) take the point in the document.
    const QPoint inDocument = position + QPoint(reportBrowser->horizontalScrollBar()->value(),
                                                reportBrowser->verticalScrollBar()->value());
    const std::unique_ptr<QMenu> menu(reportBrowser->createStandardContextMenu(inDocument));
    menu->addSeparator();
    menu->addAction(exportAction);
    menu->exec(reportBrowser->viewport()->mapToGlobal(position));
}

void KALODetailsDialog::exportView() {
    if (!shown)
        return;
    // The custom weight's name says nothing of its grams.
    QString serving = shown->weightNames.value(shownWeight);
    if (shownWeight == shown->weights.size() - 1)
        serving = QString::number(shown->weights.value(shownWeight), 'g', 6) + QStringLiteral(" g");
    const ExportChoice choice = askExportPath(this, shownDesc, serving,
                                              {{QStringLiteral("CSV"), QStringLiteral("csv")},
                                               {QStringLiteral("HTML"), QStringLiteral("html")},
                                               {QStringLiteral("PDF"), QStringLiteral("pdf")}});
    if (!choice.path.isNull())
        exportTo(choice.path, ReportFormat(choice.filter));
}

bool KALODetailsDialog::exportTo(const QString &path, ReportFormat format) {
    if (!shown)
        return false;
    const QString error = saveReport(path, format, *shown, view, shownWeight, shownOptions());
    if (error.isNull())
        return true;
    QMessageBox::warning(this, QStringLiteral("KALO"),
                         QStringLiteral("The report could not be exported to %1:\n%2")
                             .arg(QDir::toNativeSeparators(path), error));
    return false;
}

void KALODetailsDialog::print() {
    if (!shown)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(shownDesc);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

bool KALODetailsDialog::printTo(QPrinter &printer) {
    if (!shown)
        return false;
    if (paintPages(printedReport(*shown, view, shownWeight, shownOptions()), printer,
                   view == ReportView::Label ? labelWidthPixels : INT_MAX))
        return true;
    QMessageBox::warning(this, QStringLiteral("KALO"),
                         QStringLiteral("The report could not be printed: the printer cannot be "
                                        "written to."));
    return false;
}
