// The Bookmarks page: listing the bookmarked foods and deleting them all.
#include "app/kalowindow.h"

#include "app/bookmarks.h"
#include "finding/foodlistitem.h"

#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

void KALOWindow::fillBookmarks() {
    bookmarkList->setEnabled(false);
    bookmarkList->clear();
    for (const BookmarkEntry &entry : bookmarkEntries())
        new FoodListItem(bookmarkList, entry.id, entry.text, QString());
    clearBookmarksButton->setEnabled(bookmarkList->topLevelItemCount() > 0);
    bookmarkList->setEnabled(true);
}

void KALOWindow::clearBookmarkItems() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KALO"),
                    QStringLiteral("Delete all bookmarks ?"), QMessageBox::NoButton, this);
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    if (box.clickedButton() != yes)
        return;
    clearBookmarkEntries();
    fillBookmarks();
}
