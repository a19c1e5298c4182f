#include "text/rtf_reader.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <utility>
#include <vector>

namespace verdan {

namespace {

// Bounds that keep any input cheap: deeper groups are read as text of the deepest one, and tables stop
// growing.
constexpr int kMaxDepth = 200;
constexpr int kMaxTableEntries = 4096;
constexpr int kMaxWordLength = 32;
constexpr int kMaxParameterDigits = 10;
constexpr int kMaxSkip = 16;
constexpr double kMaxPointSize = 1638;

constexpr char16_t kLineSeparator = u'\u2028';

// Destinations whose text is no part of the document.
const char* const kSkippedDestinations[] = {
    "stylesheet",   "info",       "pict",      "object",    "header",
    "headerl",      "headerr",    "headerf",   "footer",    "footerl",
    "footerr",      "footerf",    "footnote",  "listtable", "listoverridetable",
    "rsidtbl",      "generator",  "xmlnstbl",  "themedata", "colorschememapping",
    "latentstyles", "datastore",  "pntext",    "pntxta",    "pntxtb",
    "fldinst",      "nonshppict", "shp",       "shpinst",   "annotation",
    "atnid",        "atnauthor",  "bkmkstart", "bkmkend",   "revtbl",
    "filetbl",      "listtext",   "mmathPr",   "template",  "userprops",
    "docvar",       "xe",         "tc",        "txe",       "objdata",
    "blipuid",      "sp"};

bool IsSkippedDestination(const QByteArray& word) {
    return std::any_of(std::begin(kSkippedDestinations), std::end(kSkippedDestinations),
                       [&word](const char* name) { return word == name; });
}

// The code page of a font's character set; 0 for the document's own.
int CodePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
    case 179:
    case 180:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

QByteArray EncodingName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

QString Decode(const QByteArray& bytes, int codePage) {
    QStringDecoder decoder(EncodingName(codePage).constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

enum class Destination { Text, Skip, FontTable, ColorTable };

struct GroupState {
    TRtfRun format;
    int font = -1;
    int skipAfterUnicode = 1;
    Destination destination = Destination::Text;
    bool ignorable = false; // "\*" opened the group
    bool first = true;      // no control word read in the group yet
};

struct Font {
    int codePage = 0;
    QString name;
};

class RtfReader {
public:
    explicit RtfReader(QByteArrayView in) : in_(in) {}

    TRtfDocument Read() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{') {
                ++pos_;
                OpenGroup();
            } else if (c == '}') {
                ++pos_;
                CloseGroup();
            } else if (c == '\\') {
                ++pos_;
                ReadControl();
            } else {
                ++pos_;
                if (c != '\r' && c != '\n')
                    Byte(c);
            }
        }
        FlushBytes();
        // A box ends its last paragraph with a paragraph mark too; no empty paragraph follows it.
        if (!paragraph_.Runs.isEmpty())
            EndParagraph();
        return std::move(document_);
    }

private:
    void OpenGroup() {
        FlushBytes();
        skip_ = 0;
        if (stack_.size() >= static_cast<std::size_t>(kMaxDepth)) {
            ++overflow_;
            return;
        }
        stack_.push_back(state_);
        state_.ignorable = false;
        state_.first = true;
    }

    void CloseGroup() {
        FlushBytes();
        skip_ = 0;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (state_.destination == Destination::FontTable)
            EndFontName();
        if (stack_.empty())
            return;
        state_ = stack_.back();
        stack_.pop_back();
    }

    // A text byte of the current code page, or of the font table's and colour table's texts.
    void Byte(char c) {
        if (skip_ > 0) {
            --skip_;
            return;
        }
        switch (state_.destination) {
        case Destination::Skip:
            return;
        case Destination::ColorTable:
            if (c == ';')
                EndColor();
            return;
        case Destination::FontTable:
            if (c == ';')
                EndFontName();
            else
                fontName_.append(c);
            return;
        case Destination::Text:
            bytes_.append(c);
            return;
        }
    }

    void ReadControl() {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            ReadSymbol(c);
            return;
        }
        QByteArray word;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) {
            if (word.size() < kMaxWordLength)
                word.append(in_[pos_]);
            ++pos_;
        }
        bool hasParameter = false;
        bool negative = false;
        qint64 parameter = 0;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        int digits = 0;
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            if (digits++ < kMaxParameterDigits)
                parameter = parameter * 10 + (in_[pos_] - '0');
            hasParameter = true;
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        parameter = std::clamp<qint64>(negative ? -parameter : parameter, -2147483647, 2147483647);
        Word(word, hasParameter, static_cast<int>(parameter));
    }

