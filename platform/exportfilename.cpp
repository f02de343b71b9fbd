// The file name an export suggests.
#include "platform/exportfilename.h"

namespace {

// Leaves room for the suffix and the blanks and dash between the parts.
constexpr int maxPartBytes = 120;

QString namePart(const QString &text) {
    QString part;
    for (const QChar c : text)
        part += c == u'/' ? QChar(u'-') : c.category() == QChar::Other_Control ? QChar(u' ') : c;
    part = part.trimmed();
    while (part.toUtf8().size() > maxPartBytes) {
        part.chop(part.size() > 1 && part.back().isLowSurrogate() ? 2 : 1);
        part = part.trimmed();
    }
    return part;
}

} // namespace

QString exportFileName(const QString &subject, const QString &detail, const QString &suffix) {
    const QString first = namePart(subject);
    const QString second = namePart(detail);
    QString name = first.isEmpty() || second.isEmpty() ? first + second
                                                       : first + QStringLiteral(" - ") + second;
    return name + QLatin1Char('.') + suffix;
}
