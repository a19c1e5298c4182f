#include "common/testing.h"
#include "text/sml.h"
#include "text/system_message.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace verdan;

namespace verdan {
// Shows a node tree structurally, with control characters visible, when two trees differ.
void PrintTo(const TNode& node, std::ostream* os, int indent = 0) {
    const auto shown = [](const QString& s) {
        return QString(s)
            .replace(u'\r', QStringLiteral("\\r"))
            .replace(u'\n', QStringLiteral("\\n"))
            .replace(u'\t', QStringLiteral("\\t"))
            .toStdString();
    };
    *os << std::string(indent, ' ') << '[' << shown(node.Name) << "]=[" << shown(node.Value) << "] +"
        << node.BlankLines << '\n';
    for (const TNode& child : node.Children)
        PrintTo(child, os, indent + 2);
}
} // namespace verdan

namespace {

QString Lines(std::initializer_list<const char*> lines) {
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

QString WriteFile(const QString& name, const QByteArray& bytes) {
    const QString path = test::NewTempDir() + u'/' + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

TEST(SmlReader, EmptyDocumentsAndOnlyFirstTopLevelNode) {
    EXPECT_TRUE(ParseSml(QString()).IsEmpty());
    EXPECT_TRUE(ParseSml(QStringLiteral("  \r\n\r\n \t\n")).IsEmpty());
    TSML empty;
    EXPECT_TRUE(empty.FindNode(QStringLiteral("x")).IsEmpty());
    EXPECT_TRUE(empty.Root.Child(QStringLiteral("x")).IsEmpty());

    const TNode root = ParseSml(Lines({"first = 1", "  a = 2", "second", "  b = 3"}));
    EXPECT_EQ(root.Name, QStringLiteral("first"));
    EXPECT_EQ(root.Value, QStringLiteral("1"));
    ASSERT_EQ(root.Children.size(), 1);
    EXPECT_EQ(root.ChildValue(QStringLiteral("A")), QStringLiteral("2"));

    // The top-level column is that of the first line, wherever it stands.
    const TNode shifted = ParseSml(Lines({"", "    top", "      child = x"}));
    EXPECT_EQ(shifted.Name, QStringLiteral("top"));
    EXPECT_EQ(shifted.ChildValue(QStringLiteral("child")), QStringLiteral("x"));
}

TEST(SmlReader, LanguageHeaderShape) {
    TSML doc;
    doc.Root = ParseSml(
        Lines({"sml = version = 0.1; encoding = utf-8", "  localization", "    header",
               "      source_lang = English", "      target_lang = English", "        native_name = English",
               "        orientation = ltr", "        Keyboard_Layout = English", "", "    translations",
               "      unit", "        context = dialog", "        source = &OK", "        target = "}));
    EXPECT_EQ(doc.Root.Name, QStringLiteral("sml"));
    EXPECT_EQ(doc.Root.Value, QStringLiteral("version = 0.1; encoding = utf-8"));
    const TNode target = doc.FindNode(QStringLiteral("TARGET_LANG"));
    EXPECT_EQ(target.ChildValue(QStringLiteral("orientation")), QStringLiteral("ltr"));
    EXPECT_EQ(target.Child(QStringLiteral("keyboard_layout")).BlankLines, 1);
    const TNode unit = doc.FindNode(QStringLiteral("unit"));
    EXPECT_EQ(unit.ChildValue(QStringLiteral("source")), QStringLiteral("&OK"));
    EXPECT_TRUE(unit.ChildValue(QStringLiteral("target")).isEmpty());
    EXPECT_FALSE(unit.Child(QStringLiteral("target")).IsEmpty());
}

TEST(SmlReader, MultiLineValuesAndJoins) {
    const TNode list = ParseSml(Lines({"unit", "  target = <list>", "           Family", "",
                                       "           Clan", "            Tribe", "  next = 1"}));
    EXPECT_EQ(list.ChildValue(QStringLiteral("target")),
              QStringLiteral("<list>\r\nFamily\r\nClan\r\n Tribe"));
    EXPECT_EQ(list.ChildValue(QStringLiteral("next")), QStringLiteral("1"));

    const TNode leading = ParseSml(Lines({"unit", "  target = ", "           a", "           b"}));
    EXPECT_EQ(leading.ChildValue(QStringLiteral("target")), QStringLiteral("\r\na\r\nb"));

    const TNode joined = ParseSml(Lines({"root", "  text = one", "  > = two", "  >| = three"}));
    EXPECT_EQ(joined.ChildValue(QStringLiteral("text")), QStringLiteral("one two\r\nthree"));
}

TEST(SmlReader, QuotesRemarksAndComments) {
    const TNode root =
        ParseSml(Lines({"root", "  quoted = \"  padded \"", "  single = \"", "  kept = a \"b\"",
                        "  remark = value ~ note", "  ~ a remark line", "    under = 1",
                        "  (* one-line remark *)", "  hidden = 1", "  (*", "  shown = 1"}));
    EXPECT_EQ(root.ChildValue(QStringLiteral("quoted")), QStringLiteral("  padded "));
    EXPECT_EQ(root.ChildValue(QStringLiteral("single")), QStringLiteral("\""));
    EXPECT_EQ(root.ChildValue(QStringLiteral("kept")), QStringLiteral("a \"b\""));
    EXPECT_EQ(root.ChildValue(QStringLiteral("remark")), QStringLiteral("value "));
    // A remark line does not end the level: deeper lines after it belong to the node before it.
    EXPECT_EQ(root.Child(QStringLiteral("remark")).ChildValue(QStringLiteral("under")), QStringLiteral("1"));
    EXPECT_TRUE(root.Child(QStringLiteral("hidden")).IsEmpty());
    EXPECT_EQ(root.ChildValue(QStringLiteral("shown")), QStringLiteral("1"));
}

TEST(SmlReader, LookupsAndConversions) {
    TSML doc;
    doc.Root =
        ParseSml(Lines({"root", "  a", "    deep = first", "  deep = second", "  dup = 1", "  dup = 2"}));
    EXPECT_EQ(doc.FindNode(QStringLiteral("Deep")).Value, QStringLiteral("first"));
    EXPECT_EQ(doc.Root.ChildValue(QStringLiteral("DUP")), QStringLiteral("2"));
    EXPECT_TRUE(doc.FindNode(QString()).IsEmpty());
    EXPECT_TRUE(doc.FindNode(QStringLiteral("root")).IsEmpty());

    const auto value = [](const char* v) {
        return TNode{QStringLiteral("n"), QString::fromUtf8(v), 0, {}};
    };
    EXPECT_TRUE(value("TrUe").AsBoolean());
    EXPECT_FALSE(value(" true").AsBoolean());
    EXPECT_EQ(value("12px").AsInteger(), 12);
    EXPECT_EQ(value("x-5").AsInteger(), -5);
    EXPECT_EQ(value("1-2").AsInteger(), 0);
    EXPECT_EQ(value("").AsInteger(), 0);
    EXPECT_EQ(value("99999999999").AsInteger(), 0);
    EXPECT_EQ(value("-3:40").AsPoint(), QPoint(-3, 40));
    EXPECT_EQ(value("7:x").AsPoint(), QPoint(7, 0));
    EXPECT_EQ(value("7").AsPoint(), QPoint(0, 0));

    TNode built{QStringLiteral("Options"), {}, 0, {}};
    built.AddBool(QStringLiteral("b"), true);
    built.AddInt(QStringLiteral("i"), -4);
    built.AddPoint(QStringLiteral("p"), QPoint(3, -9));
    EXPECT_EQ(built.AddNode(TNode{QStringLiteral("g"), {}, 500, {}}).BlankLines, 0);
    const TName_String_Value_Array pairs = built.ToArray();
    ASSERT_EQ(pairs.size(), 4);
    EXPECT_EQ(pairs[0], (TName_String_Value{QStringLiteral("b"), QStringLiteral("true")}));
    EXPECT_EQ(pairs[2].value, QStringLiteral("3:-9"));
    EXPECT_EQ(built.Child(QStringLiteral("i")).AsInteger(), -4);
}

TEST(SmlWriter, LayoutOfWrittenLines) {
    TNode root{QStringLiteral("root"), {}, 1, {}};
    root.Add(QStringLiteral("key"), QStringLiteral("a\r\nb"));
    root.Add(QStringLiteral("a=b"), QString());
    root.Add(QStringLiteral("empty"), QString());
    EXPECT_EQ(WriteSml(root), Lines({"root", "", "  key = a", "        b", "  \"a=b\"", "  empty"}));
    EXPECT_EQ(ParseSml(WriteSml(root)).Children[1].Name, QStringLiteral("a=b"));

    // Remark and comment marks are escaped; other backslashes are left alone.
    TNode marks{QStringLiteral("r"), {}, 0, {}};
    marks.Add(QStringLiteral("path"), QStringLiteral("C:\\Users\\x (*old*) ~me"));
    const QString text = WriteSml(marks);
    EXPECT_EQ(text, Lines({"r", "  path = C:\\Users\\x (\\*old*) \\~me"}));
    EXPECT_EQ(ParseSml(text), marks);
}

TEST(SmlWriter, RoundTripsAwkwardNamesAndValues) {
    TNode root{QStringLiteral("root"), QStringLiteral("line one\r\n\r\n  indented\r\n"), 2, {}};
    root.Add(QStringLiteral("name = with equals"), QStringLiteral("value"));
    root.Add(QStringLiteral("\"quoted\""), QStringLiteral("\"quoted value\""));
    root.Add(QStringLiteral(" padded "), QStringLiteral("   "));
    root.Add(QStringLiteral(">"), QStringLiteral("not a join"));
    root.Add(QStringLiteral(">|"), QStringLiteral("nor this"));
    root.Add(QStringLiteral("a\" = b"), QStringLiteral("c\" = d"));
    root.Add(QStringLiteral("tilde~(*"), QStringLiteral("~(\\*)\\~"));
    root.Add(QStringLiteral("lines"), QStringLiteral("\r\n \r\n\"x\"\r\n\t"));
    TNode group{QStringLiteral("group"), QStringLiteral("multi\r\nline"), 3, {}};
    group.Add(QStringLiteral("child"), QStringLiteral("c"));
    group.Children[0].BlankLines = 1;
    root.AddNode(group);
    EXPECT_EQ(ParseSml(WriteSml(root)), root);
}

// Random trees over an alphabet rich in the characters that carry meaning in the syntax.
TEST(SmlWriter, RandomTreesReadBackIdentical) {
    QRandomGenerator random(20240311);
    const QString alphabet = QStringLiteral("ab =\"~(*)\\>|\t\u0639");
    const auto text = [&](int maxLength, bool lines) {
        QString s;
        const int length = random.bounded(maxLength + 1);
        for (int i = 0; i < length; ++i) {
            if (lines && random.bounded(8) == 0)
                s += QStringLiteral("\r\n");
            else
                s += alphabet[random.bounded(int(alphabet.size()))];
        }
        return s;
    };
    const auto name = [&] {
        QString s;
        while (s.trimmed().isEmpty())
            s = text(6, false);
        return s;
    };
    const std::function<TNode(int)> tree = [&](int depth) {
        TNode node{name(), text(12, true), qint32(random.bounded(3)), {}};
        const int children = depth > 0 ? random.bounded(4) : 0;
        for (int i = 0; i < children; ++i)
            node.Children.append(tree(depth - 1));
        return node;
    };
    for (int round = 0; round < 400; ++round) {
        const TNode original = tree(3);
        const QString written = WriteSml(original);
        const TNode read = ParseSml(written);
        ASSERT_EQ(read, original) << qPrintable(written);
        ASSERT_EQ(WriteSml(read), written);
    }
}

TEST(SmlReader, DamagedInputIsIgnoredSafely) {
    // Join lines and lines under a remark with no node before them at their level.
    const TNode orphan = ParseSml(Lines({"root", "  > = lost", "  >| = lost", "  ~ remark", "    orphan = 1",
                                         "      deeper = 2", "  kept = 3"}));
    EXPECT_EQ(orphan.Value, QString());
    ASSERT_EQ(orphan.Children.size(), 1);
    EXPECT_EQ(orphan.ChildValue(QStringLiteral("kept")), QStringLiteral("3"));

    // A line indented deeper than its level allows ends every open level.
    const TNode deep = ParseSml(Lines({"root", "  a", "      too deep", "  b"}));
    ASSERT_EQ(deep.Children.size(), 1);
    EXPECT_TRUE(deep.Children[0].Children.isEmpty());

    // Nesting far deeper than any real document neither overflows the stack nor keeps the excess.
    QString nested;
    for (int level = 0; level < 1000; ++level)
        nested += QString(level * 2, u' ') + QStringLiteral("n\n");
    TNode node = ParseSml(nested);
    int depth = 0;
    while (!node.Children.isEmpty()) {
        node = TNode(node.Children.first());
        ++depth;
    }
    EXPECT_LT(depth, kMaxSmlDepth);
    EXPECT_GT(depth, 100);
}

TEST(SmlFile, LoadingEncodingsAndRefusals) {
    TSML doc;
    EXPECT_FALSE(doc.LoadFromFile(test::NewTempDir() + QStringLiteral("/missing.sml")));
    EXPECT_EQ(doc.ErrorText(), QStringLiteral("File not found"));

    const QString bom = WriteFile(QStringLiteral("bom.sml"), QByteArray("\xEF\xBB\xBFroot = \xD8\xB9\r\n"));
    ASSERT_TRUE(doc.LoadFromFile(bom));
    EXPECT_EQ(doc.Root.Value, QStringLiteral("\u0639"));

    QByteArray utf16("\xFF\xFE");
    for (QChar c : QStringLiteral("root = \u0639\n"))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    ASSERT_TRUE(doc.LoadFromFile(WriteFile(QStringLiteral("utf16.sml"), utf16)));
    EXPECT_EQ(doc.Root.Value, QStringLiteral("\u0639"));

    // Not UTF-8: read in the Arabic Windows code page.
    ASSERT_TRUE(doc.LoadFromFile(WriteFile(QStringLiteral("ansi.sml"), QByteArray("root = \xC7\xE1\r\n"))));
    EXPECT_EQ(doc.Root.Value, QStringLiteral("\u0627\u0644"));

    const TNode before = doc.Root;
    const QString big = WriteFile(QStringLiteral("big.sml"), QByteArray(kMaxSmlFileSize + 1, ' '));
    EXPECT_FALSE(doc.LoadFromFile(big));
    EXPECT_TRUE(doc.ErrorText().contains(QStringLiteral("too large")));
    EXPECT_EQ(doc.Root, before);
    QFile::remove(big);
}

TEST(SmlFile, SaveWritesBomAndCrLfAndFailsSafely) {
    QStringList shown;
    SetSystemMessageHandler([&](const QString& caption, const QString&) { shown.append(caption); });

    TSML doc;
    doc.FileName = test::NewTempDir() + QStringLiteral("/options.sml");
    doc.Root.Name = QStringLiteral("Options");
    doc.Root.Add(QStringLiteral("Language File"), QStringLiteral("langs/arabic.local"));
    ASSERT_TRUE(doc.Save());
    QFile file(doc.FileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBFOptions\r\n  Language File = langs/arabic.local\r\n"));
    file.close();

    // A read-only file is left as it was.
    TSML other = doc;
    other.Root.Add(QStringLiteral("More"), QStringLiteral("x"));
    QFile::setPermissions(doc.FileName, QFileDevice::ReadOwner);
    EXPECT_FALSE(other.Save());
    EXPECT_EQ(other.ErrorText(), QStringLiteral("Access denied."));
    TSML reread;
    ASSERT_TRUE(reread.LoadFromFile(doc.FileName));
    EXPECT_EQ(reread.Root, doc.Root);
    QFile::setPermissions(doc.FileName, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    other.FileName = test::NewTempDir() + QStringLiteral("/no/such/folder/x.sml");
    EXPECT_FALSE(other.Save());
    EXPECT_FALSE(QFile::exists(other.FileName));

    TSML unnamed;
    unnamed.FileName = test::NewTempDir() + QStringLiteral("/unnamed.sml");
    unnamed.Root.Add(QStringLiteral("child"), QStringLiteral("x"));
    EXPECT_FALSE(unnamed.Save());
    EXPECT_EQ(shown, QStringList(3, QStringLiteral("Save Failed")));

    unnamed.FileName = QStringLiteral("  ");
    EXPECT_FALSE(unnamed.Save());
    EXPECT_EQ(shown.size(), 3);
    SetSystemMessageHandler({});
}
