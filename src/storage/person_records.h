#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace verdan {

// Reserved values of the parent columns: "0" = no such parent; "-1" (and a blank) in Father_Id = the
// person sits at the top level of the outline. Order number 99 = no order set yet.
inline constexpr int kUnsetOrder = 99;

// One whole person row, as ReadPerson gives it. Order columns that were never set read as kUnsetOrder.
struct TPerson {
    qint64 OId = 0;
    QString Person_Id;
    QString Father_Id;
    QString Mother_Id;
    QString Gender;
    QString Person_Name;
    QString LineageName;
    QString Other_Name;
    QString Last_Name;
    QString Family_Name;
    QString Family_Nickname;
    QString Nickname;
    QString Cognomen;
    int Date_of_Birth_G = 0;
    int Date_of_Birth_H = 0;
    QString Place_of_Birth;
    int Date_of_Death_G = 0;
    int Date_of_Death_H = 0;
    QString Place_of_Death;
    // The dates and places as read, left untouched so that an editor can tell what changed.
    int Saved_Date_of_Birth_G = 0;
    int Saved_Date_of_Birth_H = 0;
    QString Saved_Place_of_Birth;
    int Saved_Date_of_Death_G = 0;
    int Saved_Date_of_Death_H = 0;
    QString Saved_Place_of_Death;
    int default_calendar = 0;
    QString Notes;
    QString Briefing;
    int Display_Order = 0;
    int Order_By_Father = 0;
    int Order_By_Mother = 0;
    bool Is_Dead = false;
    bool Is_Section = false;
    QString Section_Type;
    QDateTime Date_Created;
    QDateTime Date_Modified;
    QString User_Created;
    QString User_Modified;
};

struct TPersonNames {
    QString Person_Name;
    QString Other_Name;
    QString Last_Name;
    QString Family_Name;
    QString Family_Nickname;
    QString Nickname;
    QString Cognomen;
    QString FatherName; // the father's Person_Name
    bool Is_Section = false;
    QString Section_Type;
    int Order_By_Father = kUnsetOrder;
    int Order_By_Mother = kUnsetOrder;
};

struct TPersonText {
    QString Notes;
    QString Briefing;
};

struct TParent {
    QString Father_Id;
    QString Mother_Id;
};

// What a walk over ancestors needs of one person row.
struct TParentLinks {
    QString Father_Id;
    QString Mother_Id;
    QString Gender; // normalised
    bool Is_Section = false;
};

struct TPerson_Record_Log {
    QString Person_Id;
    QString User_Created;
    QDateTime Date_Created;
    QString User_Modified;
    QDateTime Date_Modified;
};

// A person in a list shown to the user: its identifier and the text shown for it.
struct TPersonNameEntry {
    QString Person_Id;
    QString Name;
};
using TPersonNameList = QList<TPersonNameEntry>;

// A child with its name and both parent columns as stored.
struct TChildParents {
    QString Person_Id;
    QString Person_Name;
    QString Father_Id;
    QString Mother_Id;
};

// Which family name column PropagateFamilyName copies down the father line.
enum class TFamilyNameKind { LastName, FamilyName, FamilyNickname };

// The persons ListPersonRecords gives: all of them, those created on or after a day, or those modified on
// or after a day without having been created on or after it.
enum class TPersonRecordFilter { All, CreatedSince, ModifiedSince };

} // namespace verdan
