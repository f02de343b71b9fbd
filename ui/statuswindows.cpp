// The database error box and the "processing" window shown while a long query runs.
#include "ui/statuswindows.h"

#include "db/sqlitedb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace {
qint64 eventWindowNs = 0;
} // namespace

// The "processing" window, which tells when it has been painted since it was last shown.
class ProcessingLabel : public QLabel {
public:
    using QLabel::QLabel;
    bool painted = false;

protected:
    void showEvent(QShowEvent *event) override {
        painted = false;
        QLabel::showEvent(event);
    }
    void paintEvent(QPaintEvent *event) override {
        QLabel::paintEvent(event);
        painted = true;
    }
};

StatusWindows::StatusWindows(QWidget *mainWindow)
    : window(mainWindow) {}

StatusWindows::~StatusWindows() {
    // The label has no parent widget, so nothing else deletes it.
    delete processingLabel;
}

void StatusWindows::letEventsRun() {
    QElapsedTimer timer;
    timer.start();
    QApplication::processEvents(QEventLoop::AllEvents);
    // A window system may tell of the window's exposure only a moment later: wait for it, woken
    // at the latest by the limit's timer.
    if (processingLabel && processingLabel->isVisible() && !processingLabel->painted) {
        QTimer limit;
        limit.setSingleShot(true);
        limit.start(int(qMax<qint64>(0, 100 - timer.elapsed())));
        while (!processingLabel->painted && limit.isActive())
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    eventWindowNs += timer.nsecsElapsed();
}

qint64 StatusWindows::eventWindowNanoseconds() {
    return eventWindowNs;
}

void StatusWindows::showDatabaseError(const QString &text) {
    // The stray '<' and the unclosed last tag are the box's own text; the rich text renderer
    // shows them harmlessly.
    const QString message = QStringLiteral("<qt>Database Error:<br><hr><<br><font color=\"red\">") +
                            text + QStringLiteral("</font></qt");
    QMessageBox box(QMessageBox::Critical, QStringLiteral("KALO"), message, QMessageBox::Ok,
                    window);
    box.setTextFormat(Qt::RichText);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

bool StatusWindows::reportError(SQLiteDB &db) {
    if (!db.hasError())
        return false;
    showDatabaseError(db.lastError());
    return true;
}

bool StatusWindows::query(SQLiteDB &db, const QString &sql, ResultRows *rows) {
    const ResultRows result = db.exec(sql);
    if (reportError(db))
        return false;
    if (rows)
        *rows = result;
    return true;
}

void StatusWindows::showProcessing() {
    if (!processingLabel) {
        processingLabel =
            new ProcessingLabel(QStringLiteral("<qt>Processing request ...</qt>"), nullptr,
                                Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        processingLabel->setObjectName(QStringLiteral("processing window"));
        // A notice, not a place to type: the main window keeps the keyboard.
        processingLabel->setAttribute(Qt::WA_ShowWithoutActivating);
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 240, 320);
        processingLabel->setGeometry((desktop.width() - 160) / 2, (desktop.height() - 60) / 2, 160,
                                     60);
        processingLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        processingLabel->setAlignment(Qt::AlignCenter);
    }
    processingLabel->show();
}

void StatusWindows::hideProcessing() {
    if (!processingLabel)
        return;
    processingLabel->hide();
    // Some platforms hand the activation to the label when it is shown and to nobody when it is
    // hidden again; give it back so the keyboard keeps working in the window.
    if (window && window->isVisible() && !QApplication::activeWindow())
        window->activateWindow();
}
