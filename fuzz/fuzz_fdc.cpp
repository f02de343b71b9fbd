// Fuzzes the reading of FoodData Central downloads: the CSV reader, the texts made of its fields,
// and a whole build from a small download. Input: one selector byte (0: a CSV file; 1: a field
// as text; 2: a download of food.csv, nutrient.csv, food_nutrient.csv, branded_food.csv and
// food_portion.csv in this order, separated by the byte 0x1E), then the bytes.
#include "db/sqlitedb.h"
#include "fuzz/fuzz_common.h"
#include "tools/csvreader.h"
#include "tools/fdcreader.h"
#include "tools/fdctext.h"
#include "tools/foodsdbwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

namespace {

void csv(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(&buffer, QStringLiteral("fuzz.csv"));
    if (!reader.readHeader()) {
        FUZZ_CHECK(reader.errorString().startsWith(QLatin1String("fuzz.csv")),
                   reader.errorString());
        return;
    }
    // Records start on ever later lines, and no field lies beyond the header's.
    qint64 line = 0;
    while (reader.next()) {
        FUZZ_CHECK(reader.line() > line, QString::number(reader.line()));
        line = reader.line();
        FUZZ_CHECK(reader.field(int(reader.header().size())).isEmpty(), QString());
    }
    if (reader.hasError())
        FUZZ_CHECK(reader.errorString().startsWith(QLatin1String("fuzz.csv:")),
                   reader.errorString());
}

void texts(const QByteArray &bytes) {
    const QString text = fdcText(bytes);
    FUZZ_CHECK(text == text.trimmed() && !text.contains(QLatin1Char('@')), text);
    for (const QChar c : text)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F, text);
    const SrServing serving = fdcHouseholdServing(text, 1);
    FUZZ_CHECK(serving.amount > 0 && std::isfinite(serving.amount), text);
    // A barcode is read from digits alone: its number written out is a tail of them.
    const quint64 code = fdcBarcode(bytes);
    if (code)
        FUZZ_CHECK(bytes.trimmed().endsWith(QByteArray::number(code)), QString::number(code));
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

void download(const QByteArray &bytes) {
    static const char *const names[] = {"food.csv", "nutrient.csv", "food_nutrient.csv",
                                        "branded_food.csv", "food_portion.csv"};
    const QList<QByteArray> parts = bytes.split('\x1e');
    QTemporaryDir dir;
    for (int i = 0; i < 5 && i < parts.size(); ++i) {
        QFile file(dir.filePath(QLatin1String(names[i])));
        if (!file.open(QIODevice::WriteOnly) || file.write(parts[i]) != parts[i].size())
            return;
    }
    FdcReader reader;
    FoodsDbWriter writer;
    const QString output = dir.filePath(QStringLiteral("FOODS.db"));
    const bool written = writer.write(output, [&](SQLiteDB &db, QString *message) {
        const bool read = reader.read(dir.path(), db, dir.path());
        *message = reader.errorString();
        return read;
    });
    // A failure names a file of the download and leaves nothing behind.
    if (!written)
        FUZZ_CHECK(writer.errorString().startsWith(dir.path()), writer.errorString());
    const QStringList left = QDir(dir.path()).entryList({"*.tmp", "*.stage"}, QDir::Files);
    FUZZ_CHECK(left.isEmpty(), left.join(QLatin1Char(' ')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    static const bool installed = (qInstallMessageHandler(quiet), true);
    Q_UNUSED(installed);
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        csv(bytes);
        break;
    case 1:
        texts(bytes);
        break;
    default:
        download(bytes);
        break;
    }
    return 0;
}
