// Placing text values inside SQL statements.
#pragma once

#include <QString>

// The text with every apostrophe doubled and any NUL character left out, for use between the
// quotes of an SQL string literal. LIKE wildcards ('%', '_') are left as they are.
QString sqlQuoted(const QString &value);
