#pragma once

#include <QString>

namespace verdan {

// What a message adds after its own words when the reason comes from elsewhere (the database engine, the
// system): an empty line, the translated caption "Details:" and the reason isolated left to right, so the
// reader's language leads and the foreign words stand apart at the end. Empty for an empty reason.
QString DetailsLine(const QString& details);

} // namespace verdan
