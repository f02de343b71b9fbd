// Writes a long list to a CSV file a slice at a time, so that a window stays answering.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QSaveFile;
class QThread;

// The header and then every row the callback gives (row index to fields), as csvRecord writes
// them, into a temporary file beside the target that takes the target's name when the last row is
// written. The rows are written from the event loop in slices of a few milliseconds. An export
// that fails or is cancelled leaves neither the target (an older file of that name stays as it
// was) nor a temporary file.
class CsvFileWriter : public QObject {
    Q_OBJECT
public:
    using RowFields = std::function<QStringList(qint64 row)>;

    CsvFileWriter(const QString &path, const QStringList &header, qint64 rowCount,
                  RowFields rowFields, QObject *parent = nullptr);
    ~CsvFileWriter() override;

    // Makes the temporary file and writes the header; the rows follow from the event loop. A file
    // that cannot be made finishes at once, before start returns.
    void start();
    // Stops a running export and removes its temporary file; finished follows at once. Once the
    // last row is written the file is put in place whatever comes.
    void cancel();
    bool isRunning() const { return file != nullptr; }
    qint64 rowsWritten() const { return written; }

    // The time one slice writes for before the event loop has its turn again.
    static constexpr int sliceMilliseconds = 10;

signals:
    void progress(qint64 rowsWritten, qint64 rowCount);
    // ok false: the reason (the system's, or "Cancelled"), and nothing was left behind.
    void finished(bool ok, const QString &error);

private:
    void writeSlice();
    void finishCommit();
    bool writeBytes(const QByteArray &bytes);
    void fail(const QString &reason);

    QString path;
    QStringList header;
    qint64 rowCount;
    RowFields rowFields;
    qint64 written = 0;
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QThread> committer; // puts the written file in place
    bool committed = false;
    QTimer timer;
};
