// Comma-separated text as RFC 4180 writes it: fields, records and a whole file's bytes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A field as written: in double quotes with its quotes doubled when it holds a comma, a double
// quote, CR or LF; as it is otherwise. Numbers are the caller's text: written with a decimal
// point (QString::number), they read alike in every spreadsheet whatever its locale.
QString csvField(const QString &text);

// A record: its fields separated by commas and ended by CR LF.
QString csvRecord(const QStringList &fields);

// The records as a file's bytes: UTF-8 without a byte order mark.
QByteArray csvBytes(const QList<QStringList> &records);
