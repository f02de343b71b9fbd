// Reads USDA SR24 from the data jar that Debian ships in the package cronometer.
#include "tools/sr24jarreader.h"

#include "tools/sr24groups.h"
#include "tools/sr24nutrients.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <zip.h>

namespace {

// No entry of the jar is anywhere near this; a larger one is damage (or a zip bomb).
constexpr zip_uint64_t maxEntrySize = 64 * 1024 * 1024;

QString located(const QString &fileName, qint64 line, const QString &message) {
    return QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(message);
}

std::optional<double> numberAttribute(const QXmlStreamAttributes &attributes, const char *name) {
    const QStringView text = attributes.value(QLatin1String(name));
    const QByteArray latin = text.toLatin1();
    if (latin.size() != text.size())
        return std::nullopt;
    return parseSourceNumber(latin);
}

class ZipArchive {
public:
    ~ZipArchive() {
        if (archive)
            zip_discard(archive);
    }
    // Opens the bytes (which must outlive the archive); a null string or the library's message.
    QString open(const QByteArray &bytes) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source = zip_source_buffer_create(bytes.constData(), bytes.size(), 0, &error);
        if (source)
            archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
        QString message;
        if (!archive) {
            message = QString::fromUtf8(zip_error_strerror(&error));
            if (source)
                zip_source_free(source);
        }
        zip_error_fini(&error);
        return message;
    }
    // The names of all entries.
    QStringList names() const {
        QStringList list;
        const zip_int64_t count = zip_get_num_entries(archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char *name = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
            list.append(name ? QString::fromUtf8(name) : QString());
        }
        return list;
    }
    // Reads one entry; a null string or what went wrong.
    QString read(const QString &name, QByteArray *out) const {
        const QByteArray rawName = name.toUtf8();
        const zip_int64_t index = zip_name_locate(archive, rawName.constData(), ZIP_FL_ENC_RAW);
        if (index < 0)
            return QStringLiteral("missing from the jar");
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE))
            return QString::fromUtf8(zip_strerror(archive));
        if (stat.size > maxEntrySize)
            return QStringLiteral("entry too large (%1 bytes)").arg(stat.size);
        zip_file_t *file = zip_fopen_index(archive, zip_uint64_t(index), 0);
        if (!file)
            return QString::fromUtf8(zip_strerror(archive));
        out->resize(qsizetype(stat.size));
        zip_int64_t got = 0;
        while (got < zip_int64_t(stat.size)) {
            const zip_int64_t n = zip_fread(file, out->data() + got, stat.size - zip_uint64_t(got));
            if (n <= 0)
                break;
            got += n;
        }
        // One more read past the end makes libzip check the CRC of what it unpacked.
        char extra;
        const zip_int64_t tail = got == zip_int64_t(stat.size) ? zip_fread(file, &extra, 1) : -1;
        QString message;
        if (got != zip_int64_t(stat.size) || tail != 0) {
            zip_error_t *error = zip_file_get_error(file);
            message = error && zip_error_code_zip(error) != ZIP_ER_OK
                          ? QString::fromUtf8(zip_error_strerror(error))
                          : QStringLiteral("unexpected end of data");
        }
        zip_fclose(file);
        return message;
    }

private:
    zip_t *archive = nullptr;
};

} // namespace

bool Sr24JarReader::parseIndex(const QByteArray &bytes, const QString &fileName,
                               QList<IndexEntry> *entries, QString *errorMessage) {
    entries->clear();
    QSet<int> seen;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty()) {
            if (i == lines.size() - 1)
                break; // the end of the last line
            *errorMessage = located(fileName, lineNumber, QStringLiteral("empty line"));
            return false;
        }
        const qsizetype bar = line.indexOf('|');
        const QByteArray key = line.left(bar);
        bool digitsOnly = !key.isEmpty() && key.size() <= 9;
        for (char c : key)
            digitsOnly = digitsOnly && c >= '0' && c <= '9';
        if (bar < 0 || !digitsOnly) {
            *errorMessage =
                located(fileName, lineNumber,
                        QStringLiteral("expected a food number, '|' and a description"));
            return false;
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString description = utf8(line.mid(bar + 1));
        if (utf8.hasError()) {
            *errorMessage = located(fileName, lineNumber, QStringLiteral("text is not UTF-8"));
            return false;
        }
        for (QChar c : description) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                *errorMessage = located(fileName, lineNumber,
                                        QStringLiteral("control character in the description"));
                return false;
            }
        }
        if (description.trimmed().isEmpty()) {
            *errorMessage = located(fileName, lineNumber, QStringLiteral("empty description"));
            return false;
        }
        const int number = key.toInt();
        if (seen.contains(number)) {
            *errorMessage =
                located(fileName, lineNumber, QStringLiteral("food %1 listed twice").arg(number));
            return false;
        }
        seen.insert(number);
        entries->append({number, QString::fromLatin1(key), description, lineNumber});
    }
    return true;
}

