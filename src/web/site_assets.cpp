#include "web/web_export_steps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

namespace verdan {

namespace {

struct FontFace {
    const char* File;   // as the font packages install it
    const char* Family; // the family the style sheet names
    const char* Local;  // the face's own name, used where the reader's system has it
    int Weight;
};

// The faces the program draws Arabic script with: Noto Sans Arabic, and Noto Naskh Arabic for Urdu.
constexpr FontFace kFaces[] = {
    {"NotoSansArabic-Regular.ttf", "Verdan Sans", "Noto Sans Arabic", 400},
    {"NotoSansArabic-Bold.ttf", "Verdan Sans", "Noto Sans Arabic Bold", 700},
    {"NotoNaskhArabic-Regular.ttf", "Verdan Naskh", "Noto Naskh Arabic", 400},
    {"NotoNaskhArabic-Bold.ttf", "Verdan Naskh", "Noto Naskh Arabic Bold", 700},
};

// The letters the faces serve; the rest of a text falls to the next family of the style sheet.
constexpr const char* kArabicRange =
    "U+0600-06FF, U+0750-077F, U+08A0-08FF, U+200C-200F, U+FB50-FDFF, U+FE70-FEFF";

// Where the system keeps its fonts, searched once.
QString FindFontFile(const QString& name) {
    static const QStringList roots = [] {
        QStringList list = QStandardPaths::standardLocations(QStandardPaths::FontsLocation);
        list << QStringLiteral("/usr/share/fonts") << QStringLiteral("/usr/local/share/fonts");
        list.removeDuplicates();
        return list;
    }();
    for (const QString& root : roots) {
        QDirIterator it(root, {name}, QDir::Files, QDirIterator::Subdirectories);
        if (it.hasNext())
            return it.next();
    }
    return QString();
}

QByteArray Resource(const char* name) {
    QFile file(QStringLiteral(":/web/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool WriteSiteAssets(const TWebSite&, TSiteOutput& output, QString& error) {
    QByteArray faces;
    for (const FontFace& face : kFaces) {
        const QString file = FindFontFile(QString::fromLatin1(face.File));
        QFile font(file);
        if (file.isEmpty() || !font.open(QIODevice::ReadOnly))
            continue;
        if (!output.Write(QByteArray("assets/fonts/") + face.File, font.readAll(), error))
            return false;
        faces += QByteArray("@font-face {\n    font-family: \"") + face.Family + "\";\n    src: local(\"" +
                 face.Local + "\"), url(\"fonts/" + face.File +
                 "\") format(\"truetype\");\n    font-weight: " + QByteArray::number(face.Weight) +
                 ";\n    font-display: swap;\n    unicode-range: " + kArabicRange + ";\n}\n\n";
    }
    return output.Write("assets/site.css", faces + Resource("site.css"), error) &&
           output.Write("assets/site.js", Resource("site.js"), error);
}

} // namespace verdan
