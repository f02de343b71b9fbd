// A food list: one row per food, its readable description, optional amounts, its hidden number.
#include "ui/foodlist.h"

#include "db/resultrows.h"
#include "finding/finderstream.h"
#include "finding/foodstream.h"
#include "platform/csvfilewriter.h"
#include "settings/bookmarks.h"
#include "ui/exportdialog.h"
#include "ui/foodlistmodel.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QMessageBox>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace {

// Typing letters jumps to a row that starts with them, which looks at every row in turn: on a
// longer list that would stall the window.
constexpr int keyboardSearchRowLimit = 20000;

} // namespace

FoodList::FoodList(const QStringList &headers, const QString &objectName, QWidget *parent)
    : QTableView(parent)
    , foods(new FoodListModel(headers, this))
    , withValueColumn(headers.size() > 1)
    , sortColumn(withValueColumn ? 1 : 0)
    , sortOrder(withValueColumn ? Qt::DescendingOrder : Qt::AscendingOrder) {
    setObjectName(objectName);
    setModel(foods);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Rows of one height, never measured: a view that measured them would read every row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView *header = horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (withValueColumn) {
        setColumnWidth(0, 160);
        setColumnWidth(1, 56);
        // The amounts keep their width and the descriptions take the rest of a wider window,
        // rather than the amounts' column growing into empty space.
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    } else {
        setColumnWidth(0, 320);
        header->setStretchLastSection(true);
    }
    showSort(sortColumn, sortOrder);
    setSortingEnabled(true);
    // The header's sort indicator after a click is the sort a refill keeps.
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int) {
        header->setSortIndicatorShown(true);
        sortColumn = header->sortIndicatorSection();
        sortOrder = header->sortIndicatorOrder();
    });

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (!(clickModifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
            chooseRow(index);
    });
    // Return or Enter opens the current food, as a click on it does.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this]() { chooseRow(currentIndex()); });
    }
    connect(foods, &FoodListModel::filled, this, &FoodList::filled);
    connect(foods, &FoodListModel::fillFailed, this, &FoodList::fillFailed);

    exportAction = new QAction(QStringLiteral("Export…"), this);
    exportAction->setObjectName(QStringLiteral("exportAction"));
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(exportAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(exportAction, &QAction::triggered, this, &FoodList::chooseExportFile);
    auto *copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, &FoodList::copyRows);
    // A stream's rows are written once they are all read (or reading them failed).
    connect(foods, &FoodListModel::filled, this, &FoodList::startExport);
    connect(foods, &FoodListModel::fillFailed, this, &FoodList::startExport);
    // Other rows, or the rows in another order, would make a file of neither list: once its rows
    // are all written, though, the file is as good as in place.
    const auto listChanged = [this] {
        if (exportPath.isNull() || (writer && writer->rowsWritten() == rowCount()))
            return;
        writer.reset(); // removes what was written
        endExport(false, QStringLiteral("The list changed before all its rows were written."));
    };
    connect(foods, &QAbstractItemModel::modelAboutToBeReset, this, listChanged);
    connect(foods, &QAbstractItemModel::layoutAboutToBeChanged, this, listChanged);
}

FoodList::~FoodList() = default;

void FoodList::chooseRow(const QModelIndex &index) {
    if (index.isValid())
        emit foodChosen(foods->foodId(index.row()));
}

void FoodList::mouseReleaseEvent(QMouseEvent *event) {
    clickModifiers = event->modifiers(); // the click that the release completes
    QTableView::mouseReleaseEvent(event);
}

void FoodList::keyboardSearch(const QString &search) {
    if (foods->rowCount() <= keyboardSearchRowLimit)
        QTableView::keyboardSearch(search);
}

void FoodList::showSort(int column, Qt::SortOrder order) {
    // The indicator alone: the view would sort the model a second time.
    {
        const QSignalBlocker quiet(horizontalHeader());
        horizontalHeader()->setSortIndicator(column, order);
    }
    horizontalHeader()->setSortIndicatorShown(column >= 0);
    foods->sort(column, order);
}

void FoodList::fill(const ResultRows &rows, bool withValue, const WordIndex &words) {
    const int count = rows.rowCount();
    std::vector<FoodListItem> items;
    items.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        items.emplace_back(rows.value(i, 0), expandDescription(rows.value(i, 1), words),
                           withValue ? rows.value(i, 2) : QString());
    foods->setRows(std::move(items));
    showSort(sortColumn, sortOrder);
}

void FoodList::fill(const QList<BookmarkEntry> &bookmarks) {
    std::vector<FoodListItem> items;
    items.reserve(size_t(bookmarks.size()));
    for (const BookmarkEntry &entry : bookmarks)
        items.emplace_back(entry.id, entry.text, QString());
    foods->setRows(std::move(items));
    showSort(sortColumn, sortOrder);
}

void FoodList::fill(std::unique_ptr<FoodStream> stream) {
    const bool ranked = stream && stream->isRanked();
    foods->setStream(std::move(stream));
    // A ranked list shows its own order; the sort chosen before comes back with the next list
    // that is not ranked.
    if (ranked)
        showSort(-1, Qt::AscendingOrder);
    else
        showSort(sortColumn, sortOrder);
}

