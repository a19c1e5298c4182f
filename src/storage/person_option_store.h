#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// Display options of one person in the outline; a person without a row has the
// empty options.
struct TPersonOption {
    QString person_id;
    bool hide_picture = false;
    bool hide_name = false;
    bool deny_publish = false; // kept out of published output; the outline shows it bold italic
    int icon_id = 0;           // 0: the image follows the gender
    QString title;             // shown after the name
    qint32 color = 0;          // outline font colour as 0x00BBGGRR; 0: none
    // True when nothing is set, so the person needs no row.
    bool IsEmpty() const;
};

// Clears the record (keeping the person) and fills it from the person's row;
// false when there is none.
bool ReadPersonOption(const QString& id, TPersonOption& option);
// Stores the options of option.person_id; empty options remove the person's
// row. True when a row was changed, added or removed.
bool WritePersonOption(const TPersonOption& option);
// An empty entry, then every distinct title in use, in name order.
void ListOptionTitles(QStringList& lines);

} // namespace verdan
