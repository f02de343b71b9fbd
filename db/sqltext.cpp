// Placing text values inside SQL statements.
#include "db/sqltext.h"

QString sqlQuoted(const QString &value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    // The library ends a statement's text at a NUL character, which would cut the literal open:
    // a NUL (which no stored text holds) is left out.
    out.remove(QChar(0));
    return out;
}
