// The readable description of a food looked up by its number, for the rows a list shows.
#include "finding/descriptionlookup.h"

#include "db/rowcursor.h"

namespace {

constexpr int descriptionsKept = 4096;

} // namespace

DescriptionLookup::DescriptionLookup(SQLiteDB &database, const WordIndex &wordIndex)
    : db(database)
    , words(wordIndex)
    , kept(descriptionsKept) {}

DescriptionLookup::~DescriptionLookup() = default;

QString DescriptionLookup::description(qint64 foodId) {
    if (const QString *known = kept.object(foodId))
        return *known;
    if (!lookup)
        lookup = std::make_unique<RowCursor>(
            db, QStringLiteral("select desc from FOODS_WR where NDB_No=?"));
    lookup->rebind(1, foodId);
    const QString shown = lookup->next() ? expandDescription(lookup->text(0), words) : QString();
    kept.insert(foodId, new QString(shown));
    return shown;
}
