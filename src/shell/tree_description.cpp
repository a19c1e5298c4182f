#include "shell/tree_description.h"

#include "text/rtf_reader.h"

#include <QTextDocument>

namespace verdan {

TDescriptionFormat DescriptionFormat(const QByteArray& stored) {
    if (stored.trimmed().isEmpty())
        return TDescriptionFormat::Empty;
    if (LooksLikeRtf(stored))
        return TDescriptionFormat::Rtf;
    return Qt::mightBeRichText(QString::fromUtf8(stored)) ? TDescriptionFormat::Html
                                                          : TDescriptionFormat::PlainText;
}

QString DescriptionToHtml(const QByteArray& stored) {
    switch (DescriptionFormat(stored)) {
    case TDescriptionFormat::Empty:
        return QString();
    case TDescriptionFormat::Rtf:
        return RtfDocumentToHtml(ReadRtf(stored));
    case TDescriptionFormat::Html:
        return QString::fromUtf8(stored);
    case TDescriptionFormat::PlainText:
        break;
    }
    // Line breaks and runs of blanks of a plain text stay as they were.
    QString text = QString::fromUtf8(stored).toHtmlEscaped();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("<br />"));
    return QStringLiteral("<html><body style=\"white-space:pre-wrap\">") + text +
           QStringLiteral("</body></html>");
}

QByteArray StoredDescription(const QString& html, bool empty) {
    return empty ? QByteArray() : html.toUtf8();
}

} // namespace verdan
