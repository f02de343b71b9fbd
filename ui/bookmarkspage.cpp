// The Bookmarks page: the bookmarked foods, and deleting them all.
#include "ui/bookmarkspage.h"

#include "settings/bookmarks.h"
#include "ui/foodlist.h"
#include "ui/pictures.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

BookmarksPage::BookmarksPage(Settings &userSettings, QWidget *parent)
    : QFrame(parent)
    , settings(userSettings) {
    setObjectName(QStringLiteral("bookmarkPage"));
    setFrameStyle(QFrame::NoFrame);

    clearBookmarksButton = new QToolButton(this);
    clearBookmarksButton->setObjectName(QStringLiteral("clearBookmarksButton"));
    clearBookmarksButton->setAutoRaise(true);
    clearBookmarksButton->setIcon(picture(QStringLiteral("remove.png_")));
    clearBookmarksButton->setIconSize(QSize(20, 20));
    clearBookmarksButton->setToolTip(QStringLiteral("Delete all bookmarks"));
    bookmarkList =
        new FoodList({QStringLiteral("Description ")}, QStringLiteral("bookmarkList"), this);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(1, 1, 1, 1);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(clearBookmarksButton, 0);
    row->addStretch(10);
    page->addLayout(row);
    auto *listBox = new QVBoxLayout;
    listBox->addWidget(bookmarkList, 10);
    page->addLayout(listBox);

    connect(clearBookmarksButton, &QToolButton::clicked, this, &BookmarksPage::clearRequested);
    connect(bookmarkList, &FoodList::foodChosen, this, &BookmarksPage::foodChosen);
}

void BookmarksPage::fill() {
    bookmarkList->fill(bookmarkEntries(settings));
    clearBookmarksButton->setEnabled(bookmarkList->rowCount() > 0);
}

void BookmarksPage::clearAll() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KALO"),
                    QStringLiteral("Delete all bookmarks ?"), QMessageBox::NoButton, window());
    QPushButton *yes = box.addButton(QStringLiteral("Yes"), QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    if (box.clickedButton() != yes)
        return;
    clearBookmarkEntries(settings);
    fill();
}
