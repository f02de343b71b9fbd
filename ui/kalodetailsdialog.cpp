// The modal details dialog: a food's nutrient report with copy, bookmark, serving and view tools.
#include "ui/kalodetailsdialog.h"

#include "details/servings.h"
#include "settings/bookmarks.h"
#include "ui/pictures.h"

#include <QAction>
#include <QDebug>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QTextBrowser>
#include <QToolButton>

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

    copyButton = toolButton(buttonFrame, "copyButton", "copy.png_");
    bookmarkButton = toolButton(buttonFrame, "bookmarkButton", "bookmark_add.png_");
    weightButton = toolButton(buttonFrame, "weightButton", "down.png_");
    viewButton = toolButton(buttonFrame, "viewButton", "viewless.png_");

    showBasic = true;

    weightLabel = new QLabel(this);
    weightLabel->setObjectName(QStringLiteral("weightLabel"));

    connect(copyButton, &QToolButton::clicked, this, &KALODetailsDialog::copy);
    connect(bookmarkButton, &QToolButton::clicked, this, &KALODetailsDialog::addBookmark);
    connect(weightButton, &QToolButton::clicked, this, &KALODetailsDialog::selectWeight);
    connect(viewButton, &QToolButton::clicked, this, &KALODetailsDialog::changeView);
    connect(&noteTimer, &QTimer::timeout, this, &KALODetailsDialog::timeout);

    if (parent) {
        qDebug("resizing");
        resize(parent->width(), parent->height());
    }
}

KALODetailsDialog::~KALODetailsDialog() = default;

void KALODetailsDialog::setDetails(const QString &id, const QString &desc, const QString &basic,
                                   const QString &detailed, const QStringList &weightNames,
                                   QList<double> weights, int weightIndex) {
    if (parentWidget())
        resize(parentWidget()->width(), parentWidget()->height());

    basicText = basic;
    detailedText = detailed;
    shownDesc = desc;
    shownId = id;

    bookmarkButton->setIcon(picture(QLatin1String(
        isBookmarked(settings, shownId) ? "bookmark_remove.png_" : "bookmark_add.png_")));
    setWindowTitle(QStringLiteral("Details (") + shownId + QStringLiteral(")"));
    if (showBasic) {
        viewButton->setIcon(picture(QStringLiteral("viewmore.png_")));
        reportBrowser->setHtml(basicText);
    } else {
        viewButton->setIcon(picture(QStringLiteral("viewless.png_")));
        reportBrowser->setHtml(detailedText);
    }

    weightMenu->clear();
    menuWeights = std::move(weights);
    for (int i = 0; i < menuWeights.size(); ++i) {
        const QString text = servingMenuText(weightNames.value(i), menuWeights.at(i));
        QAction *action = weightMenu->addAction(text);
        action->setCheckable(true);
        action->setChecked(i == weightIndex);
        if (i == weightIndex)
            weightLabel->setText(text);
    }
}

void KALODetailsDialog::setBasicView(bool basic) {
    showBasic = basic;
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
}

void KALODetailsDialog::showNote(const QString &note) {
    setWindowTitle(note);
    noteTimer.start(noteMs);
}

void KALODetailsDialog::copy() {
    reportBrowser->copy();
    showNote(QStringLiteral("Selection Copied"));
}

void KALODetailsDialog::addBookmark() {
    // A food opened without a row has no number; an empty bookmark would match nothing later.
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
    showBasic = !showBasic;
    if (showBasic) {
        viewButton->setIcon(picture(QStringLiteral("viewmore.png_")));
        reportBrowser->setHtml(basicText);
        showNote(QStringLiteral("Basic View"));
    } else {
        viewButton->setIcon(picture(QStringLiteral("viewless.png_")));
        reportBrowser->setHtml(detailedText);
        showNote(QStringLiteral("Detailed View"));
    }
}

void KALODetailsDialog::timeout() {
    setWindowTitle(QStringLiteral("Details (") + shownId + QStringLiteral(")"));
}