    void ReadSymbol(char c) {
        if (c == '\'') {
            const int high = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
            const int low = pos_ + 1 < in_.size() ? HexValue(in_[pos_ + 1]) : -1;
            // A broken escape drops what it holds of itself.
            if (high < 0)
                return;
            if (low < 0) {
                ++pos_;
                return;
            }
            pos_ += 2;
            Byte(static_cast<char>(high * 16 + low));
            return;
        }
        if (c == '\\' || c == '{' || c == '}') {
            Byte(c);
            return;
        }
        FlushBytes();
        if (skip_ > 0) {
            --skip_;
            return;
        }
        switch (c) {
        case '*':
            state_.ignorable = true;
            break;
        case '~':
            Text(QString(QChar(0x00A0)));
            break;
        case '_':
            Text(QString(QChar(0x2011)));
            break;
        case '\r':
        case '\n':
            if (state_.destination == Destination::Text)
                EndParagraph();
            break;
        default: // "\-" (an optional hyphen) and symbols of no meaning here
            break;
        }
    }

    void Word(const QByteArray& word, bool hasParameter, int parameter) {
        FlushBytes();
        if (skip_ > 0) {
            --skip_;
            return;
        }
        const bool first = state_.first;
        state_.first = false;
        if (state_.destination == Destination::Skip)
            return;
        if (first && StartsDestination(word))
            return;
        if (state_.destination == Destination::FontTable) {
            FontTableWord(word, parameter);
            return;
        }
        if (state_.destination == Destination::ColorTable) {
            ColorTableWord(word, parameter);
            return;
        }
        DocumentWord(word, hasParameter, parameter);
    }

    bool StartsDestination(const QByteArray& word) {
        if (word == "fonttbl") {
            state_.destination = Destination::FontTable;
            fontName_.clear();
            return true;
        }
        if (word == "colortbl") {
            state_.destination = Destination::ColorTable;
            return true;
        }
        if (IsSkippedDestination(word) || (state_.ignorable && word != "fldrslt")) {
            state_.destination = Destination::Skip;
            return true;
        }
        return false;
    }

    void FontTableWord(const QByteArray& word, int parameter) {
        if (word == "f") {
            EndFontName();
            fontEntry_ = parameter;
        } else if (word == "fcharset" && fontEntry_ >= 0 && Fits(fonts_)) {
            fonts_[fontEntry_].codePage = CodePageOfCharset(parameter);
        } else if (word == "cpg" && fontEntry_ >= 0 && Fits(fonts_)) {
            fonts_[fontEntry_].codePage = parameter;
        }
    }

    void EndFontName() {
        if (fontEntry_ >= 0 && !fontName_.trimmed().isEmpty() && Fits(fonts_)) {
            const int codePage = fonts_.value(fontEntry_).codePage;
            fonts_[fontEntry_].name = Decode(fontName_, codePage ? codePage : codePage_).trimmed();
        }
        fontName_.clear();
    }

    bool Fits(const QHash<int, Font>& fonts) const {
        return fonts.size() < kMaxTableEntries || fonts.contains(fontEntry_);
    }

    void ColorTableWord(const QByteArray& word, int parameter) {
        const int value = std::clamp(parameter, 0, 255);
        if (word == "red")
            red_ = value;
        else if (word == "green")
            green_ = value;
        else if (word == "blue")
            blue_ = value;
        else
            return;
        colorSet_ = true;
    }

