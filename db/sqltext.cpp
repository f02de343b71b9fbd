// Placing text values inside SQL statements.
#include "db/sqltext.h"

QString sqlQuoted(const QString &value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}
