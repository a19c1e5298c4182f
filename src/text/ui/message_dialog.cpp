#include "message_dialog.h"

#include "icons.h"
#include "text/localisation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace verdan {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kIconSize = 40;
constexpr int kTextLeft = 55;
constexpr int kTextRightMargin = 20;
constexpr int kScreenMargin = 5;
const QColor kHeadlineColor(10, 89, 177);
const QColor kCaptionColor(128, 128, 128);
const QColor kFrameColor(192, 192, 192);

// The face the interface language asks for (Nastaliq for Urdu) goes before the dialog's own.
QFont MakeFont(const QString& family, int points, bool bold = false) {
    QFont font(family);
    const QString language = InterfaceFontFamily();
    if (!language.isEmpty())
        font.setFamilies({language, family});
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QStringList Lines(const QString& text) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return unified.split(u'\n');
}

// Lays out `text` in `width` keeping its line breaks and wrapping lines that do not fit (inside a word
// when it has to); draws it at `topLeft` when a painter is given. Returns the height taken.
qreal TextBlock(const QString& text, const QFont& font, qreal width, const QTextOption& option,
                QPainter* painter, const QPointF& topLeft) {
    qreal y = 0;
    for (const QString& line : Lines(text)) {
        QTextLayout layout(line, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLineWidth(width);
            row.setPosition(QPointF(0, y));
            y += row.height();
        }
        layout.endLayout();
        if (painter)
            layout.draw(painter, topLeft);
    }
    return y;
}

// The picture of the message's kind, drawn for the screen's pixel density.
QPixmap IconPixmap(TMsgIcon icon, qreal ratio) {
    const char16_t* name = nullptr;
    switch (icon) {
    case TMsgIcon::None:
        return QPixmap();
    case TMsgIcon::Information:
        name = u"dialog-information";
        break;
    case TMsgIcon::Exclamation:
        name = u"dialog-warning";
        break;
    case TMsgIcon::Question:
        name = u"dialog-question";
        break;
    case TMsgIcon::Stop:
        name = u"dialog-error";
        break;
    }
    return Icon(name).pixmap(QSize(kIconSize, kIconSize), ratio);
}

// A right-to-left message speaks Persian or Urdu in those interfaces and Arabic in every other one.
QString ButtonCaption(int code, bool rightToLeft) {
    struct Captions {
        const char16_t* ok;
        const char16_t* cancel;
        const char16_t* yes;
        const char16_t* no;
    };
    static constexpr Captions kEnglish{u"Ok", u"Cancel", u"&Yes", u"&No"};
    static constexpr Captions kArabic{u"موافق", u"إلغاء الأمر", u"&نعم", u"&لا"};
    static constexpr Captions kPersian{u"تأیید", u"انصراف", u"&بله", u"&خیر"};
    static constexpr Captions kUrdu{u"ٹھیک ہے", u"منسوخ", u"&ہاں", u"نہ&یں"};
    const QString language = rightToLeft ? InterfaceLanguageCode() : QString();
    const Captions& captions = !rightToLeft        ? kEnglish
                               : language == u"fa" ? kPersian
                               : language == u"ur" ? kUrdu
                                                   : kArabic;
    switch (code) {
    case IDOK:
        return QString::fromUtf16(captions.ok);
    case IDCANCEL:
        return QString::fromUtf16(captions.cancel);
    case IDYES:
        return QString::fromUtf16(captions.yes);
    default:
        return QString::fromUtf16(captions.no);
    }
}

QString ButtonName(int code) {
    switch (code) {
    case IDOK:
        return QStringLiteral("btOk");
    case IDCANCEL:
        return QStringLiteral("btCancel");
    case IDYES:
        return QStringLiteral("btYes");
    default:
        return QStringLiteral("btNo");
    }
}

