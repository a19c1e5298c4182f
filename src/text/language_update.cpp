#include "language_update.h"

#include "text/sml.h"

#include <QSaveFile>
#include <QSet>

namespace verdan {

namespace {

const QString kVersion = QStringLiteral("units_version");

// The direct child of that name (letter case ignored), made when missing.
TNode& ChildOf(TNode& node, const QString& name) {
    for (TNode& child : node.Children)
        if (child.Name.compare(name, Qt::CaseInsensitive) == 0)
            return child;
    node.Children.append(TNode{name, QString(), 0, {}});
    return node.Children.last();
}

TNode* Translations(TNode& localization) {
    for (TNode& child : localization.Children)
        if (child.Name == u"translations")
            return &child;
    return nullptr;
}

// A unit is known by its context and source, as the lookups know it.
QString UnitKey(const TNode& unit) {
    return unit.ChildValue(QStringLiteral("context")).trimmed() + u'\x1f' +
           unit.ChildValue(QStringLiteral("source")).trimmed();
}

} // namespace

QString LanguageUnitsVersion(const QString& text) {
    // The version stands in the header, before the units: the scan stops where they begin.
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        const QString line = text.mid(from, end - from).trimmed();
        from = end + 1;
        if (line == u"translations")
            break;
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed().compare(kVersion, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1).trimmed();
    }
    return QString();
}

int UpdateLanguageDocument(const QString& fileName, const QByteArray& builtIn) {
    const QString program = DecodeSmlBytes(builtIn);
    const QString version = LanguageUnitsVersion(program);
    QString text;
    QString error;
    if (version.isEmpty() || !ReadSmlText(fileName, &text, &error))
        return -1;
    if (LanguageUnitsVersion(text) == version)
        return 0;
    TNode user = ParseSml(text);
    const TNode ours = ParseSml(program);
    TNode& localization = ChildOf(user, QStringLiteral("localization"));
    TNode* units = Translations(localization);
    TNode ourLocalization = ours.Child(QStringLiteral("localization"));
    const TNode* ourUnits = Translations(ourLocalization);
    // A document the program cannot read, or one of another language under this name, is left as it is.
    const TNode ourHeader = ourLocalization.Child(QStringLiteral("header"));
    const QString language = ourHeader.ChildValue(QStringLiteral("target_lang")).trimmed();
    if (user.Name.isEmpty() || !units || !ourUnits ||
        localization.Child(QStringLiteral("header")).ChildValue(QStringLiteral("target_lang")).trimmed() !=
            language)
        return -1;

    QSet<QString> present;
    for (const TNode& unit : std::as_const(units->Children))
        if (unit.Name == u"unit")
            present.insert(UnitKey(unit));
    int added = 0;
    for (const TNode& unit : ourUnits->Children) {
        if (unit.Name == u"unit" && !present.contains(UnitKey(unit))) {
            units->Children.append(unit);
            present.insert(UnitKey(unit));
            ++added;
        }
    }
    TNode& header = ChildOf(localization, QStringLiteral("header"));
    ChildOf(header, kVersion).Value = version;
    const QString native =
        ourHeader.Child(QStringLiteral("target_lang")).ChildValue(QStringLiteral("native_name"));
    if (!native.isEmpty())
        ChildOf(ChildOf(header, QStringLiteral("target_lang")), QStringLiteral("native_name")).Value = native;

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write("\xEF\xBB\xBF");
    file.write(WriteSml(user).toUtf8());
    return file.commit() ? added : -1;
}

} // namespace verdan
