// Reads comma-separated files (RFC 4180) record by record, without holding the file in memory.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

// Fields are separated by commas, records end in CR LF or LF, and a field in double quotes may
// hold commas, line breaks and doubled quotes. The first record names the columns; every later
// record must have as many fields. A UTF-8 byte order mark at the start is skipped and blank lines
// are passed over. Messages name the file and the line where the record starts:
// "food.csv:12: field 'description': ...".
class CsvReader {
public:
    CsvReader(QIODevice *device, const QString &fileName);

    // Reads the header; false (with the error) when the file is empty or the header malformed.
    bool readHeader();
    const QStringList &header() const { return names; }
    // The index of the named column, -1 when the header lacks it.
    int column(const QString &columnName) const { return int(names.indexOf(columnName)); }

    // Reads the next record: false at the end of the file, and on an error (hasError()).
    bool next();
    // The bytes of a field of the current record, quotes removed; empty for a column of -1.
    QByteArrayView field(int column) const;
    // The field as text: UTF-8 decoded, a damaged sequence replaced by U+FFFD.
    QString text(int column) const { return QString::fromUtf8(field(column)); }
    qint64 line() const { return recordLine; }
    qint64 bytesRead() const { return consumed; }

    bool hasError() const { return !error.isNull(); }
    QString errorString() const { return error; }
    // "file:line: field 'name': why" for the current record.
    QString fieldError(int column, const QString &why) const;
    // "file:line: why" for the current record.
    QString recordError(const QString &why) const;

private:
    bool ensure();
    bool readRecord();
    bool fail(const QString &why);

    QIODevice *device;
    QString name;
    QStringList names;
    QByteArray buffer;
    qsizetype pos = 0;
    bool atEnd = false;
    qint64 consumed = 0;
    qint64 lineNumber = 1; // the line at pos
    qint64 recordLine = 0;
    QByteArray record;     // the fields of the current record, one after the other
    std::vector<int> ends; // where each field ends in record
    QString error;
};
