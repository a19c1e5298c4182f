#include "file_names.h"

#include "program_folder.h"

#include <QDir>
#include <QFileInfo>

namespace verdan {

namespace {

// Longest name a Linux file system takes for one path component, in bytes.
constexpr qsizetype kMaxComponentBytes = 255;

qsizetype LastSeparator(const QString& path) {
    return qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

bool IsReservedDeviceName(const QString& name) {
    static const QStringList reserved = [] {
        QStringList names = {QStringLiteral("con"), QStringLiteral("nul"), QStringLiteral("prn")};
        for (int i = 1; i <= 9; ++i) {
            names << QStringLiteral("com%1").arg(i) << QStringLiteral("lpt%1").arg(i);
        }
        return names;
    }();
    return reserved.contains(name, Qt::CaseInsensitive);
}

QString WithoutCharacters(const QString& text, QStringView removed) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!removed.contains(c) && c.unicode() >= 0x20)
            out += c;
    }
    return out;
}

} // namespace

QString ProgramDir() {
    QString folder = ProgramFolder();
    folder.chop(1);
    return folder;
}

QString FileTitle(const QString& path) {
    const QString name = path.mid(LastSeparator(path) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

bool IsReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isWritable();
}

int ListFiles(QStringList& list, const QString& folder, const QString& pattern, bool recursive) {
    const QDir dir(folder);
    const QDir::Filters shown = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    int count = 0;
    QDir matching(dir);
    matching.setNameFilters({pattern});
    matching.setFilter(shown); // without QDir::CaseSensitive the name filter ignores letter case
    matching.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QString& name : matching.entryList()) {
        list.append(folder + name);
        ++count;
    }
    if (!recursive)
        return count;
    const QFileInfoList subFolders =
        dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& sub : subFolders) {
        if (!sub.isSymLink())
            count += ListFiles(list, folder + sub.fileName() + u'/', pattern, true);
    }
    return count;
}

QString CleanFileName(const QString& text) {
    const QString cleaned = WithoutCharacters(text, u"\"*/:<>?\\|");
    const qsizetype dot = cleaned.lastIndexOf(u'.');
    const QString name = dot < 0 ? cleaned : cleaned.left(dot);
    const QString extension = dot < 0 ? QString() : cleaned.mid(dot);
    if (IsReservedDeviceName(name))
        return name + u'X' + extension;
    return cleaned;
}

QString CleanPathText(const QString& text) {
    return WithoutCharacters(text, u"\"*<>?|");
}

bool IsValidPathName(const QString& path) {
    const QStringList components = QString(path).replace(u'\\', u'/').split(u'/');
    for (auto it = components.crbegin(); it != components.crend(); ++it) {
        // Empty components come from the root or doubled separators, which the system accepts.
        if (it->contains(QChar(0)) || it->toUtf8().size() > kMaxComponentBytes)
            return false;
    }
    return true;
}

} // namespace verdan
