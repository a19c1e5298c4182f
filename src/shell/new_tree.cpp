#include "new_tree.h"

#include "storage/tree_info.h"
#include "text/file_names.h"

#include <QDir>
#include <QFileInfo>

namespace verdan {

namespace {

const QString kExtension = QStringLiteral(".vrd");

struct SplitName {
    QString base;
    QString extension; // with its dot; empty when there is none
};

SplitName Split(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || dot == name.size() - 1)
        return {dot < 0 ? name : name.left(dot), QString()};
    return {name.left(dot), name.mid(dot)};
}

bool SameName(const QString& a, const QString& b) {
    return a.toUpper() == b.toUpper();
}

// The file name a following file name becomes: the new name with the extension it had.
QString Followed(const QString& fileName, const QString& name) {
    if (name.trimmed().isEmpty())
        return QString();
    const QString extension = Split(fileName).extension;
    return name + (extension.isEmpty() ? kExtension : extension);
}

bool LeadsOutside(const QString& name) {
    return name == u"." || name == u"..";
}

} // namespace

TNewTreeNames TNewTreeNames::For(const QString& treeName) {
    return {treeName, treeName, Followed(QString(), treeName)};
}

void TNewTreeNames::SetTreeName(const QString& text) {
    if (SameName(FolderName, TreeName))
        FolderName = text;
    if (SameName(Split(FileName).base, TreeName))
        FileName = Followed(FileName, text);
    TreeName = text;
}

void TNewTreeNames::SetFolderName(const QString& text) {
    if (SameName(Split(FileName).base, FolderName))
        FileName = Followed(FileName, text);
    FolderName = text;
}

TNewTreePath ComposeNewTreePath(const QString& location, const QString& folderName, const QString& fileName) {
    TNewTreePath result;
    QString base = location.trimmed();
    if (base.isEmpty())
        base = QDir::currentPath();
    result.FolderName = CleanFileName(folderName).trimmed();
    const QString folder =
        QDir::cleanPath(result.FolderName.isEmpty() ? base : base + u'/' + result.FolderName);

    SplitName file = Split(CleanFileName(fileName).trimmed());
    file.base = file.base.trimmed();
    if (file.base.isEmpty())
        file.base = QStringLiteral("New_Tree");
    if (file.extension.isEmpty())
        file.extension = kExtension;
    result.FileName = file.base + file.extension;
    for (int number = 1; QFileInfo::exists(folder + u'/' + result.FileName); ++number)
        result.FileName = file.base + u'-' + QString::number(number) + file.extension;

    result.Path = folder + u'/' + result.FileName;
    result.Valid = !LeadsOutside(result.FolderName) && IsValidPathName(result.Path);
    return result;
}

bool AcceptNewTree(const QString& location, const TNewTreeNames& names, const QString& ownerName,
                   TTreeProperty& props) {
    const QString base = location.trimmed();
    if (names.TreeName.trimmed().isEmpty() || ownerName.trimmed().isEmpty() || base.isEmpty() ||
        !QFileInfo(base).isDir())
        return false;
    const TNewTreePath path = ComposeNewTreePath(base, names.FolderName, names.FileName);
    if (!path.Valid)
        return false;
    props.TreeName = names.TreeName.trimmed();
    props.OwnerName = ownerName.trimmed();
    props.BasePath = QDir(base).absolutePath();
    props.FolderName = path.FolderName;
    props.FileName = path.FileName;
    return true;
}

} // namespace verdan
