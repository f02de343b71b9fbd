// The Bookmarks page: listing the bookmarked foods and deleting them all.
#include "app/kalowindow.h"

void KALOWindow::fillBookmarks() {}

void KALOWindow::clearBookmarkItems() {}
