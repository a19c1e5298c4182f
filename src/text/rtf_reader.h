#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QList>
#include <QString>

namespace verdan {

// Documents in the rich text format that text boxes of other programs write, as older tree files keep
// their descriptions. What such a box can format is kept: paragraphs with their alignment and reading
// direction, and in each run of text bold, italic, underline, the font, its size and the text and
// background colours. Everything else (pictures, objects, tables, styles, document information) is left
// out; the text of fields and tables is kept.

struct TRtfRun {
    QString Text; // a line break inside the paragraph is U+2028
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    double PointSize = 0; // 0: as the reader's default
    QColor Color;         // invalid: the default colour
    QColor Background;    // invalid: none
    QString Font;         // empty: the default font
    bool SameFormat(const TRtfRun& other) const;
};

enum class TRtfAlignment { Natural, Left, Right, Center, Justify };

struct TRtfParagraph {
    QList<TRtfRun> Runs;
    TRtfAlignment Alignment = TRtfAlignment::Natural;
    bool RightToLeft = false;
};

struct TRtfDocument {
    QList<TRtfParagraph> Paragraphs;
    QString PlainText() const; // the paragraphs' texts joined by line feeds
};

// True when the bytes start as a rich text format document ("{\rtf", after blanks).
bool LooksLikeRtf(QByteArrayView bytes);

// Reads any bytes without failing: what is not well formed is read as far as it makes sense, and nesting,
// numbers and tables are bounded, so no input can make the reader run long or deep.
TRtfDocument ReadRtf(QByteArrayView rtf);

// The document as HTML that a rich-text editor of the toolkit reads with its formatting.
QString RtfDocumentToHtml(const TRtfDocument& document);

} // namespace verdan
