#include "sml.h"

#include "text/system_message.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <vector>

namespace verdan {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool IsBlankChar(QChar c) {
    return c.unicode() <= 0x20;
}

bool IsBlank(QStringView s) {
    for (QChar c : s)
        if (!IsBlankChar(c))
            return false;
    return true;
}

// Trims every character up to U+0020, the same set that makes a line blank.
QStringView TrimBlank(QStringView s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsBlankChar(s[begin]))
        ++begin;
    while (end > begin && IsBlankChar(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

bool IsQuoted(QStringView trimmed) {
    return trimmed.size() > 1 && trimmed.front() == u'"' && trimmed.back() == u'"';
}

QString Unquote(QStringView s) {
    const QStringView trimmed = TrimBlank(s);
    if (IsQuoted(trimmed))
        return trimmed.mid(1, trimmed.size() - 2).toString();
    return s.toString();
}

bool SameName(const QString& a, const QString& b) {
    return a.toUpper() == b.toUpper();
}

// "~" starts a remark and "(*" switches block comments, so text holding them is written as "\~" and
// "(\*". A "(" already followed by backslashes and "*" gets one backslash more, so reading removes exactly
// one. No other backslash is touched: old documents hold plain Windows paths.
QString EscapeText(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'~') {
            out += QStringLiteral("\\~");
            continue;
        }
        out += c;
        if (c == u'(') {
            qsizetype j = i + 1;
            while (j < s.size() && s[j] == u'\\')
                ++j;
            if (j < s.size() && s[j] == u'*') {
                out += u'\\';
                out += s.mid(i + 1, j - i);
                i = j;
            }
        }
    }
    return out;
}

QString UnescapeText(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\\' && i + 1 < s.size() && s[i + 1] == u'~') {
            out += u'~';
            ++i;
            continue;
        }
        out += c;
        if (c == u'(') {
            qsizetype j = i + 1;
            while (j < s.size() && s[j] == u'\\')
                ++j;
            if (j > i + 1 && j < s.size() && s[j] == u'*') {
                out += s.mid(i + 2, j - i - 1);
                i = j;
            }
        }
    }
    return out;
}

// Index of the first "=" after a double quote and blanks, or -1.
qsizetype EqualsAfterQuote(QStringView s, qsizetype quote) {
    qsizetype j = quote + 1;
    while (j < s.size() && IsBlankChar(s[j]))
        ++j;
    return j < s.size() && s[j] == u'=' ? j : -1;
}

// Inside a quoted name, a double quote followed by blanks and "=" would look like the name's end, so a
// backslash is put right after such a quote (one more when backslashes already stand there).
QString EscapeQuotedName(QStringView s) {
    QString out;
    out.reserve(s.size() + 2);
    for (qsizetype i = 0; i < s.size(); ++i) {
        out += s[i];
        if (s[i] != u'"')
            continue;
        qsizetype j = i + 1;
        while (j < s.size() && s[j] == u'\\')
            ++j;
        if (EqualsAfterQuote(s, j - 1) >= 0)
            out += u'\\';
    }
    return out;
}

QString UnescapeQuotedName(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        out += s[i];
        if (s[i] != u'"')
            continue;
        qsizetype j = i + 1;
        while (j < s.size() && s[j] == u'\\')
            ++j;
        if (j > i + 1 && EqualsAfterQuote(s, j - 1) >= 0)
            ++i;
    }
    return out;
}

// A node line cut into its parts. equals is the index of the "=" that separates name and value, -1 when
// the line has no value.
struct LineParts {
    QStringView name;
    QStringView value;
    qsizetype equals = -1;
    bool quotedName = false;
};

qsizetype FirstRemark(QStringView s) {
    for (qsizetype i = 0; i < s.size(); ++i)
        if (s[i] == u'~' && (i == 0 || s[i - 1] != u'\\'))
            return i;
    return -1;
}

QStringView ValueAfter(QStringView t, qsizetype equals) {
    qsizetype start = equals + 1;
    if (start < t.size() && t[start] == u' ')
        ++start;
    return t.mid(start);
}

