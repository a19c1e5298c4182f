#include "form_grid.h"

#include "text/bidi_text.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpacerItem>
#include <algorithm>

namespace verdan {

namespace {

// The direction of the window around the widget, which an empty value takes.
Qt::LayoutDirection InterfaceDirection(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    return parent ? parent->layoutDirection() : QGuiApplication::layoutDirection();
}

// Each value reads in its own direction and starts at its own reading start: an Arabic name on the right
// in an English window, a Latin name or a phone number on the left in an Arabic one. A caption or a
// formatted text follows the window.
void ApplyReadingAlignment(QWidget* widget) {
    QString text;
    bool own = true;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
        own = label->textFormat() == Qt::PlainText ||
              (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(text));
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        text = box->text();
    } else {
        return;
    }
    const Qt::LayoutDirection window = InterfaceDirection(widget);
    const Qt::LayoutDirection direction = own ? ReadingDirection(text, window) : window;
    if (widget->layoutDirection() != direction)
        widget->setLayoutDirection(direction);
    const Qt::Alignment start = Qt::AlignLeading | Qt::AlignVCenter;
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->alignment() != start)
        label->setAlignment(start);
    else if (auto* box = qobject_cast<QLineEdit*>(widget); box && box->alignment() != start)
        box->setAlignment(start);
}

// Works out the direction again before each painting, so it follows every change of the text and of the
// window's direction (a language switch).
class TReadingAlignment : public QObject {
public:
    static TReadingAlignment& Instance() {
        static TReadingAlignment filter;
        return filter;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Paint || event->type() == QEvent::Show) && watched->isWidgetType())
            ApplyReadingAlignment(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

int ReadableFieldWidth(const QWidget* widget) {
    return widget->fontMetrics().averageCharWidth() * kFieldChars;
}

void KeepReadingAlignment(QWidget* widget) {
    if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QLineEdit*>(widget))
        return;
    ApplyReadingAlignment(widget);
    widget->removeEventFilter(&TReadingAlignment::Instance());
    widget->installEventFilter(&TReadingAlignment::Instance());
    // A box follows its text at once, also while it is typed in or filled before it is painted again.
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        TReadingAlignment& keeper = TReadingAlignment::Instance();
        QObject::disconnect(box, &QLineEdit::textChanged, &keeper, nullptr);
        QObject::connect(box, &QLineEdit::textChanged, &keeper, [box] { ApplyReadingAlignment(box); });
    }
}

TCaptionColumn::TCaptionColumn(QObject* parent) : QObject(parent) {
}

void TCaptionColumn::Add(QWidget* caption) {
    if (caption && !captions_.contains(caption))
        captions_.append(caption);
}

void TCaptionColumn::AddCaptionsOf(QWidget* widget) {
    QList<TFormGrid*> forms = widget->findChildren<TFormGrid*>();
    if (auto* own = qobject_cast<TFormGrid*>(widget->layout()); own && !forms.contains(own))
        forms.prepend(own);
    for (const TFormGrid* form : std::as_const(forms))
        for (QWidget* caption : form->Captions())
            Add(caption);
}

void TCaptionColumn::Update() {
    captions_.removeAll(nullptr);
    for (QWidget* caption : std::as_const(captions_))
        caption->setMinimumWidth(0);
    width_ = 0;
    for (QWidget* caption : std::as_const(captions_))
        width_ = std::max(width_, caption->sizeHint().width());
    for (QWidget* caption : std::as_const(captions_))
        caption->setMinimumWidth(width_);
}

TFormGrid::TFormGrid(QWidget* parent, TCaptionColumn* captions) : QGridLayout(parent), captions_(captions) {
    setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    setHorizontalSpacing(kSpacing);
    setVerticalSpacing(kRowSpacing);
    // The fields grow up to their readable width; everything beyond goes to the empty last column.
    setColumnStretch(kFieldColumn, 1);
    addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, kFillColumn);
}

int TFormGrid::AddRow(QWidget* caption, QWidget* field, const QList<QWidget*>& extras) {
    const int row = rowCount();
    if (caption) {
        addWidget(caption, row, kCaptionColumn);
        captionWidgets_.append(caption);
        if (captions_)
            captions_->Add(caption);
    }
    if (field) {
        field->setMaximumWidth(ReadableFieldWidth(field));
        field->setSizePolicy(QSizePolicy::Expanding, field->sizePolicy().verticalPolicy());
        KeepReadingAlignment(field);
        addWidget(field, row, kFieldColumn);
    }
    int column = kFieldColumn + 1;
    for (QWidget* extra : extras.mid(0, kMaxExtras))
        addWidget(extra, row, column++);
    return row;
}

int TFormGrid::AddLine(QWidget* widget) {
    const int row = rowCount();
    KeepReadingAlignment(widget);
    addWidget(widget, row, kFieldColumn, 1, kFillColumn - kFieldColumn);
    return row;
}

QList<QWidget*> TFormGrid::Captions() const {
    QList<QWidget*> captions;
    for (QWidget* caption : captionWidgets_)
        if (caption)
            captions.append(caption);
    return captions;
}

void TFormGrid::SetRowVisible(int row, bool visible) {
    for (int column = 0; column < kFillColumn; ++column)
        if (QLayoutItem* item = itemAtPosition(row, column); item && item->widget())
            item->widget()->setVisible(visible);
}

} // namespace verdan
