#include "tree_commands.h"

#include "storage/database.h"
#include "text/name_utils.h"

namespace verdan {

namespace {

// The first `length` characters, never splitting a surrogate pair.
QString CutText(const QString& text, int length) {
    if (text.size() <= length)
        return text;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace

bool SavePersonName(const QString& personId, const QString& text) {
    if (personId.trimmed().isEmpty())
        return false;
    const QString name = CleanName(CutText(text, kMaxPersonNameLength));
    return Dm().Execute(QStringLiteral("UPDATE ftPerson SET person_name = ?, date_modified = ?, "
                                       "user_modified = '' WHERE person_id = ?"),
                        name, NowStamp(), personId) == 1;
}

} // namespace verdan
