#pragma once

#include <QByteArray>
#include <QString>

namespace verdan {

// The tree's description as ftTreeInfo keeps it. This program writes the HTML of its rich-text editor;
// files of older programs hold the rich text format of their text boxes, or plain text.
enum class TDescriptionFormat { Empty, Html, Rtf, PlainText };

TDescriptionFormat DescriptionFormat(const QByteArray& stored);

// The description as HTML for a rich-text editor, with the formatting an older file gave it.
QString DescriptionToHtml(const QByteArray& stored);

// What is stored for the editor's HTML: UTF-8, nothing for an empty description.
QByteArray StoredDescription(const QString& html, bool empty);

} // namespace verdan
