// A food list: one row per food, its readable description, optional amounts, its hidden number.
#pragma once

#include "db/wordindex.h"

#include <QTableView>

#include <climits>
#include <memory>

class CsvFileWriter;
class FinderStream;
class FoodListModel;
class FoodStream;
class QAction;
class ResultRows;
struct BookmarkEntry;

// A view over a model that makes rows only as they are shown, so that a list of two million foods
// costs little more than one of a hundred. (A table view, not a tree view: a tree view keeps an
// item per row.) The sort chosen by clicking a header stays when the list is filled again; a list
// filled in Best Match order shows no sort column until a header is clicked.
//
// Every list is exported ("Export…" in its context menu, Ctrl+E) and copied (Ctrl+C) whole, header
// first: the food number and the columns as shown.
class FoodList : public QTableView {
    Q_OBJECT
public:
    // A list with the given column titles (one or two) sorted by its first column ascending, or,
    // with a value column, by the value descending.
    FoodList(const QStringList &headers, const QString &objectName, QWidget *parent);
    ~FoodList() override;

    // Replaces the rows by those of a query result: column 0 the food number, column 1 the stored
    // description (shown expanded through the word index), column 2 the value when withValue.
    void fill(const ResultRows &rows, bool withValue, const WordIndex &words);
    // Replaces the rows by the bookmarks, which carry their own descriptions.
    void fill(const QList<BookmarkEntry> &bookmarks);
    // Replaces the rows by those of a started stream: in Best Match order when it is ranked, else
    // read in nameOrder().
    void fill(std::unique_ptr<FoodStream> foods);
    // Replaces the rows by those of a started Find by Nutrients stream (none: no rows) in its
    // order, with a column of each of its values under these titles after the description.
    void fill(std::unique_ptr<FinderStream> foods, const QStringList &valueHeaders);
    // The description order the list shows, in which a stream for it is best read.
    Qt::SortOrder nameOrder() const;
    bool isFilling() const;
    // Reads the rest of the stream now, or, with a limit, until more rows than that are read:
    // false then, and the rest follows a slice at a time.
    bool finishFilling(int rowLimit = INT_MAX);

    void setValueHeader(const QString &text);

    int rowCount() const;
    QString foodId(int row) const;
    QString text(int row, int column) const;
    // The food numbers of the selected rows, top to bottom.
    QStringList selectedFoodIds() const;

    // What the list's export is called: "<subject> - <detail>.csv".
    void setExportName(const QString &subject, const QString &detail = QString());
    // Writes every row to a CSV file, once a stream has read them all, a slice at a time; the
    // window answers meanwhile. The list filled again or sorted anew cancels it. A failure shows
    // a box with the reason; exportFinished tells the end either way.
    void exportTo(const QString &path);
    bool isExporting() const;
    // The header and every row on the clipboard, tab-separated. Above copyRowLimit rows nothing
    // is copied: a box says to export them.
    void copyRows();
    static constexpr int copyRowLimit = 100000;

signals:
    // A plain click on a food row (a click with Ctrl or Shift only selects), or Return or Enter on
    // the current one.
    void foodChosen(const QString &foodId);
    // The rows of a stream are all in; or reading them failed after the first ones.
    void filled();
    void fillFailed(const QString &message);
    void exportFinished(bool ok, const QString &error);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyboardSearch(const QString &search) override;

private:
    void showSort(int column, Qt::SortOrder order);
    void chooseRow(const QModelIndex &index);
    void chooseExportFile();
    void startExport();
    void endExport(bool ok, const QString &error);
    QStringList exportHeader() const;
    QStringList rowFields(int row) const;

    FoodListModel *foods;
    bool withValueColumn;
    int sortColumn; // chosen with the header: the sort a refill keeps
    Qt::SortOrder sortOrder;
    Qt::KeyboardModifiers clickModifiers = Qt::NoModifier;
    QAction *exportAction = nullptr;
    QString exportSubject;
    QString exportDetail;
    QString exportPath; // of the export waiting for its rows or being written
    std::unique_ptr<CsvFileWriter> writer;
};