bool Sr24JarReader::parseFood(const QByteArray &bytes, const QString &fileName, const QString &key,
                              SrFood *food, bool *hasNutrients, QString *errorMessage) {
    food->amounts.clear();
    food->servings.clear();
    *hasNutrients = false;
    QXmlStreamReader xml(bytes);
    auto fail = [&](const QString &message) {
        *errorMessage = located(fileName, xml.lineNumber(), message);
        return false;
    };

    if (!xml.readNextStartElement())
        return fail(xml.hasError() ? xml.errorString() : QStringLiteral("no food element"));
    if (xml.name() != QLatin1String("food"))
        return fail(QStringLiteral("expected a food element, found %1").arg(xml.name()));
    if (xml.attributes().value(QLatin1String("uid")) != key)
        return fail(QStringLiteral("the food's uid is not %1").arg(key));

    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("measure")) {
            const auto amount = numberAttribute(attributes, "amount");
            const auto grams = numberAttribute(attributes, "grams");
            if (!amount || !grams)
                return fail(QStringLiteral("a measure needs a numeric amount and grams"));
            const QString name = attributes.value(QLatin1String("name")).toString();
            food->servings.append({*amount, name.trimmed(), *grams});
        } else if (xml.name() == QLatin1String("nutrient")) {
            const auto amount = numberAttribute(attributes, "amount");
            if (!amount)
                return fail(QStringLiteral("a nutrient needs a numeric amount"));
            const QStringView name = attributes.value(QLatin1String("name"));
            const int number = sr24NutrientNumber(name);
            if (number == 0)
                return fail(QStringLiteral("unknown nutrient '%1'").arg(name));
            if (food->amount(number))
                return fail(QStringLiteral("nutrient %1 given twice").arg(name));
            *hasNutrients = true;
            const auto at = std::lower_bound(food->amounts.begin(), food->amounts.end(), number,
                                             [](const SrAmount &a, int n) { return a.number < n; });
            food->amounts.insert(at, {number, *amount});
        }
        xml.skipCurrentElement(); // also steps over elements of later versions of the format
    }
    if (xml.hasError())
        return fail(xml.errorString());
    // Nothing but white space, comments or processing instructions may follow the food.
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() || (xml.isCharacters() && !xml.isWhitespace()))
            return fail(QStringLiteral("content after the food element"));
    }
    if (xml.hasError())
        return fail(xml.errorString());
    return true;
}

bool Sr24JarReader::fail(const QString &message) {
    error = message;
    return false;
}

bool Sr24JarReader::readFile(const QString &path, const Progress &progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return readBytes(bytes, path, progress);
}

bool Sr24JarReader::readBytes(const QByteArray &zip, const QString &name,
                              const Progress &progress) {
    result = SrData();
    result.release = 24;
    result.groups = sr24Groups();
    result.nutrients = sr24Nutrients();
    withoutNutrients.clear();
    error.clear();

    ZipArchive archive;
    const QString openError = archive.open(zip);
    if (!openError.isNull())
        return fail(QStringLiteral("%1: not a readable jar: %2").arg(name, openError));

    // The food files sit beside foods.index, in whatever folder that is.
    QString indexName;
    for (const QString &entry : archive.names()) {
        if (entry == QLatin1String("foods.index") ||
            entry.endsWith(QLatin1String("/foods.index"))) {
            indexName = entry;
            break;
        }
    }
    if (indexName.isEmpty())
        return fail(QStringLiteral("%1: no foods.index in the jar").arg(name));
    const QString folder = indexName.left(indexName.size() - int(qstrlen("foods.index")));

    QByteArray bytes;
    QString readError = archive.read(indexName, &bytes);
    if (!readError.isNull())
        return fail(QStringLiteral("%1: %2: %3").arg(name, indexName, readError));
    QList<IndexEntry> entries;
    QString parseError;
    if (!parseIndex(bytes, indexName, &entries, &parseError))
        return fail(QStringLiteral("%1: %2").arg(name, parseError));

    QSet<QString> groupCodes;
    for (const SrGroup &group : result.groups)
        groupCodes.insert(group.code);

    for (qsizetype i = 0; i < entries.size(); ++i) {
        const IndexEntry &entry = entries[i];
        if (progress && i % 250 == 0)
            progress(QStringLiteral("reading foods"), i, entries.size());
        const QString foodFile = folder + entry.key + QStringLiteral(".xml");
        readError = archive.read(foodFile, &bytes);
        if (!readError.isNull())
            return fail(QStringLiteral("%1: %2: %3 (listed in %4 line %5)")
                            .arg(name, foodFile, readError, indexName)
                            .arg(entry.line));
        SrFood food;
        bool hasNutrients = false;
        if (!parseFood(bytes, foodFile, entry.key, &food, &hasNutrients, &parseError))
            return fail(QStringLiteral("%1: %2").arg(name, parseError));
        if (!hasNutrients) {
            withoutNutrients.append(entry.number);
            continue;
        }
        food.number = entry.number;
        food.description = entry.description;
        food.group = sr24GroupOf(entry.number);
        if (!groupCodes.contains(food.group))
            return fail(QStringLiteral("%1: %2:%3: food %4 belongs to no SR24 food group")
                            .arg(name, indexName)
                            .arg(entry.line)
                            .arg(entry.key));
        result.foods.push_back(std::move(food));
    }
    if (progress)
        progress(QStringLiteral("reading foods"), entries.size(), entries.size());
    std::sort(result.foods.begin(), result.foods.end(),
              [](const SrFood &a, const SrFood &b) { return a.number < b.number; });
    return true;
}