QRect ScreenFor(const QPoint& position) {
    QScreen* screen = position.x() > 0 ? QGuiApplication::screenAt(position) : nullptr;
    if (!screen && QApplication::activeWindow())
        screen = QApplication::activeWindow()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Keys that choose Yes and No with Alt: the English accelerators, the keys that carry the Arabic ones
// (ن on K, ل on G) on the Arabic keyboard, whichever layout is active, and the Persian (ب, خ) and Urdu
// (ہ, ی) accelerators as their keyboards type them.
bool IsYesKey(int key) {
    return key == Qt::Key_Y || key == Qt::Key_K || key == 0x0646 || key == 0x0628 || key == 0x06C1;
}

bool IsNoKey(int key) {
    return key == Qt::Key_N || key == Qt::Key_G || key == 0x0644 || key == 0x062E || key == 0x06CC;
}

class TDialogMessageSink final : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return 0;
        if (request.beep)
            QApplication::beep();
        QWidget* active = QApplication::activeWindow();
        if (active) {
            active->raise();
            active->activateWindow();
        }
        TfrmMsg dialog(request, active);
        return dialog.exec();
    }
};

} // namespace

QPoint PlaceMessageDialog(const QPoint& requested, const QSize& size, const QRect& screen) {
    if (requested.x() <= 0)
        return QPoint(screen.left() + (screen.width() - size.width()) / 2,
                      screen.top() + (screen.height() - size.height()) / 2);
    auto pull = [](int at, int extent, int begin, int length) {
        if (at + extent > begin + length)
            at = begin + length - extent - kScreenMargin;
        if (at < begin)
            at = begin + kScreenMargin;
        return at;
    };
    return QPoint(pull(requested.x(), size.width(), screen.left(), screen.width()),
                  pull(requested.y(), size.height(), screen.top(), screen.height()));
}

TMsgCloseButton::TMsgCloseButton(QWidget* parent) : QAbstractButton(parent) {
    setObjectName(QStringLiteral("imgClose"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(16, 16);
}

void TMsgCloseButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool hot = underMouse();
    if (hot)
        painter.fillRect(rect(), QColor(232, 17, 35));
    painter.setPen(QPen(hot ? Qt::white : kCaptionColor, 1.5));
    const QRectF cross = QRectF(rect()).adjusted(4.5, 4.5, -4.5, -4.5);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

void TMsgCloseButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void TMsgCloseButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

TfrmMsg::TfrmMsg(const TMessageRequest& request, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), request_(request),
      codes_(MsgButtonsOf(request.flags)) {
    setObjectName(QStringLiteral("frmMsg"));
    // Geometry below is absolute; the texts carry their own direction.
    setLayoutDirection(Qt::LeftToRight);
    setWindowTitle(request_.caption);
    setWindowOpacity(240.0 / 255.0);
    setFocusPolicy(Qt::StrongFocus);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);

    icon_ = IconPixmap(MsgIconOf(request_.flags), devicePixelRatioF());
    const bool rightToLeft = request_.flags & MB_RIGHT;
    for (int code : codes_) {
        auto* button = new QPushButton(ButtonCaption(code, rightToLeft), this);
        button->setObjectName(ButtonName(code));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, [this, code] { Choose(code); });
        buttons_.append(button);
    }
    imgClose_ = new TMsgCloseButton(this);
    connect(imgClose_, &QAbstractButton::clicked, this, [this] { Choose(MsgRefusalCode(request_.flags)); });

    const QRect screen = ScreenFor(request_.position);
    const QFontMetrics sizing(
        MakeFont(QStringLiteral("Arial"), (request_.flags & MB_RTLREADING) ? 12 : 10, true));
    int width = 10;
    for (const QString& part : {request_.headline, request_.body}) {
        if (part.isEmpty())
            continue;
        for (const QString& line : Lines(part))
            width = qMax(width, sizing.horizontalAdvance(line) + 160);
    }
    const int n = int(codes_.size());
    width = qMax(width, n >= 2 ? n * (kButtonWidth + 25) - 5 : kButtonWidth + 20);
    width = qMin(width, screen.width() - 2 * kScreenMargin);
    resize(width, 0);
    textBlockHeight_ = LayOutTexts(nullptr);
    resize(width, textBlockHeight_ + 50);
    PlaceButtons();
    imgClose_->move(width - imgClose_->width() - 5, 1);
    move(PlaceMessageDialog(request_.position, size(), screen));
}

