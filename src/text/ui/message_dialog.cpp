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

// The face the interface language asks for (Urdu's) goes before the dialog's own.
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

// "btOk", "btYes", …: the button's object name after the answer's.
QString ButtonObjectName(const TMsgAnswer& answer) {
    const QString name = answer.name.isEmpty() ? QString::number(answer.code) : answer.name;
    return QStringLiteral("bt") + name.left(1).toUpper() + name.mid(1);
}

// The letter after the caption's "&", lower-cased; none without one.
QChar Mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (caption[i + 1] != u'&')
                return caption[i + 1].toLower();
            ++i;
        }
    }
    return QChar();
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
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), request_(request) {
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
    if (request_.answers.isEmpty())
        request_.answers = MsgAnswersOf(MB_OK);

    icon_ = IconPixmap(MsgIconOf(request_.flags), devicePixelRatioF());
    for (const TMsgAnswer& answer : std::as_const(request_.answers)) {
        auto* button = new QPushButton(answer.caption, this);
        button->setObjectName(ButtonObjectName(answer));
        // The focused button is the one Enter presses, and it is drawn so.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setAutoDefault(true);
        button->installEventFilter(this);
        const int code = answer.code;
        connect(button, &QPushButton::clicked, this, [this, code] { Choose(code); });
        buttons_.append(button);
    }
    imgClose_ = new TMsgCloseButton(this);
    connect(imgClose_, &QAbstractButton::clicked, this, [this] { Choose(request_.escape); });

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
    // Buttons are 75 pixels wide unless their captions need more.
    int buttonsWidth = 0;
    for (QPushButton* button : std::as_const(buttons_)) {
        const int needed = button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&')) + 24;
        button->resize(qMax(kButtonWidth, needed), kButtonHeight);
        buttonsWidth += button->width();
    }
    const int n = int(buttons_.size());
    width = qMax(width, n >= 2 ? buttonsWidth + n * 25 - 5 : buttonsWidth + 20);
    width = qMin(width, screen.width() - 2 * kScreenMargin);
    resize(width, 0);
    textBlockHeight_ = LayOutTexts(nullptr);
    resize(width, textBlockHeight_ + 50);
    PlaceButtons();
    imgClose_->move(width - imgClose_->width() - 5, 1);
    move(PlaceMessageDialog(request_.position, size(), screen));
}

void TfrmMsg::PlaceButtons() {
    onScreen_ = buttons_;
    // Right-to-left messages put the first choice at the right.
    if (request_.flags & MB_RIGHT)
        std::reverse(onScreen_.begin(), onScreen_.end());
    int total = 0;
    for (QPushButton* button : std::as_const(onScreen_))
        total += button->width();
    int left = (width() - total - 5 * (int(onScreen_.size()) - 1)) / 2;
    for (QPushButton* button : std::as_const(onScreen_)) {
        button->move(left, textBlockHeight_ + 15);
        left += button->width() + 5;
    }
    // Tab walks the buttons in choice order.
    for (qsizetype i = 1; i < buttons_.size(); ++i)
        setTabOrder(buttons_[i - 1], buttons_[i]);
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
    QPushButton* start = buttons_.front();
    for (qsizetype i = 0; i < buttons_.size(); ++i) {
        if (request_.answers[i].code == request_.focus)
            start = buttons_[i];
    }
    start->setFocus(Qt::OtherFocusReason);
}

bool TfrmMsg::Shows(int code) const {
    for (const TMsgAnswer& answer : request_.answers) {
        if (answer.code == code)
            return true;
    }
    return false;
}

void TfrmMsg::Choose(int code) {
    done(code);
}

void TfrmMsg::reject() {
    // Escape, the close picture, Alt+F4 or the window manager: the user chose nothing.
    Choose(request_.escape);
}

int TfrmMsg::FocusedIndex() const {
    const qsizetype index = buttons_.indexOf(qobject_cast<QPushButton*>(focusWidget()));
    if (index >= 0)
        return int(index);
    for (qsizetype i = 0; i < buttons_.size(); ++i) {
        if (request_.answers[i].code == request_.focus)
            return int(i);
    }
    return 0;
}

void TfrmMsg::MoveFocus(int step, bool onScreen) {
    const QList<QPushButton*>& order = onScreen ? onScreen_ : buttons_;
    const int n = int(order.size());
    const int at = int(order.indexOf(buttons_[FocusedIndex()]));
    order[(at + step + n) % n]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool TfrmMsg::HandleKey(const QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() & Qt::AltModifier) {
        if (key == Qt::Key_F4) {
            Choose(request_.escape);
            return true;
        }
        // Yes and No also answer to the keys that carry their Arabic, Persian or Urdu letters on those
        // keyboards, whichever layout is active; every other button to the letter after its "&".
        const QChar keyLetter = key <= 0xFFFF ? QChar(key).toLower() : QChar();
        const QChar typed = event->text().isEmpty() ? keyLetter : event->text().front().toLower();
        for (const TMsgAnswer& answer : request_.answers) {
            const bool standard =
                (answer.code == IDYES && IsYesKey(key)) || (answer.code == IDNO && IsNoKey(key));
            const QChar letter = Mnemonic(answer.caption);
            if (standard || (!letter.isNull() && (letter == typed || letter == keyLetter))) {
                Choose(answer.code);
                return true;
            }
        }
        return true;
    }
    switch (key) {
    case Qt::Key_Escape:
        Choose(request_.escape);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Choose(request_.answers[FocusedIndex()].code);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Down:
        MoveFocus(1, false);
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Up:
        MoveFocus(-1, false);
        return true;
    case Qt::Key_Left:
        MoveFocus(-1, true);
        return true;
    case Qt::Key_Right:
        MoveFocus(1, true);
        return true;
    default:
        return false;
    }
}

bool TfrmMsg::eventFilter(QObject* watched, QEvent* event) {
    // A focused button would take Space and the arrows itself; the dialog answers every key the same way
    // wherever the focus is.
    if (event->type() == QEvent::KeyPress && buttons_.contains(watched))
        return HandleKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::KeyRelease && buttons_.contains(watched) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
        return true;
    return QDialog::eventFilter(watched, event);
}

void TfrmMsg::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event))
        QDialog::keyPressEvent(event);
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
