// The database error box and the "processing" window shown while a long query runs.
#include "app/kalowindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace {
qint64 eventWindowNs = 0;
}

void KALOWindow::letEventsRun() {
    QElapsedTimer timer;
    timer.start();
    QApplication::processEvents(QEventLoop::AllEvents, 100);
    eventWindowNs += timer.nsecsElapsed();
}

qint64 KALOWindow::eventWindowNanoseconds() {
    return eventWindowNs;
}

void KALOWindow::showDatabaseError(const QString &text) {
    // The literals are kept as they always were, stray '<' and unclosed last tag included: the
    // rich text renderer shows them the same way.
    const QString message = QStringLiteral("<qt>Database Error:<br><hr><<br><font color=\"red\">") +
                            text + QStringLiteral("</font></qt");
    QMessageBox box(QMessageBox::Critical, QStringLiteral("KALO"), message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::RichText);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void KALOWindow::showProcessing() {
    if (!processingLabel) {
        processingLabel =
            new QLabel(QStringLiteral("<qt>Processing request ...</qt>"), nullptr,
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

void KALOWindow::hideProcessing() {
    if (!processingLabel)
        return;
    processingLabel->hide();
    // Some platforms hand the activation to the label when it is shown and to nobody when it is
    // hidden again; give it back so the keyboard keeps working in the window.
    if (isVisible() && !QApplication::activeWindow())
        activateWindow();
}
