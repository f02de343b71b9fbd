// The modal details dialog: a food's nutrient report with copy, bookmark, serving and view tools.
#pragma once

#include "details/foodreport.h"
#include "ui/reportoutput.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QTimer>

struct Settings;
class QAction;
class QEvent;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QResizeEvent;
class QTextBrowser;
class QToolButton;

class KALODetailsDialog : public QDialog {
    Q_OBJECT
public:
    // The bookmark button adds and removes bookmarks in the settings, whose Daily Value choice
    // the report follows.
    KALODetailsDialog(Settings &settings, QWidget *parent);
    ~KALODetailsDialog() override;

    // The view the Options page chose as the default.
    static ReportView defaultView(const Settings &settings);

    // Takes a complete new report and updates every widget: texts, caption, bookmark picture, the
    // serving menu with weightIndex checked. Sizes the dialog to its parent. The report stays the
    // caller's (the window's report state): it must outlive the dialog's showing of it.
    void setDetails(const FoodReport &report, int weightIndex);
    // The view the next setDetails shows (Full falls back to Detailed for a food without its full
    // record).
    void setView(ReportView view);

    // Writes the shown view and serving to the file, as Export… does once a file is chosen; a
    // file that cannot be written gives a box with the reason. False when it was not written.
    bool exportTo(const QString &path, ReportFormat format);
    // Prints the shown view on the printer, as Print does once its dialog is accepted.
    bool printTo(QPrinter &printer);

signals:
    void valueChanged(int weightIndex);
    void bookMarkAdded(QString id);
    void bookmarksChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void copy();
    void addBookmark();
    void selectWeight();
    void changeView();
    void timeout();
    void exportView();
    void print();
    void showReportMenu(const QPoint &position);

private:
    // Shows a short note as the caption; the caption returns 1.5 s after the last note.
    void showNote(const QString &note);
    // Builds the texts of every view for the report, serving and palette, then shows the view.
    void buildTexts();
    void showView();
    // The label keeps a label's width on a wide window; the report views take the whole width.
    void fitLabelWidth();
    ReportOptions shownOptions() const;

    Settings &settings;
    QTextBrowser *reportBrowser = nullptr;
    QString basicText;
    QString detailedText;
    QString fullText;
    QString labelText; // made when first shown
    QFrame *buttonFrame = nullptr;
    QToolButton *copyButton = nullptr;
    QToolButton *bookmarkButton = nullptr;
    QToolButton *weightButton = nullptr;
    QToolButton *viewButton = nullptr;
    QLabel *weightLabel = nullptr;
    QMenu *weightMenu = nullptr;
    QAction *exportAction = nullptr;
    QList<double> menuWeights;
    ReportView view = ReportView::Basic;
    const FoodReport *shown = nullptr;
    int shownWeight = 0;
    QString shownId;
    QString shownDesc;
    QTimer noteTimer;
};
