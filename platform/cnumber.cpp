// Number parsing with the C library's strtod rules, independent of the user's locale.
#include "platform/cnumber.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {
locale_t cLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return loc;
}
} // namespace

double cStrtod(const QString &text) {
    const QByteArray bytes = text.toUtf8();
    return strtod_l(bytes.constData(), nullptr, cLocale());
}
