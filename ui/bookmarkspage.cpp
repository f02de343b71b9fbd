// The Bookmarks page: the bookmarked foods, removing some or all of them, choosing two to compare.
#include "ui/bookmarkspage.h"

#include "settings/bookmarks.h"
#include "ui/foodlist.h"
#include "ui/pictures.h"

#include <QAction>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *pictureButton(QWidget *parent, const char *objectName, const char *pictureName,
                           const QString &toolTip) {
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoRaise(true);
    button->setIcon(picture(QLatin1String(pictureName)));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(toolTip);
    return button;
}

} // namespace

BookmarksPage::BookmarksPage(Settings &userSettings, QWidget *parent)
    : QFrame(parent)
    , settings(userSettings) {
    setObjectName(QStringLiteral("bookmarkPage"));
    setFrameStyle(QFrame::NoFrame);

    clearBookmarksButton = pictureButton(this, "clearBookmarksButton", "remove.png_",
                                         QStringLiteral("Remove all bookmarks"));
    compareButton = pictureButton(this, "compareButton", "compare.png_", QStringLiteral("Compare"));
    compareButton->setEnabled(false);
    bookmarkList =
        new FoodList({QStringLiteral("Description ")}, QStringLiteral("bookmarkList"), this);
    // Ctrl+click and Shift+click select several bookmarks, to remove them or compare two.
    bookmarkList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // One action serves the context menu and the Delete key.
    auto *removeAction = new QAction(QStringLiteral("Remove Bookmark"), bookmarkList);
    removeAction->setObjectName(QStringLiteral("removeBookmarkAction"));
    removeAction->setShortcut(QKeySequence::Delete);
    removeAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    bookmarkList->insertAction(bookmarkList->actions().value(0), removeAction);
    bookmarkList->setExportName(QStringLiteral("Bookmarks"));

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(clearBookmarksButton, 0);
    row->addWidget(compareButton, 0);
    row->addStretch(10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(bookmarkList, 10);
    page->addLayout(listBox);

    connect(clearBookmarksButton, &QToolButton::clicked, this, &BookmarksPage::clearRequested);
    connect(compareButton, &QToolButton::clicked, this, [this] {
        const QStringList ids = bookmarkList->selectedFoodIds();
        if (ids.size() == 2)
            emit compareRequested(ids.at(0), ids.at(1));
    });
    connect(removeAction, &QAction::triggered, this, &BookmarksPage::removeSelected);
    connect(bookmarkList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookmarksPage::updateCompareButton);
    connect(bookmarkList, &FoodList::foodChosen, this, &BookmarksPage::foodChosen);
}

void BookmarksPage::fill() {
    bookmarkList->fill(bookmarkEntries(settings));
    clearBookmarksButton->setEnabled(bookmarkList->rowCount() > 0);
    updateCompareButton();
}

void BookmarksPage::updateCompareButton() {
    compareButton->setEnabled(bookmarkList->selectedFoodIds().size() == 2);
}

void BookmarksPage::clearAll() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KALO"), clearBookmarksQuestion(),
                    QMessageBox::NoButton, window());
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    if (box.clickedButton() != yes)
        return;
    clearBookmarkEntries(settings);
    fill();
    emit bookmarksChanged();
}

void BookmarksPage::removeSelected() {
    QStringList ids = bookmarkList->selectedFoodIds();
    const QModelIndex current = bookmarkList->currentIndex();
    if (ids.size() < 2 && current.isValid()) {
        bookmarkList->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        ids = bookmarkList->selectedFoodIds();
    }
    bool removed = false;
    for (const QString &id : ids)
        removed = removeBookmarkEntry(settings, id) || removed;
    if (!removed)
        return;
    fill();
    emit bookmarksChanged();
}