LineParts SplitLine(QStringView t) {
    LineParts parts;
    const qsizetype remark = FirstRemark(t);
    if (remark == 0)
        return parts;
    if (remark > 0)
        t = t.left(remark);
    if (t.startsWith(u'"')) {
        // The name ends at the first quote followed by blanks and then "=" or the end of the line.
        for (qsizetype q = 1; q < t.size(); ++q) {
            if (t[q] != u'"')
                continue;
            const qsizetype equals = EqualsAfterQuote(t, q);
            if (equals < 0 && !IsBlank(t.mid(q + 1)))
                continue;
            parts.name = t.left(q + 1);
            parts.quotedName = true;
            if (equals >= 0) {
                parts.equals = equals;
                parts.value = ValueAfter(t, equals);
            }
            return parts;
        }
        parts.name = TrimBlank(t);
        return parts;
    }
    const qsizetype equals = t.indexOf(u'=', 1);
    if (equals < 0) {
        parts.name = TrimBlank(t);
        return parts;
    }
    parts.name = TrimBlank(t.left(equals));
    parts.equals = equals;
    parts.value = ValueAfter(t, equals);
    return parts;
}

QString DecodeName(const LineParts& parts) {
    if (parts.quotedName)
        return UnescapeText(UnescapeQuotedName(parts.name.mid(1, parts.name.size() - 2)));
    return UnescapeText(Unquote(parts.name));
}

QString DecodeValue(QStringView value) {
    return UnescapeText(Unquote(value));
}

bool HasTextBefore(const QString& line, qsizetype column) {
    return !IsBlank(QStringView(line).left(column));
}

struct Continuation {
    QString text;
    qsizetype next = 0;    // first line not consumed
    qint32 blankAfter = 0; // blank lines between the last text line and next
};

// Lines whose columns up to and including the "=" are blank continue a value; blank lines among them add
// nothing.
Continuation ReadContinuation(const QStringList& lines, qsizetype j, qsizetype equalsColumn) {
    Continuation c;
    for (; j < lines.size(); ++j) {
        const QString& line = lines[j];
        if (IsBlank(line)) {
            ++c.blankAfter;
            continue;
        }
        if (HasTextBefore(line, equalsColumn + 1))
            break;
        const qsizetype start = line[equalsColumn + 1] == u' ' ? equalsColumn + 2 : equalsColumn + 1;
        QStringView piece = QStringView(line).mid(start);
        const qsizetype remark = FirstRemark(piece);
        if (remark >= 0)
            piece = piece.left(remark);
        c.text += kCrLf + DecodeValue(piece);
        c.blankAfter = 0;
    }
    c.next = j;
    return c;
}

// One open nesting level. A discarding level swallows every line indented below it: it stands for lines
// under a remark that follows no node, and for lines nested deeper than kMaxSmlDepth.
struct Level {
    TNode* parent;
    qsizetype column;
};

// Reads the nodes of one level and every level below it, iteratively. Returns the index of the first line
// that belongs to none of them.
qsizetype ParseBlock(const QStringList& lines, qsizetype i, TNode* top, qsizetype column, bool& comment) {
    std::vector<Level> levels{{top, column}};
    while (i < lines.size()) {
        const Level level = levels.back();
        const QString& line = lines[i];
        if (IsBlank(line)) {
            if (level.parent)
                ++level.parent->BlankLines;
            ++i;
            continue;
        }
        if (HasTextBefore(line, level.column)) {
            levels.pop_back();
            if (levels.empty())
                return i;
            continue;
        }
        if (!level.parent) {
            if (line.contains(QLatin1String("(*")))
                comment = !comment;
            ++i;
            continue;
        }
        if (line[level.column] == u' ') {
            levels.pop_back();
            if (levels.empty())
                return i;
            continue;
        }
        if (line.contains(QLatin1String("(*"))) {
            comment = !comment;
            ++i;
            continue;
        }
        if (comment) {
            ++i;
            continue;
        }
        TNode& parent = *level.parent;
        const LineParts parts = SplitLine(QStringView(line).mid(level.column));
        if (!parts.quotedName) {
            const QStringView joint = TrimBlank(parts.name);
            if (joint == u">" || joint == u">|") {
                // A join line with nothing before it at its level has nothing to join to.
                if (!parent.Children.isEmpty())
                    parent.Children.last().Value +=
                        (joint == u">" ? QStringLiteral(" ") : kCrLf) + DecodeValue(parts.value);
                ++i;
                continue;
            }
        }
        qsizetype next = i + 1;
        const QString name = DecodeName(parts);
        if (!IsBlank(name)) {
            parent.Children.append(TNode{name, DecodeValue(parts.value), 0, {}});
            if (parts.equals >= 0) {
                const Continuation more = ReadContinuation(lines, i + 1, level.column + parts.equals);
                if (!more.text.isEmpty()) {
                    TNode& node = parent.Children.last();
                    node.Value += more.text;
                    node.BlankLines += more.blankAfter;
                    next = more.next;
                }
            }
        }
        // Lines two columns deeper belong to the last node of this level, also across a remark line.
        const bool keep = !parent.Children.isEmpty() && levels.size() < size_t(kMaxSmlDepth);
        levels.push_back({keep ? &parent.Children.last() : nullptr, level.column + 2});
        i = next;
    }
    return i;
}

