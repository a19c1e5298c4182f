#include "icons.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace verdan {

namespace {

const QString kFolder = QStringLiteral(":/icons/");
const QString kRtlSuffix = QStringLiteral("-rtl");
// The colour of the set's monochrome pictures, and the light grey some of them use for a second tone.
const QString kTextColour = QStringLiteral("#2e3436");
const QString kSecondTone = QStringLiteral("#bebebe");

// Pictures drawn for the program that have no right-to-left file of their own and are mirrored instead.
const QStringList kMirroredInRtl = {QStringLiteral("outline-expand"), QStringLiteral("mark-ancestors")};

QString FileOf(QStringView name) {
    return kFolder + name.toString() + QStringLiteral(".svg");
}

// A picture drawn only in the text colour (and its second tone) can take another colour.
bool IsMonochrome(const QString& file) {
    QFile svg(file);
    if (!svg.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression colour(QStringLiteral("#[0-9a-fA-F]{6}\\b"));
    const QString text = QString::fromUtf8(svg.readAll());
    bool any = false;
    for (const QRegularExpressionMatch& match : colour.globalMatch(text)) {
        const QString found = match.captured().toLower();
        if (found != kTextColour && found != kSecondTone)
            return false;
        any = true;
    }
    return any;
}

// Under a dark palette the dark pictures would vanish: they take the palette's text colour then.
QColor TintFor(bool monochrome) {
    if (!monochrome)
        return {};
    const QPalette palette = QGuiApplication::palette();
    if (palette.color(QPalette::Window).lightness() >= 128)
        return {};
    return palette.color(QPalette::WindowText);
}

// Draws the SVG of the current reading direction at the size asked for, so it is sharp at any scaling.
class TIconEngine final : public QIconEngine {
public:
    TIconEngine(const QString& name, bool mirrored)
        : name_(name), file_(FileOf(name)), mirrored_(mirrored), monochrome_(IsMonochrome(file_)) {
        const QString rtl = FileOf(QString(name + kRtlSuffix));
        if (QFile::exists(rtl))
            rtlFile_ = rtl;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = Render(rect.size() * ratio, mode);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override { return Render(size, mode); }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
        return Render(size, mode);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    }

    QIconEngine* clone() const override { return new TIconEngine(*this); }
    QString key() const override { return QStringLiteral("verdan-svg"); }
    QString iconName() override { return name_; }
    bool isNull() override { return false; }

private:
    QPixmap Render(const QSize& requested, QIcon::Mode mode) const {
        const int side = std::min(requested.width(), requested.height());
        if (side <= 0)
            return {};
        const bool rtl = QGuiApplication::isRightToLeft();
        const QString& file = rtl && !rtlFile_.isEmpty() ? rtlFile_ : file_;
        const bool mirror = rtl && rtlFile_.isEmpty() && mirrored_;
        const QColor tint = TintFor(monochrome_);
        const QString cacheKey = QStringLiteral("verdan-icon:%1:%2:%3:%4:%5")
                                     .arg(file)
                                     .arg(side)
                                     .arg(int(mode))
                                     .arg(mirror)
                                     .arg(tint.isValid() ? tint.name() : QString());
        QPixmap picture;
        if (QPixmapCache::find(cacheKey, &picture))
            return picture;
        picture = QPixmap(side, side);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            if (mirror) {
                painter.translate(side, 0);
                painter.scale(-1, 1);
            }
            QSvgRenderer renderer(file);
            renderer.render(&painter, QRectF(0, 0, side, side));
            if (tint.isValid()) {
                painter.resetTransform();
                painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
                painter.fillRect(picture.rect(), tint);
            }
        }
        if (mode == QIcon::Selected)
            picture = OnSelection(picture);
        if (mode == QIcon::Disabled && QApplication::style()) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
        }
        QPixmapCache::insert(cacheKey, picture);
        return picture;
    }

    // On a selected row the selection colour would swallow a blue or dark picture: a dark one takes the
    // selection's text colour, a coloured one gets a thin halo of it.
    QPixmap OnSelection(const QPixmap& picture) const {
        const QColor light = QGuiApplication::palette().color(QPalette::HighlightedText);
        QPixmap lit(picture.size());
        lit.fill(Qt::transparent);
        QPainter painter(&lit);
        if (monochrome_) {
            painter.drawPixmap(0, 0, picture);
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(lit.rect(), light);
            return lit;
        }
        QPixmap halo(picture.size());
        halo.fill(Qt::transparent);
        {
            QPainter mask(&halo);
            mask.drawPixmap(0, 0, picture);
            mask.setCompositionMode(QPainter::CompositionMode_SourceIn);
            mask.fillRect(halo.rect(), light);
        }
        const int step = std::max(1, picture.width() / 16);
        for (const QPoint offset : {QPoint(-step, 0), QPoint(step, 0), QPoint(0, -step), QPoint(0, step)})
            painter.drawPixmap(offset, halo);
        painter.drawPixmap(0, 0, picture);
        return lit;
    }

    QString name_;
    QString file_;
    QString rtlFile_;
    bool mirrored_ = false;
    bool monochrome_ = false;
};

} // namespace

bool HasIcon(QStringView name) {
    return !name.isEmpty() && !name.endsWith(kRtlSuffix) && QFile::exists(FileOf(name));
}

QIcon Icon(QStringView name) {
    static QHash<QString, QIcon> icons;
    const QString key = name.toString();
    const auto found = icons.constFind(key);
    if (found != icons.constEnd())
        return *found;
    if (!HasIcon(name))
        return QIcon();
    QIcon icon(new TIconEngine(key, kMirroredInRtl.contains(key)));
    icons.insert(key, icon);
    return icon;
}

QStringList IconNames() {
    QStringList names;
    for (const QString& file : QDir(kFolder).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        const QString name = file.chopped(4);
        if (!name.endsWith(kRtlSuffix))
            names << name;
    }
    return names;
}

bool IsDirectionalIcon(QStringView name) {
    return HasIcon(name) && (kMirroredInRtl.contains(name.toString()) ||
                             QFile::exists(FileOf(QString(name.toString() + kRtlSuffix))));
}

} // namespace verdan
