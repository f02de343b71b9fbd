// Small helpers shared by the fuzz targets.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// Ends the run with a message: libFuzzer records the input as a crash.
[[noreturn]] inline void fuzzFail(const char *what, const QString &detail = QString()) {
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFail(#condition, detail);                                                          \
    } while (false)

inline QByteArray fuzzBytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
