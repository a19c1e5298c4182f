#pragma once

#include "relations/data_checks.h"

#include <QList>

namespace verdan {

// The check of the family rules over the whole tree, for what imports, older versions and other programs
// left behind: a child whose mother is one his father may not marry and a marriage of a man to a woman he
// may not marry (by the same mahram answer the rules give a user), a woman with more than one marriage that
// has not ended, a full date whose two calendars lie more than 2 days apart, and ages hard to believe.
// Appends one finding each.
void CheckFamilyRules(QList<TDataFinding>& findings);

} // namespace verdan