// Lines end at CR LF, CR or LF. keepLast keeps the empty piece after a final break, as a value needs.
QStringList SplitLines(const QString& text, bool keepLast = false) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size() || keepLast)
        lines.append(text.mid(start));
    return lines;
}

// Names are written between double quotes when reading them bare would change them: they hold "=", have
// blanks at either end, begin with a quote, or would read as a join line.
QString EncodeName(const QString& name) {
    QString plain = name;
    plain.replace(u'\r', u' ').replace(u'\n', u' ');
    const QStringView trimmed = TrimBlank(plain);
    const bool quote = plain.contains(u'=') || trimmed == u">" || trimmed == u">|" ||
                       trimmed.size() != plain.size() || plain.startsWith(u'"');
    const QString escaped = EscapeText(plain);
    return quote ? u'"' + EscapeQuotedName(escaped) + u'"' : escaped;
}

// One line of a value. Lines that reading would change (quoted ones, blank ones, which reading skips or
// trims) are wrapped in one more pair of quotes.
QString EncodeValueLine(QStringView line, bool first) {
    const QString escaped = EscapeText(line);
    const QStringView trimmed = TrimBlank(escaped);
    if (IsQuoted(trimmed) || (trimmed.isEmpty() && (!escaped.isEmpty() || !first)))
        return u'"' + escaped + u'"';
    return escaped;
}

void WriteNode(const TNode& node, qsizetype indent, QStringList& out) {
    const QString head = QString(indent, u' ') + EncodeName(node.Name);
    if (node.Value.isEmpty()) {
        out.append(head);
    } else {
        const QStringList values = SplitLines(node.Value, true);
        out.append(head + QStringLiteral(" = ") + EncodeValueLine(values.first(), true));
        const QString continuation(head.size() + 3, u' ');
        for (qsizetype k = 1; k < values.size(); ++k)
            out.append(continuation + EncodeValueLine(values[k], false));
    }
    for (qint32 k = 0; k < node.BlankLines; ++k)
        out.append(QString());
    for (const TNode& child : node.Children)
        if (!IsBlank(child.Name))
            WriteNode(child, indent + 2, out);
}

// The owner's write permission stands for the read-only attribute, which even an administrator respects.
bool IsReadOnly(const QString& fileName) {
    const QFileInfo info(fileName);
    return info.exists() && (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner));
}

} // namespace

void TNode::Clear() {
    Name.clear();
    Value.clear();
    BlankLines = 0;
    Children.clear();
}

TNode TNode::Add(const QString& name, const QString& value) {
    Children.append(TNode{name, value, 0, {}});
    return Children.last();
}

TNode TNode::AddBool(const QString& name, bool value) {
    return Add(name, value ? QStringLiteral("true") : QStringLiteral("false"));
}

TNode TNode::AddInt(const QString& name, int value) {
    return Add(name, QString::number(value));
}

TNode TNode::AddPoint(const QString& name, const QPoint& value) {
    return Add(name, QString::number(value.x()) + u':' + QString::number(value.y()));
}

TNode TNode::AddNode(const TNode& node) {
    Children.append(node);
    TNode& copy = Children.last();
    if (copy.BlankLines > 100)
        copy.BlankLines = 0;
    return copy;
}

TNode TNode::Child(const QString& name) const {
    for (qsizetype i = Children.size() - 1; i >= 0; --i)
        if (SameName(Children[i].Name, name))
            return Children[i];
    return TNode();
}

QString TNode::ChildValue(const QString& name) const {
    for (qsizetype i = Children.size() - 1; i >= 0; --i)
        if (SameName(Children[i].Name, name))
            return Children[i].Value;
    return QString();
}

bool TNode::AsBoolean() const {
    return Value.toUpper() == QLatin1String("TRUE");
}

int TNode::AsInteger() const {
    const auto numeric = [](QChar c) {
        return c == u'-' || (c >= u'0' && c <= u'9');
    };
    qsizetype start = 0;
    while (start < Value.size() && !numeric(Value[start]))
        ++start;
    qsizetype end = start;
    while (end < Value.size() && numeric(Value[end]))
        ++end;
    bool ok = false;
    const int number = QStringView(Value).mid(start, end - start).toInt(&ok);
    return ok ? number : 0;
}

