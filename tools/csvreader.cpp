// Reads comma-separated files (RFC 4180) record by record, without holding the file in memory.
#include "tools/csvreader.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qint64 chunkSize = 1 << 20;

} // namespace

CsvReader::CsvReader(QIODevice *source, const QString &fileName)
    : device(source)
    , name(fileName) {}

bool CsvReader::fail(const QString &why) {
    error = QStringLiteral("%1:%2: %3").arg(name).arg(recordLine).arg(why);
    return false;
}

QString CsvReader::fieldError(int column, const QString &why) const {
    return recordError(QStringLiteral("field '%1': %2").arg(names.value(column), why));
}

QString CsvReader::recordError(const QString &why) const {
    return QStringLiteral("%1:%2: %3").arg(name).arg(recordLine).arg(why);
}

// True when a byte is available at pos, reading the next chunk when needed.
bool CsvReader::ensure() {
    if (pos < buffer.size())
        return true;
    if (atEnd)
        return false;
    consumed += buffer.size();
    buffer = device->read(chunkSize);
    pos = 0;
    if (buffer.isEmpty()) {
        atEnd = true;
        if (!device->atEnd() && error.isNull())
            error = QStringLiteral("%1: %2").arg(name, device->errorString());
        return false;
    }
    return true;
}

bool CsvReader::readHeader() {
    if (ensure() && buffer.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    if (!readRecord()) {
        if (!hasError())
            error = QStringLiteral("%1: empty file, no header").arg(name);
        return false;
    }
    names.clear();
    for (size_t i = 0; i < ends.size(); ++i)
        names.append(text(int(i)).trimmed());
    return true;
}

bool CsvReader::next() {
    if (!readRecord())
        return false;
    if (ends.size() != size_t(names.size()))
        return fail(
            QStringLiteral("expected %1 fields, found %2").arg(names.size()).arg(ends.size()));
    return true;
}

QByteArrayView CsvReader::field(int column) const {
    if (column < 0 || size_t(column) >= ends.size())
        return QByteArrayView();
    const int start = column == 0 ? 0 : ends[size_t(column) - 1];
    return QByteArrayView(record.constData() + start, ends[size_t(column)] - start);
}

bool CsvReader::readRecord() {
    record.resize(0); // keeps the allocation for the next record
    ends.clear();
    if (hasError())
        return false;
    auto endLine = [&] {
        // CR LF, LF or a lone CR each end one line.
        if (buffer[pos] == '\r') {
            ++pos;
            if (ensure() && buffer[pos] == '\n')
                ++pos;
        } else {
            ++pos;
        }
        ++lineNumber;
    };
    // Blank lines carry no record.
    while (ensure() && (buffer[pos] == '\n' || buffer[pos] == '\r'))
        endLine();
    if (!ensure())
        return false;
    recordLine = lineNumber;
    while (true) {
        if (ensure() && buffer[pos] == '"') {
            ++pos;
            while (true) {
                if (!ensure())
                    return hasError() ? false
                                      : fail(QStringLiteral("field %1: no closing quote")
                                                 .arg(ends.size() + 1));
                const char *from = buffer.constData() + pos;
                const qsizetype left = buffer.size() - pos;
                const char *quote = static_cast<const char *>(std::memchr(from, '"', size_t(left)));
                const qsizetype length = quote ? quote - from : left;
                record.append(from, length);
                for (qsizetype i = 0; i < length; ++i)
                    lineNumber += from[i] == '\n' ? 1 : 0;
                pos += length;
                if (!quote)
                    continue;
                ++pos; // the quote
                if (ensure() && buffer[pos] == '"') {
                    record.append('"');
                    ++pos;
                    continue;
                }
                break;
            }
            ends.push_back(int(record.size()));
            if (!ensure())
                return !hasError();
            const char c = buffer[pos];
            if (c == ',') {
                ++pos;
                continue;
            }
            if (c == '\n' || c == '\r') {
                endLine();
                return true;
            }
            return fail(QStringLiteral("field %1: text after the closing quote").arg(ends.size()));
        }
        // An unquoted field runs to the next comma or line end.
        while (true) {
            if (!ensure()) {
                ends.push_back(int(record.size()));
                return !hasError();
            }
            const char *from = buffer.constData() + pos;
            const qsizetype left = buffer.size() - pos;
            qsizetype i = 0;
            while (i < left && from[i] != ',' && from[i] != '\n' && from[i] != '\r' &&
                   from[i] != '"')
                ++i;
            record.append(from, i);
            pos += i;
            if (i == left)
                continue;
            const char c = from[i];
            if (c == '"')
                return fail(QStringLiteral("field %1: a quote inside a field without quotes")
                                .arg(ends.size() + 1));
            ends.push_back(int(record.size()));
            if (c == ',') {
                ++pos;
                break;
            }
            endLine();
            return true;
        }
    }
}