void FoodList::fill(std::unique_ptr<FinderStream> found, const QStringList &valueHeaders) {
    foods->setFinder(std::move(found), QStringList{QStringLiteral("Description ")} + valueHeaders);
    // The description keeps its width and the values scroll beside it: on a handheld screen a
    // stretched description would shrink to nothing beside several values.
    QHeaderView *header = horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Interactive);
    setColumnWidth(0, 120);
    for (int column = 1; column <= valueHeaders.size(); ++column) {
        const int title = header->fontMetrics().horizontalAdvance(valueHeaders.at(column - 1));
        setColumnWidth(column, qBound(56, title + 24, 120));
    }
    // The query's order, until a header is clicked.
    showSort(-1, Qt::AscendingOrder);
}

Qt::SortOrder FoodList::nameOrder() const {
    return sortColumn == 0 ? sortOrder : Qt::AscendingOrder;
}

bool FoodList::isFilling() const {
    return foods->isFilling();
}

bool FoodList::finishFilling(int rowLimit) {
    return foods->finishFilling(rowLimit);
}

void FoodList::setValueHeader(const QString &text) {
    foods->setHeader(1, text);
    // Wide enough for its title and the sort mark ("100kcal" is wider than the amounts).
    const int title = horizontalHeader()->fontMetrics().horizontalAdvance(text) + 24;
    setColumnWidth(1, qMax(56, title));
}

int FoodList::rowCount() const {
    return foods->rowCount();
}

QString FoodList::foodId(int row) const {
    return foods->foodId(row);
}

QString FoodList::text(int row, int column) const {
    return foods->text(row, column);
}

QStringList FoodList::selectedFoodIds() const {
    QModelIndexList selected = selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList ids;
    for (const QModelIndex &index : selected)
        ids << foods->foodId(index.row());
    return ids;
}

void FoodList::setExportName(const QString &subject, const QString &detail) {
    exportSubject = subject;
    exportDetail = detail;
}

void FoodList::chooseExportFile() {
    const ExportChoice choice = askExportPath(window(), exportSubject, exportDetail,
                                              {{QStringLiteral("CSV"), QStringLiteral("csv")}});
    if (!choice.path.isNull())
        exportTo(choice.path);
}

void FoodList::exportTo(const QString &path) {
    if (isExporting())
        return;
    exportPath = path;
    exportAction->setEnabled(false);
    viewport()->setCursor(Qt::BusyCursor);
    if (!isFilling())
        startExport();
}

bool FoodList::isExporting() const {
    return !exportPath.isNull();
}

void FoodList::startExport() {
    if (exportPath.isNull() || writer)
        return;
    writer = std::make_unique<CsvFileWriter>(exportPath, exportHeader(), rowCount(),
                                             [this](qint64 row) { return rowFields(int(row)); });
    connect(writer.get(), &CsvFileWriter::finished, this, &FoodList::endExport);
    foods->setReadingInTurn(true);
    writer->start();
}

void FoodList::endExport(bool ok, const QString &error) {
    if (writer) // this may run in the writer's own signal
        writer.release()->deleteLater();
    foods->setReadingInTurn(false);
    const QString path = std::exchange(exportPath, QString());
    exportAction->setEnabled(true);
    viewport()->unsetCursor();
    // Told once the list is whole again: this may run while the list is being filled anew.
    const auto tell = [this, ok, error, path] {
        if (!ok) {
            QMessageBox::warning(window(), QStringLiteral("KALO"),
                                 QStringLiteral("The list could not be exported to %1:\n%2")
                                     .arg(QDir::toNativeSeparators(path), error));
        }
        emit exportFinished(ok, error);
    };
    QMetaObject::invokeMethod(this, tell, Qt::QueuedConnection);
}

QStringList FoodList::exportHeader() const {
    QStringList header{QStringLiteral("NDB_No")};
    for (int column = 0; column < foods->columnCount(); ++column)
        header << foods->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().trimmed();
    return header;
}

QStringList FoodList::rowFields(int row) const {
    QStringList fields{foods->foodId(row)};
    for (int column = 0; column < foods->columnCount(); ++column)
        fields << foods->text(row, column);
    return fields;
}

void FoodList::copyRows() {
    if (!finishFilling(copyRowLimit) || rowCount() > copyRowLimit) {
        QMessageBox::information(window(), QStringLiteral("KALO"),
                                 QStringLiteral("This list has more than %L1 rows, too many to "
                                                "copy: Export… saves them to a file.")
                                     .arg(copyRowLimit));
        return;
    }
    // A tab or a line break inside a description would start a new cell or row where pasted.
    const auto line = [](const QStringList &fields) {
        QString text = fields.join(QLatin1Char('\t')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text.replace(QLatin1Char('\r'), QLatin1Char(' ')) + QLatin1Char('\n');
    };
    QString text = line(exportHeader());
    for (int row = 0; row < rowCount(); ++row) {
        QStringList fields = rowFields(row);
        for (QString &field : fields)
            field.replace(QLatin1Char('\t'), QLatin1Char(' '));
        text += line(fields);
    }
    QGuiApplication::clipboard()->setText(text);
}
