#include "text/localisation.h"
#include "text/system_message.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// Loads arbitrary bytes as a language document, then looks texts up and fills the patterns they give.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/fuzz.local");
    static const bool quiet = (verdan::SetSystemMessageHandler([](const QString&, const QString&) {}), true);
    (void)quiet;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    verdan::ReadLanguageHeader(path);
    if (verdan::SetLanguage(path)) {
        const QStringList args{QStringLiteral("a"), QStringLiteral("1")};
        for (const verdan::TTransUnit& unit : verdan::Local().Units) {
            verdan::FillPattern(verdan::Translate(unit.Source), args);
            verdan::FillPattern(verdan::TranslateFeminine(unit.Source), args);
            verdan::TranslateContext(unit.Source, unit.Context);
            verdan::TranslateOrientation(unit.Source);
        }
        verdan::Translate(QStringLiteral("[Family Groups]"));
    }
    return 0;
}
