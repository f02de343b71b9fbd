// The main window's finding operations: word index, list filling, browsing, search, Top 15.
#include "app/kalowindow.h"

#include "finding/foodlistitem.h"
#include "finding/topcache.h"

#include <QTreeWidget>

void KALOWindow::loadWordIndex() {}

QString KALOWindow::expandDescription(const QString &stored) const
{
    return ::expandDescription(stored, wordIndex);
}

void KALOWindow::fillFoodList(QTreeWidget *list, const ResultRows &rows, bool withValue)
{
    Q_UNUSED(list);
    Q_UNUSED(rows);
    Q_UNUSED(withValue);
}

void KALOWindow::fillCombos() {}

void KALOWindow::prepareTopCache()
{
    ::prepareTopCache(db);
}

void KALOWindow::populateDataWindow(const QString &category)
{
    Q_UNUSED(category);
}

void KALOWindow::populateSearchDataWindow(const QString &text, const QString &category)
{
    Q_UNUSED(text);
    Q_UNUSED(category);
}

void KALOWindow::searchButtonClicked() {}

void KALOWindow::populateTopDataWindow(const QString &label)
{
    Q_UNUSED(label);
}
