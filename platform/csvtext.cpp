// Comma-separated text as RFC 4180 writes it: fields, records and a whole file's bytes.
#include "platform/csvtext.h"

QString csvField(const QString &text) {
    for (const QChar c : text) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') {
            return QLatin1Char('"') + QString(text).replace(u'"', QStringLiteral("\"\"")) +
                   QLatin1Char('"');
        }
    }
    return text;
}

QString csvRecord(const QStringList &fields) {
    QString record;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += QLatin1Char(',');
        record += csvField(fields[i]);
    }
    return record + QStringLiteral("\r\n");
}

QByteArray csvBytes(const QList<QStringList> &records) {
    QString text;
    for (const QStringList &record : records)
        text += csvRecord(record);
    return text.toUtf8();
}