    void EndColor() {
        if (colors_.size() < kMaxTableEntries)
            colors_ << (colorSet_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
    }

    // Entry 0 is usually empty, the default colour.
    QColor ColorAt(int index) const {
        return index >= 0 && index < colors_.size() ? colors_[index] : QColor();
    }

    void DocumentWord(const QByteArray& word, bool hasParameter, int parameter) {
        TRtfRun& f = state_.format;
        const bool on = !hasParameter || parameter != 0;
        if (word == "par" || word == "sect" || word == "page" || word == "row") {
            EndParagraph();
        } else if (word == "line") {
            Text(QString(QChar(kLineSeparator)));
        } else if (word == "tab" || word == "cell") {
            Text(QStringLiteral("\t"));
        } else if (word == "pard") {
            alignment_ = TRtfAlignment::Natural;
            rightToLeft_ = false;
        } else if (word == "plain") {
            f = TRtfRun();
            SetFont(defaultFont_);
        } else if (word == "b") {
            f.Bold = on;
        } else if (word == "i") {
            f.Italic = on;
        } else if (word == "ulnone") {
            f.Underline = false;
        } else if (word.startsWith("ul") && word != "ulc") {
            f.Underline = on;
        } else if (word == "fs") {
            f.PointSize = hasParameter ? std::clamp(parameter / 2.0, 1.0, kMaxPointSize) : 0;
        } else if (word == "cf") {
            f.Color = ColorAt(parameter);
        } else if (word == "highlight" || word == "cb") {
            f.Background = ColorAt(parameter);
        } else if (word == "f") {
            SetFont(parameter);
        } else if (word == "deff") {
            defaultFont_ = parameter;
        } else if (word == "ansicpg") {
            codePage_ = parameter > 0 ? parameter : 1252;
        } else if (word == "mac") {
            codePage_ = 10000;
        } else if (word == "pc") {
            codePage_ = 437;
        } else if (word == "pca") {
            codePage_ = 850;
        } else if (word == "u") {
            Text(QString(QChar(static_cast<char16_t>(parameter & 0xFFFF))));
            skip_ = state_.skipAfterUnicode;
        } else if (word == "uc") {
            state_.skipAfterUnicode = std::clamp(parameter, 0, kMaxSkip);
        } else if (word == "ql") {
            alignment_ = TRtfAlignment::Left;
        } else if (word == "qr") {
            alignment_ = TRtfAlignment::Right;
        } else if (word == "qc") {
            alignment_ = TRtfAlignment::Center;
        } else if (word == "qj") {
            alignment_ = TRtfAlignment::Justify;
        } else if (word == "rtlpar") {
            rightToLeft_ = true;
        } else if (word == "ltrpar") {
            rightToLeft_ = false;
        } else {
            SpecialCharacter(word);
        }
    }

    void SpecialCharacter(const QByteArray& word) {
        static const QHash<QByteArray, char16_t> characters = {
            {"emdash", u'\u2014'},    {"endash", u'\u2013'}, {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
            {"bullet", u'\u2022'},    {"lquote", u'\u2018'}, {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
            {"rdblquote", u'\u201D'}, {"zwj", u'\u200D'},    {"zwnj", u'\u200C'},    {"rtlmark", u'\u200F'},
            {"ltrmark", u'\u200E'}};
        const auto found = characters.constFind(word);
        if (found != characters.constEnd())
            Text(QString(QChar(*found)));
    }

    void SetFont(int index) {
        state_.font = index;
        state_.format.Font = fonts_.value(index).name;
    }

    int CurrentCodePage() const {
        const int fontPage = fonts_.value(state_.font >= 0 ? state_.font : defaultFont_).codePage;
        return fontPage > 0 ? fontPage : codePage_;
    }

    void FlushBytes() {
        if (bytes_.isEmpty())
            return;
        const QByteArray bytes = std::exchange(bytes_, QByteArray());
        Text(Decode(bytes, CurrentCodePage()));
    }

    void Text(const QString& text) {
        if (text.isEmpty() || state_.destination != Destination::Text)
            return;
        if (!paragraph_.Runs.isEmpty() && paragraph_.Runs.last().SameFormat(state_.format)) {
            paragraph_.Runs.last().Text += text;
            return;
        }
        TRtfRun run = state_.format;
        run.Text = text;
        paragraph_.Runs << run;
    }

    void EndParagraph() {
        FlushBytes();
        paragraph_.Alignment = alignment_;
        paragraph_.RightToLeft = rightToLeft_;
        document_.Paragraphs << std::exchange(paragraph_, TRtfParagraph());
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c) {
        if (IsDigit(c))
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    QByteArrayView in_;
    qsizetype pos_ = 0;
    GroupState state_;
    std::vector<GroupState> stack_;
    int overflow_ = 0;
    int skip_ = 0;
    QByteArray bytes_;

    int codePage_ = 1252;
    int defaultFont_ = 0;
    QHash<int, Font> fonts_;
    int fontEntry_ = -1;
    QByteArray fontName_;
    QList<QColor> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorSet_ = false;

    TRtfAlignment alignment_ = TRtfAlignment::Natural;
    bool rightToLeft_ = false;
    TRtfParagraph paragraph_;
    TRtfDocument document_;
};

QString ColorText(const QColor& color) {
    return color.name(QColor::HexRgb);
}

QString RunStyle(const TRtfRun& run) {
    QStringList style;
    if (run.Bold)
        style << QStringLiteral("font-weight:700");
    if (run.Italic)
        style << QStringLiteral("font-style:italic");
    if (run.Underline)
        style << QStringLiteral("text-decoration:underline");
    if (run.PointSize > 0)
        style << QStringLiteral("font-size:%1pt").arg(run.PointSize);
    if (run.Color.isValid())
        style << QStringLiteral("color:") + ColorText(run.Color);
    if (run.Background.isValid())
        style << QStringLiteral("background-color:") + ColorText(run.Background);
    if (!run.Font.isEmpty()) {
        QString family = run.Font;
        family.remove(u'\'').remove(u'"').remove(u';').remove(u'<').remove(u'>');
        style << QStringLiteral("font-family:'%1'").arg(family);
    }
    return style.join(QStringLiteral("; "));
}

QString RunHtml(const TRtfRun& run) {
    QString text = run.Text.toHtmlEscaped();
    text.replace(QChar(kLineSeparator), QStringLiteral("<br />"));
    const QString style = RunStyle(run);
    return style.isEmpty() ? text : QStringLiteral("<span style=\"%1\">%2</span>").arg(style, text);
}

} // namespace

bool TRtfRun::SameFormat(const TRtfRun& other) const {
    return Bold == other.Bold && Italic == other.Italic && Underline == other.Underline &&
           PointSize == other.PointSize && Color == other.Color && Background == other.Background &&
           Font == other.Font;
}

QString TRtfDocument::PlainText() const {
    QStringList lines;
    for (const TRtfParagraph& paragraph : Paragraphs) {
        QString line;
        for (const TRtfRun& run : paragraph.Runs)
            line += run.Text;
        lines << line;
    }
    return lines.join(u'\n');
}

bool LooksLikeRtf(QByteArrayView bytes) {
    qsizetype at = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        at = 3;
    while (at < bytes.size() &&
           (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    return bytes.sliced(at).startsWith("{\\rtf");
}

TRtfDocument ReadRtf(QByteArrayView rtf) {
    return RtfReader(rtf).Read();
}

QString RtfDocumentToHtml(const TRtfDocument& document) {
    QString html = QStringLiteral("<html><body style=\"white-space:pre-wrap\">");
    for (const TRtfParagraph& paragraph : document.Paragraphs) {
        QString attributes;
        if (paragraph.RightToLeft)
            attributes += QStringLiteral(" dir=\"rtl\"");
        switch (paragraph.Alignment) {
        case TRtfAlignment::Natural:
            break;
        case TRtfAlignment::Left:
            attributes += QStringLiteral(" align=\"left\"");
            break;
        case TRtfAlignment::Right:
            attributes += QStringLiteral(" align=\"right\"");
            break;
        case TRtfAlignment::Center:
            attributes += QStringLiteral(" align=\"center\"");
            break;
        case TRtfAlignment::Justify:
            attributes += QStringLiteral(" align=\"justify\"");
            break;
        }
        html += QStringLiteral("<p style=\"margin-top:0px; margin-bottom:0px\"") + attributes + u'>';
        bool empty = true;
        for (const TRtfRun& run : paragraph.Runs) {
            html += RunHtml(run);
            empty = empty && run.Text.isEmpty();
        }
        if (empty)
            html += QStringLiteral("<br />");
        html += QStringLiteral("</p>");
    }
    html += QStringLiteral("</body></html>");
    return html;
}

} // namespace verdan
