#include "command_options.h"

#include <QRegularExpression>
#include <QStringList>

namespace verdan {

QStringList ValueChoices(const char* value) {
    static const QRegularExpression words(QStringLiteral("^[a-z]+(\\|[a-z]+)+$"));
    const QString text = QString::fromUtf8(value);
    return words.match(text).hasMatch() ? text.split(u'|') : QStringList();
}

QString OptionLines(const QList<TCommandOption>& options) {
    qsizetype width = 0;
    QStringList heads;
    for (const TCommandOption& option : options) {
        QString head = QString::fromUtf8(option.Name);
        if (*option.Value)
            head += u' ' + QString::fromUtf8(option.Value);
        width = qMax(width, head.size());
        heads << head;
    }
    QString text;
    qsizetype i = 0;
    for (const TCommandOption& option : options)
        text += QStringLiteral("  ") + heads[i++].leftJustified(width + 2) + QString::fromUtf8(option.Help) +
                u'\n';
    return text;
}

} // namespace verdan
