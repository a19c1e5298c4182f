#include "cli_commands.h"
#include "text/sml.h"

#include <QFile>

namespace verdan::cli {

// Parses an SML document and writes it back, as the program would save it.
int Sml(const QStringList& args) {
    if (args.size() != 1) {
        Err() << "usage: verdan-cli sml FILE" << Qt::endl;
        return 2;
    }
    QString text;
    QString error;
    if (!ReadSmlText(args.first(), &text, &error)) {
        Err() << "verdan-cli sml: " << args.first() << ": " << error << Qt::endl;
        return 1;
    }
    // Keep the byte-order mark of the input, so a document the program saved comes back byte for byte.
    QFile file(args.first());
    if (file.open(QIODevice::ReadOnly) && file.read(3) == "\xEF\xBB\xBF")
        Out() << QChar(0xFEFF);
    Out() << WriteSml(ParseSml(text));
    return 0;
}

} // namespace verdan::cli