QPoint TNode::AsPoint() const {
    const qsizetype colon = Value.indexOf(u':');
    if (colon < 0)
        return QPoint(0, 0);
    const auto number = [](QStringView s) {
        bool ok = false;
        const int n = s.trimmed().toInt(&ok);
        return ok ? n : 0;
    };
    return QPoint(number(QStringView(Value).left(colon)), number(QStringView(Value).mid(colon + 1)));
}

TName_String_Value_Array TNode::ToArray() const {
    TName_String_Value_Array pairs;
    pairs.reserve(Children.size());
    for (const TNode& child : Children)
        pairs.append({child.Name, child.Value});
    return pairs;
}

TNode ParseSml(const QString& text) {
    const QStringList lines = SplitLines(text);
    qsizetype column = 0;
    for (const QString& line : lines) {
        if (IsBlank(line))
            continue;
        while (line[column] == u' ')
            ++column;
        break;
    }
    TNode container;
    bool comment = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QLatin1String("(*")))
            comment = !comment;
        else if (!comment)
            i = ParseBlock(lines, i, &container, column, comment);
    }
    if (container.Children.isEmpty())
        return TNode();
    return std::move(container.Children.first());
}

QString WriteSml(const TNode& root) {
    QStringList lines;
    if (!IsBlank(root.Name))
        WriteNode(root, 0, lines);
    QString text;
    for (const QString& line : lines)
        text += line + kCrLf;
    return text;
}

QString DecodeSmlBytes(const QByteArray& bytes) {
    if (const auto bom = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*bom).decode(bytes);
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder arabic("windows-1256");
    if (arabic.isValid())
        return arabic.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool ReadSmlText(const QString& fileName, QString* text, QString* error) {
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir()) {
        *error = QStringLiteral("File not found");
        return false;
    }
    if (info.size() > kMaxSmlFileSize) {
        *error = QStringLiteral("File is too large (over %1 MiB)").arg(kMaxSmlFileSize / (1024 * 1024));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read file: ") + file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(kMaxSmlFileSize + 1);
    if (bytes.size() > kMaxSmlFileSize) {
        *error = QStringLiteral("File is too large (over %1 MiB)").arg(kMaxSmlFileSize / (1024 * 1024));
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read file: ") + file.errorString();
        return false;
    }
    *text = DecodeSmlBytes(bytes);
    return true;
}

bool TSML::LoadFromFile(const QString& fileName) {
    FileName = fileName;
    return Load();
}

bool TSML::Load() {
    error_.clear();
    if (IsBlank(FileName))
        return false;
    QString text;
    if (!ReadSmlText(FileName, &text, &error_))
        return false;
    Root = ParseSml(text);
    return true;
}

bool TSML::Save() {
    error_.clear();
    if (IsBlank(FileName))
        return false;
    const QString text = WriteSml(Root);
    const qsizetype lineCount = text.count(kCrLf);
    // A document without a root name would read back as a different tree.
    if (IsBlank(Root.Name)) {
        error_ = QStringLiteral("The document has no root node.");
    } else if (IsReadOnly(FileName)) {
        error_ = QStringLiteral("Access denied.");
    } else {
        QSaveFile file(FileName);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("\xEF\xBB\xBF");
            file.write(text.toUtf8());
            if (file.commit())
                return true;
        }
        error_ = file.errorString();
    }
    ShowSystemMessage(QStringLiteral("Save Failed"), QStringLiteral("Cannot save file. \nLines: ") +
                                                         QString::number(lineCount) + u'\n' + error_ + u'\n' +
                                                         FileName);
    return false;
}

TNode TSML::FindNode(const QString& name) const {
    if (name.isEmpty())
        return TNode();
    const QString wanted = name.toUpper();
    std::vector<const TNode*> pending;
    for (qsizetype i = Root.Children.size() - 1; i >= 0; --i)
        pending.push_back(&Root.Children[i]);
    while (!pending.empty()) {
        const TNode* node = pending.back();
        pending.pop_back();
        if (node->Name.toUpper() == wanted)
            return *node;
        for (qsizetype i = node->Children.size() - 1; i >= 0; --i)
            pending.push_back(&node->Children[i]);
    }
    return TNode();
}

TNode TSML::AddChild(TNode& parent, const QString& name, const QString& value) {
    return parent.Add(name, value);
}

} // namespace verdan
