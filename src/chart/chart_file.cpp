#include "chart_file.h"

#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QFileInfo>

namespace verdan {

namespace {

const QString kRoot = QStringLiteral("Verdan Chart");
constexpr int kMaxFontSize = 500;

QString ConnectionText(TConnectionTo c) {
    switch (c) {
    case TConnectionTo::Father:
        return QStringLiteral("father");
    case TConnectionTo::Mother:
        return QStringLiteral("mother");
    case TConnectionTo::Both:
        break;
    }
    return QStringLiteral("both");
}

QString LinkTypeText(TLinkType t) {
    switch (t) {
    case TLinkType::Stick:
        return QStringLiteral("Stick");
    case TLinkType::Line:
        return QStringLiteral("Line");
    case TLinkType::Follow:
        break;
    }
    return QStringLiteral("Follow");
}

QString DatesText(TDateShown shown) {
    switch (shown) {
    case TDateShown::Gregorian:
        return QStringLiteral("Gregorian");
    case TDateShown::Both:
        return QStringLiteral("Both");
    case TDateShown::Hijri:
        break;
    }
    return QStringLiteral("Hijri");
}

TDateShown DatesOf(const QString& text) {
    return text.compare(u"Gregorian", Qt::CaseInsensitive) == 0 ? TDateShown::Gregorian
           : text.compare(u"Both", Qt::CaseInsensitive) == 0    ? TDateShown::Both
                                                                : TDateShown::Hijri;
}

QString CurrentTreeFileName() {
    const QString path = CurrentTreePath();
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

TNode PersonNode(const TPersonObject& item) {
    TNode node{QStringLiteral("Person"), QString(), 0, {}};
    const TShowOption& o = item.Options;
    node.Add(QStringLiteral("ID"), item.Id);
    node.AddPoint(QStringLiteral("Position"), item.Position());
    node.Add(QStringLiteral("Connection To"), ConnectionText(item.ConnectionTo));
    node.Add(QStringLiteral("Link Type"), LinkTypeText(item.LinkType));
    node.AddBool(QStringLiteral("Show Full Name"), o.ShowFullName);
    node.AddBool(QStringLiteral("Show Dates"), o.ShowDates);
    node.AddBool(QStringLiteral("Show Picture"), o.ShowPicture);
    node.AddBool(QStringLiteral("Root at Top"), o.RootAtTop);
    node.AddBool(QStringLiteral("Show Frame"), !o.HideFrame);
    node.AddInt(QStringLiteral("Fill Color"), qint32(o.FillColor));
    node.AddBool(QStringLiteral("Parent Font"), o.ParentFont);
    node.Add(QStringLiteral("Font Name"), o.Font.Name);
    node.AddInt(QStringLiteral("Font Size"), o.Font.Size);
    node.AddInt(QStringLiteral("Font Color"), qint32(o.Font.Color));
    node.AddBool(QStringLiteral("Font Bold"), o.Font.Style & kFontBold);
    node.AddBool(QStringLiteral("Font Underline"), o.Font.Style & kFontUnderline);
    node.AddBool(QStringLiteral("Font Italic"), o.Font.Style & kFontItalic);
    node.AddBool(QStringLiteral("Font Strike Out"), o.Font.Style & kFontStrikeOut);
    return node;
}

// One "Person" entry as read. The identifier, position and link style carry over from the entry before,
// so an entry that lacks them repeats it.
struct PersonEntry {
    QString Id;
    QPoint Position;
    TLinkType LinkType = TLinkType::Follow;
    TConnectionTo ConnectionTo = TConnectionTo::Father;
    TShowOption Options;
};

void ReadPersonEntry(const TNode& node, PersonEntry& e) {
    e.ConnectionTo = TConnectionTo::Father;
    e.Options = TShowOption{};
    for (const TNode& child : node.Children) {
        const QString& key = child.Name;
        auto style = [&](quint8 bit) {
            if (child.AsBoolean())
                e.Options.Font.Style |= bit;
            else
                e.Options.Font.Style &= quint8(~bit);
        };
        if (key == u"ID") {
            e.Id = child.Value;
        } else if (key == u"Position") {
            const QPoint p = child.AsPoint();
            e.Position =
                QPoint(std::clamp(p.x(), 0, kMaxChartPosition), std::clamp(p.y(), 0, kMaxChartPosition));
        } else if (key == u"Connection To") {
            const QString value = child.Value.toLower();
            e.ConnectionTo = value == u"father"   ? TConnectionTo::Father
                             : value == u"mother" ? TConnectionTo::Mother
                                                  : TConnectionTo::Both;
        } else if (key == u"Link Type") {
            if (child.Value == u"Stick")
                e.LinkType = TLinkType::Stick;
            else if (child.Value == u"Line")
                e.LinkType = TLinkType::Line;
            else if (child.Value == u"Follow")
                e.LinkType = TLinkType::Follow;
        } else if (key == u"Show Full Name") {
            e.Options.ShowFullName = child.AsBoolean();
        } else if (key == u"Show Dates") {
            e.Options.ShowDates = child.AsBoolean();
        } else if (key == u"Show Picture") {
            e.Options.ShowPicture = child.AsBoolean();
        } else if (key == u"Root at Top") {
            e.Options.RootAtTop = child.AsBoolean();
        } else if (key == u"Show Frame") {
            e.Options.HideFrame = !child.AsBoolean();
        } else if (key == u"Fill Color") {
            e.Options.FillColor = quint32(child.AsInteger()) & 0xFFFFFF;
        } else if (key == u"Parent Font") {
            e.Options.ParentFont = child.AsBoolean();
        } else if (key == u"Font Name") {
            e.Options.Font.Name = child.Value;
        } else if (key == u"Font Size") {
            e.Options.Font.Size = std::min(child.AsInteger(), kMaxFontSize);
        } else if (key == u"Font Color") {
            e.Options.Font.Color = quint32(child.AsInteger()) & 0xFFFFFF;
        } else if (key == u"Font Bold") {
            style(kFontBold);
        } else if (key == u"Font Italic") {
            style(kFontItalic);
        } else if (key == u"Font Underline") {
            style(kFontUnderline);
        } else if (key == u"Font Strike Out") {
            style(kFontStrikeOut);
        }
    }
}

void Fail(TChart& chart, TChartReadResult& result, const QString& error) {
    chart.Clear();
    chart.ChartFileName.clear();
    chart.Modified = false;
    result.Ok = false;
    result.Error = error;
}

} // namespace

TNode ChartDocument(const TChart& chart) {
    TNode root{kRoot, QString(), 0, {}};
    TNode info{QStringLiteral("Chart"), QStringLiteral("Chart Name"), 0, {}};
    info.Add(QStringLiteral("Tree Name"), IsTreeOpen() ? GetTreeName() : QString());
    info.Add(QStringLiteral("Tree File Name"), CurrentTreeFileName());
    // Rounded: 0.7 is 69.99.. in single precision, and must be written as 70.
    info.AddInt(QStringLiteral("Zoom"), RoundChart(double(chart.Zoom()) * 100.0));
    info.Add(QStringLiteral("Link Type"), LinkTypeText(chart.LinkType()));
    info.AddBool(QStringLiteral("Root at Top"), chart.Defaults.RootAtTop);
    info.AddBool(QStringLiteral("Left to Right"), chart.LeftToRight());
    info.Add(QStringLiteral("Dates"), DatesText(chart.DatesShown()));
    if (!chart.RootId.isEmpty())
        info.Add(QStringLiteral("Root"), chart.RootId);
    root.AddNode(info);
    TNode persons{QStringLiteral("Persons"), QString(), 0, {}};
    for (const TPersonObject& item : chart.Persons())
        persons.Children.append(PersonNode(item));
    root.AddNode(persons);
    if (!chart.Maritals().isEmpty()) {
        TNode marks{QStringLiteral("Connections"), QString(), 0, {}};
        for (const TMarital& m : chart.Maritals()) {
            if (m.Removed)
                continue;
            TNode mark{QStringLiteral("Connection"), QString(), 0, {}};
            mark.Add(QStringLiteral("ID 1"), m.HusbandId);
            mark.Add(QStringLiteral("ID 2"), m.WifeId);
            mark.AddPoint(QStringLiteral("Position"), QPoint(m.Mark.X, m.Mark.Y));
            marks.Children.append(mark);
        }
        root.AddNode(marks);
    }
    return root;
}

bool WriteChart(TChart& chart, const QString& path) {
    TSML document;
    document.FileName = path;
    document.Root = ChartDocument(chart);
    if (!document.Save())
        return false;
    chart.Modified = false;
    return true;
}

TChartReadResult ReadChartQuietly(TChart& chart, const QString& path) {
    TChartReadResult result;
    chart.Clear();
    TSML document;
    if (!document.LoadFromFile(path)) {
        Fail(chart, result,
             document.ErrorText().isEmpty() ? QStringLiteral("File not found") : document.ErrorText());
        return result;
    }
    if (document.Root.Name.compare(kRoot, Qt::CaseInsensitive) != 0) {
        Fail(chart, result, Translate(QStringLiteral("The file is not a chart.")));
        return result;
    }
    result.Ok = true;
    const TNode info = document.FindNode(QStringLiteral("Chart"));
    TLinkType linkType = TLinkType::Line;
    if (info.Name == u"Chart") {
        result.TreeFileName = info.ChildValue(QStringLiteral("Tree File Name"));
        result.OtherTree = result.TreeFileName != CurrentTreeFileName();
        if (info.ChildValue(QStringLiteral("Link Type")) == u"Stick")
            linkType = TLinkType::Stick;
        // Older files say nothing of these: the root stands at the top, reading runs right to left.
        const TNode top = info.Child(QStringLiteral("Root at Top"));
        chart.SetRootAtTop(top.Name.isEmpty() || top.AsBoolean(), false);
        chart.SetLeftToRight(info.Child(QStringLiteral("Left to Right")).AsBoolean(), false);
        chart.RootId = NormaliseChartId(info.ChildValue(QStringLiteral("Root")));
        chart.SetDatesShown(DatesOf(info.ChildValue(QStringLiteral("Dates"))), false);
    }
    chart.SetLinkType(linkType);

    const TNode persons = document.FindNode(QStringLiteral("Persons"));
    if (persons.Name == u"Persons") {
        chart.BeginPlacing();
        PersonEntry entry;
        for (const TNode& node : persons.Children) {
            if (node.Name != u"Person")
                continue;
            ReadPersonEntry(node, entry);
            const int index = chart.FindOrAddPerson(entry.Id);
            if (index < 0) {
                ++result.SkippedPersons;
                continue;
            }
            chart.PlaceItem(index, entry.Position.x(), entry.Position.y());
            chart.SetItemConnection(index, entry.ConnectionTo);
            chart.SetItemLinkType(index, entry.LinkType);
            chart.SetItemOptions(index, entry.Options);
        }
        chart.EndPlacing();
        // The positions read are the user's: the automatic layout keeps them until he arranges the chart.
        chart.PinAll();
    }

    TNode marks = document.FindNode(QStringLiteral("Connections"));
    if (marks.IsEmpty())
        marks = document.FindNode(QStringLiteral("Maritals"));
    for (const TNode& node : marks.Children) {
        if (node.Name != u"Connection" && node.Name != u"Marital")
            continue;
        const QString a = node.ChildValue(QStringLiteral("ID 1")).trimmed();
        const QString b = node.ChildValue(QStringLiteral("ID 2")).trimmed();
        if (chart.MarkOf(a, b) >= 0)
            continue;
        if (!chart.AddSavedMark(a, b, node.Child(QStringLiteral("Position")).AsPoint()))
            ++result.DroppedMarks;
    }

    int zoom = 100;
    const TNode zoomNode = document.FindNode(QStringLiteral("Zoom"));
    if (zoomNode.Name == u"Zoom")
        zoom = zoomNode.AsInteger();
    if (zoom > 1)
        chart.SetZoom(float(zoom) / 100.0f);
    chart.DeselectAll();
    chart.ComputeAllSticks();
    chart.ChartFileName = path;
    chart.Modified = false;
    return result;
}

TChartReadResult ReadChart(TChart& chart, const QString& path) {
    const TChartReadResult result = ReadChartQuietly(chart, path);
    if (!result.Ok) {
        MsgError(FillPattern(Translate(QStringLiteral("The chart could not be opened.|%s")),
                             {result.Error + u'\r' + IsolateLtr(path)}));
        return result;
    }
    if (result.OtherTree) {
        MsgWarning(FillPattern(
            Translate(QStringLiteral("This chart may not belong to the current tree file.| "
                                     "Chart tree file: %s%s Current tree file: %s")),
            {IsolateLtr(result.TreeFileName), QStringLiteral("\r"), IsolateLtr(CurrentTreeFileName())}));
    }
    QStringList notes;
    if (result.SkippedPersons > 0)
        notes << FillPattern(Translate(QStringLiteral("Persons not found in this tree and left out: %d")),
                             {QString::number(result.SkippedPersons)});
    if (result.DroppedMarks > 0)
        notes << FillPattern(Translate(QStringLiteral("Marriage marks without both persons, dropped: %d")),
                             {QString::number(result.DroppedMarks)});
    if (!notes.isEmpty())
        MsgInfo(notes.join(u'\r'));
    return result;
}

} // namespace verdan
