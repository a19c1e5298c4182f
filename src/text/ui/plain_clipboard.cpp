#include "plain_clipboard.h"

#include "text/bidi_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace verdan {

QMimeData* WithoutDirectionMarks(const QMimeData& data) {
    const QString text = data.hasText() ? StripBidiControls(data.text()) : QString();
    const QString html = data.hasHtml() ? StripBidiControls(data.html()) : QString();
    if ((!data.hasText() || text == data.text()) && (!data.hasHtml() || html == data.html()))
        return nullptr;
    auto* plain = new QMimeData;
    // Text and HTML in any character set are written anew below.
    for (const QString& format : data.formats())
        if (!format.startsWith(u"text/plain") && !format.startsWith(u"text/html"))
            plain->setData(format, data.data(format));
    if (data.hasText())
        plain->setText(text);
    if (data.hasHtml())
        plain->setHtml(html);
    return plain;
}

void KeepCopiedTextsPlain() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::changed, clipboard, [clipboard](QClipboard::Mode mode) {
        const bool ours = (mode == QClipboard::Clipboard && clipboard->ownsClipboard()) ||
                          (mode == QClipboard::Selection && clipboard->ownsSelection());
        const QMimeData* data = ours ? clipboard->mimeData(mode) : nullptr;
        // Setting the plain copy changes the clipboard once more, which then has nothing to take out.
        if (QMimeData* plain = data ? WithoutDirectionMarks(*data) : nullptr)
            clipboard->setMimeData(plain, mode);
    });
}

} // namespace verdan
