#pragma once

#include "text/text_utils.h"

#include <QList>
#include <QPoint>
#include <QString>

namespace verdan {

// One node of an SML document: a name, a value (lines joined by CR LF), the number of empty lines the
// writer puts after the node's own lines, and the nodes indented two columns deeper.
struct TNode {
    QString Name;
    QString Value;
    qint32 BlankLines = 0;
    QList<TNode> Children;

    void Clear();
    bool IsEmpty() const { return Name.isEmpty() && Children.isEmpty(); }

    TNode Add(const QString& name, const QString& value);
    TNode AddBool(const QString& name, bool value);
    TNode AddInt(const QString& name, int value);
    TNode AddPoint(const QString& name, const QPoint& value);
    // Appends a copy with its whole subtree; an implausible blank-line count (over 100) becomes 0.
    TNode AddNode(const TNode& node);

    // The last direct child with that name (letter case ignored), or an empty node.
    TNode Child(const QString& name) const;
    QString ChildValue(const QString& name) const;

    bool AsBoolean() const;
    // Reads the first run of "-" and digits in the value ("12px" is 12, "x-5" is -5); 0 when it is no number.
    int AsInteger() const;
    // "x:y"; (0, 0) without ":".
    QPoint AsPoint() const;
    TName_String_Value_Array ToArray() const;

    bool operator==(const TNode&) const = default;
};

// Files larger than this are refused: every real document is a few hundred kilobytes at most.
inline constexpr qint64 kMaxSmlFileSize = 16 * 1024 * 1024;

// Lines nested deeper than this are ignored, which keeps every walk over a node tree shallow.
inline constexpr int kMaxSmlDepth = 200;

// The node tree of a document text (its first top-level node; an empty node for an empty text).
TNode ParseSml(const QString& text);

// The document text of a node tree (empty for an unnamed root): every line ends with CR LF. Reading it
// back gives the same tree, as long as names are not blank and hold no line breaks and values break
// lines with CR LF.
QString WriteSml(const TNode& root);

// Decodes a file's bytes: a byte-order mark decides; otherwise UTF-8, or the Arabic Windows code page
// when the bytes are not valid UTF-8.
QString DecodeSmlBytes(const QByteArray& bytes);

// Reads and decodes a document file; false with a message in error when it is missing, unreadable or
// larger than kMaxSmlFileSize.
bool ReadSmlText(const QString& fileName, QString* text, QString* error);

// One SML document file.
class TSML {
public:
    QString FileName;
    TNode Root;

    // Sets FileName, then Load.
    bool LoadFromFile(const QString& fileName);
    // Reads FileName into Root; on failure Root is unchanged and ErrorText says why ("File not found").
    bool Load();
    // Writes Root to FileName through a temporary file, so a failed save leaves the old file intact. On
    // failure shows "Save Failed" through the system message handler and returns false.
    bool Save();

    // The first node in document order below Root whose name matches (letter case ignored).
    TNode FindNode(const QString& name) const;
    static TNode AddChild(TNode& parent, const QString& name, const QString& value);

    const QString& ErrorText() const { return error_; }

private:
    QString error_;
};

} // namespace verdan
