// Writes a long list to a CSV file a slice at a time, so that a window stays answering.
#include "platform/csvfilewriter.h"

#include "platform/csvtext.h"

#include <QSaveFile>
#include <QThread>

CsvFileWriter::CsvFileWriter(const QString &target, const QStringList &headerFields, qint64 rows,
                             RowFields fields, QObject *parent)
    : QObject(parent)
    , path(target)
    , header(headerFields)
    , rowCount(rows)
    , rowFields(std::move(fields)) {
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &CsvFileWriter::writeSlice);
}

// An unfinished file is removed with the writer; one being put in place is waited for.
CsvFileWriter::~CsvFileWriter() {
    if (committer)
        committer->wait();
}

void CsvFileWriter::start() {
    if (file)
        return;
    written = 0;
    file = std::make_unique<QSaveFile>(path);
    // Unbuffered, so that every write's failure (a full disk) is seen where it happens: a failure
    // of the last buffered bytes at commit would go unnoticed and put a short file in place.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(file->errorString());
        return;
    }
    if (!writeBytes(csvRecord(header).toUtf8()))
        return;
    timer.start();
}

void CsvFileWriter::cancel() {
    if (file && !committer)
        fail(QStringLiteral("Cancelled"));
}

void CsvFileWriter::writeSlice() {
    QElapsedTimer clock;
    clock.start();
    QString text;
    while (written < rowCount && clock.elapsed() < sliceMilliseconds)
        text += csvRecord(rowFields(written++));
    if (!writeBytes(text.toUtf8()))
        return;
    emit progress(written, rowCount);
    if (written < rowCount || !file) // a progress slot may have cancelled
        return;
    timer.stop();
    // The file takes its name once it is on the disk, which for a long list takes longer than a
    // window may wait: that runs on a thread of its own.
    committer.reset(QThread::create([this] { committed = file->commit(); }));
    connect(committer.get(), &QThread::finished, this, &CsvFileWriter::finishCommit);
    committer->start();
}

void CsvFileWriter::finishCommit() {
    committer->wait();
    committer.reset();
    if (!committed) {
        fail(file->errorString());
        return;
    }
    file.reset();
    emit finished(true, QString());
}

bool CsvFileWriter::writeBytes(const QByteArray &bytes) {
    // A short write is no failure yet: the write of the rest reports why it fails.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 count = file->write(bytes.constData() + done, bytes.size() - done);
        if (count <= 0 || file->error() != QFileDevice::NoError) {
            fail(file->errorString());
            return false;
        }
        done += count;
    }
    return true;
}

void CsvFileWriter::fail(const QString &reason) {
    timer.stop();
    file.reset(); // without commit: the temporary file goes
    emit finished(false, reason);
}
