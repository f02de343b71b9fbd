// The database error box and the "processing" window shown while a long query runs.
#pragma once

#include <QString>

class ProcessingLabel;
class QWidget;
class ResultRows;
class SQLiteDB;

class StatusWindows {
public:
    // window: the parent of the error box and the window that keeps the keyboard.
    explicit StatusWindows(QWidget *window);
    ~StatusWindows();
    StatusWindows(const StatusWindows &) = delete;
    StatusWindows &operator=(const StatusWindows &) = delete;

    // One modal error box captioned "KALO" with the text in red.
    void showDatabaseError(const QString &text);
    // When the wrapper holds an error: shows it once and answers true.
    bool reportError(SQLiteDB &db);
    // Runs one statement; when it fails, shows its error once and answers false.
    bool query(SQLiteDB &db, const QString &sql, ResultRows *rows = nullptr);

    // A borderless window in the middle of the screen, made at the first call and reused.
    void showProcessing();
    void hideProcessing();
    // Runs work between showing and hiding the processing window, letting events run after each
    // so that it paints before the work and vanishes after it.
    template <typename Work> auto whileProcessing(Work work) {
        showProcessing();
        letEventsRun();
        auto result = work();
        hideProcessing();
        letEventsRun();
        return result;
    }

    // Lets the pending events run, for at most 100 ms: those pending now, and then those that come
    // until the processing window, when it is shown, has been painted. Events that keep coming (a
    // long list filling a slice at a time, any timer of no delay) do not hold the window for its
    // whole 100 ms. The time spent in there, summed over the process, is what the benchmarks
    // report of an action's time.
    void letEventsRun();
    static qint64 eventWindowNanoseconds();

private:
    QWidget *window;
    ProcessingLabel *processingLabel = nullptr; // a window of its own
};