void TfrmMsg::PlaceButtons() {
    const int n = int(buttons_.size());
    QList<QPushButton*> onScreen = buttons_;
    // Right-to-left messages put the first choice at the right.
    if (request_.flags & MB_RIGHT)
        std::reverse(onScreen.begin(), onScreen.end());
    int left = n == 1 ? (width() - kButtonWidth) / 2 : (width() - n * (kButtonWidth + 5) + 5) / 2;
    for (QPushButton* button : onScreen) {
        button->setGeometry(left, textBlockHeight_ + 15, kButtonWidth, kButtonHeight);
        left += kButtonWidth + 5;
    }
}

int TfrmMsg::LayOutTexts(QPainter* painter) const {
    const bool right = request_.flags & MB_RIGHT;
    QTextOption option(Qt::AlignAbsolute | (right ? Qt::AlignRight : Qt::AlignLeft));
    option.setTextDirection((request_.flags & MB_RTLREADING) ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal textWidth = qMax(1, width() - kTextLeft - kTextRightMargin);

    qreal y = 20;
    if (!request_.headline.isEmpty()) {
        if (painter)
            painter->setPen(kHeadlineColor);
        y += TextBlock(request_.headline, MakeFont(QStringLiteral("Calibri"), right ? 14 : 12), textWidth,
                       option, painter, QPointF(kTextLeft, y + 18)) +
             15;
    }
    if (!request_.body.isEmpty()) {
        if (painter)
            painter->setPen(Qt::black);
        y += TextBlock(request_.body, MakeFont(QStringLiteral("Calibri"), right ? 12 : 10), textWidth, option,
                       painter, QPointF(kTextLeft, y + 15));
    }
    y += 20;
    return qMax(int(std::ceil(y)), icon_.isNull() ? 70 : 90);
}

void TfrmMsg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!request_.caption.isEmpty()) {
        const QFont font = MakeFont(QStringLiteral("Calibri"), 10);
        const QRect line(10, 3, width() - 40 - 10, 17);
        painter.setFont(font);
        painter.setPen(kCaptionColor);
        painter.setLayoutDirection((request_.flags & MB_RTLREADING) ? Qt::RightToLeft : Qt::LeftToRight);
        const Qt::Alignment align = (request_.flags & MB_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(line, Qt::AlignAbsolute | align | Qt::AlignVCenter | Qt::TextSingleLine,
                         QFontMetrics(font).elidedText(request_.caption, Qt::ElideRight, line.width()));
        painter.setLayoutDirection(Qt::LeftToRight);
    }
    if (!icon_.isNull())
        painter.drawPixmap(QRect(8, 35, kIconSize, kIconSize), icon_);
    LayOutTexts(&painter);
    painter.setPen(kFrameColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrmMsg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    setFocus();
}

void TfrmMsg::Choose(int code) {
    done(code);
}

void TfrmMsg::reject() {
    // Closed by the window manager or the system menu: the user chose nothing.
    Choose(MsgRefusalCode(request_.flags));
}

void TfrmMsg::MoveCurrent(int step) {
    const int n = int(codes_.size());
    current_ = (current_ - 1 + step + n) % n + 1;
}

bool TfrmMsg::event(QEvent* event) {
    // Tab walks the buttons like the arrows instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            MoveCurrent(key == Qt::Key_Tab ? 1 : -1);
            return true;
        }
    }
    return QDialog::event(event);
}

void TfrmMsg::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() & Qt::AltModifier) {
        if (IsYesKey(key) && Shows(IDYES))
            Choose(IDYES);
        else if (IsNoKey(key) && Shows(IDNO))
            Choose(IDNO);
        return;
    }
    switch (key) {
    case Qt::Key_Escape:
        if (Shows(IDCANCEL))
            Choose(IDCANCEL);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Choose(codes_[current_ - 1]);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        MoveCurrent(-1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        MoveCurrent(1);
        break;
    default:
        break;
    }
}

void TfrmMsg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The whole surface acts as a title bar.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TfrmMsg::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        move(event->globalPosition().toPoint() - dragOffset_);
}

void TfrmMsg::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void InstallMessageDialogs() {
    static TDialogMessageSink sink;
    InstallMessageSink(&sink);
}

} // namespace verdan
