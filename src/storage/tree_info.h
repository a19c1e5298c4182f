#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace verdan {

// The tree information row with the statistics the properties window shows. The new-tree dialog also uses
// it to pass the location of a new tree (BasePath, FolderName, FileName).
struct TTreeProperty {
    QString OwnerId;
    QString GlobalParentId;
    QString OwnerName;
    QString TreeName;
    // The description is the rich-text document of the properties window, kept as its bytes. It is read
    // and written only when WithDescription is set.
    bool WithDescription = false;
    QByteArray Description;
    QDateTime LastCreated;  // invalid when no person carries a stamp
    QDateTime LastModified; // likewise
    int PersonCount = 0;
    int NonGroupCount = 0;
    int MaleCount = 0;
    int FemaleCount = 0;
    int MarriageCount = 0;
    int GroupCount = 0;
    int PictureCount = 0;
    QString FileName;
    QString FolderName;
    QString BasePath;
    QString SizeText;
    bool HideAbout = false;
};

// Single fields of the row; empty when the table has no row. None of these reports an error.
QString GetOwnerId();
QString GetOwnerName();
QString GetTreeName();
QString GetLastId();
// Changes nothing while the row does not exist.
bool SetLastId(const QString& id);

// Fills the identity fields from the row (left as they are when there is none), then the file name, path,
// size text and the counts of the open tree.
void ReadTreeProperties(TTreeProperty& props);
// Writes the row (inserted with oid 1 when missing) and, with WithDescription, the description, all or
// nothing; then the process-wide tree and owner names take the record's values. A failed write changes
// neither the file nor the names.
bool WriteTreeProperties(const TTreeProperty& props);

// Statistics of the open tree; 0 when the statement cannot run.
int CountPersons();
int CountNonGroupPersons();
int CountGroupPersons();
int CountMarriages();
int CountMales();   // group persons left out
int CountFemales(); // "f" in any letter case and "أنثى"
int CountPictures();
QDateTime LastModifiedTime();
QDateTime LastCreatedTime();

// A file size told in bytes, kilobytes or megabytes, with the user's number format ("1,024 Byte",
// "1.5 KB").
QString FileSizeText(qint64 size);

// Puts the given group kinds first, followed by those of the user's file "sectiontype.dat" that the given
// list lacks; blank entries are dropped.
void MergeSectionTypes(QStringList& list);

} // namespace verdan
