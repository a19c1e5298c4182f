#include "chart_json.h"

#include "chart/chart_painter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace verdan {

namespace {

QJsonObject Rect(int x, int y, int width, int height) {
    return {{QStringLiteral("x"), x},
            {QStringLiteral("y"), y},
            {QStringLiteral("width"), width},
            {QStringLiteral("height"), height}};
}

QJsonObject Rect(const TChartBox& b) {
    return Rect(b.X, b.Y, b.Width, b.Height);
}

QJsonObject Rect(const TChartRect& r) {
    return Rect(r.Left, r.Top, r.Width(), r.Height());
}

QJsonArray Point(const QPoint& p) {
    return {p.x(), p.y()};
}

QString KindName(TChartLine::Kind kind) {
    switch (kind) {
    case TChartLine::Kind::Spouse:
        return QStringLiteral("spouse");
    case TChartLine::Kind::Connector:
        return QStringLiteral("connector");
    case TChartLine::Kind::Stick:
        return QStringLiteral("stick");
    case TChartLine::Kind::Child:
        break;
    }
    return QStringLiteral("child");
}

} // namespace

QByteArray ChartJson(TChart& chart) {
    chart.ComputeAllSticks();
    QJsonArray persons;
    for (const TPersonObject& item : chart.Persons()) {
        QJsonObject person{{QStringLiteral("id"), item.Id},
                           {QStringLiteral("name"), item.DisplayName},
                           {QStringLiteral("gender"), item.Gender},
                           {QStringLiteral("father"), item.FatherId},
                           {QStringLiteral("mother"), item.MotherId},
                           {QStringLiteral("box"), Rect(item.Box)},
                           {QStringLiteral("text"), Rect(item.TextRect)}};
        if (item.PictureRect.Width() > 0)
            person.insert(QStringLiteral("picture"), Rect(item.PictureRect));
        persons.append(person);
    }
    QJsonArray marks;
    for (const TMarital& m : chart.Maritals())
        if (!m.Removed)
            marks.append(QJsonObject{{QStringLiteral("husband"), m.HusbandId},
                                     {QStringLiteral("wife"), m.WifeId},
                                     {QStringLiteral("box"), Rect(m.Mark)}});
    QJsonArray lines;
    for (const TChartLine& line : ChartLines(chart))
        lines.append(QJsonObject{{QStringLiteral("kind"), KindName(line.What)},
                                 {QStringLiteral("from"), Point(line.From)},
                                 {QStringLiteral("to"), Point(line.To)}});
    const QJsonObject root{{QStringLiteral("root"), chart.RootId},
                           {QStringLiteral("leftToRight"), chart.LeftToRight()},
                           {QStringLiteral("rootAtTop"), chart.Defaults.RootAtTop},
                           {QStringLiteral("persons"), persons},
                           {QStringLiteral("marks"), marks},
                           {QStringLiteral("lines"), lines}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool ExportChartJson(TChart& chart, const QString& path, QString* error) {
    const QByteArray bytes = ChartJson(chart);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace verdan
