#include "cli_commands.h"
#include "text/sml.h"

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
    Out() << WriteSml(ParseSml(text));
    return 0;
}

} // namespace verdan::cli
