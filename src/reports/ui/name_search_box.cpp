#include "reports/ui/name_search_box.h"

#include "reports/name_search.h"
#include "storage/person_store.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "text/ui/busy_cursor.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>

namespace verdan {

namespace {

constexpr int kExpandedHeight = 120;
constexpr int kIdRole = Qt::UserRole;

// Ctrl+Up gives -1, Ctrl+Down 1, any other key 0.
int CtrlArrow(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::ControlModifier)
        return 0;
    return key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1 : 0;
}

} // namespace

TNameSearchBox::TNameSearchBox(QWidget* parent)
    : QWidget(parent), txtFind_(new QLineEdit), btFind_(new QPushButton), lstName_(new QListWidget),
      searchRow_(new QWidget) {
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    btFind_->setObjectName(QStringLiteral("btFind"));
    lstName_->setObjectName(QStringLiteral("lstName"));
    btFind_->setEnabled(false);
    btFind_->setAutoDefault(false);
    lstName_->setUniformItemSizes(true);
    lstName_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list may shrink to nothing, so that the search area can close down to the box.
    lstName_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);

    auto* row = new QHBoxLayout(searchRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(txtFind_, 1);
    row->addWidget(btFind_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addWidget(searchRow_);
    column->addWidget(lstName_, 1);
    setFocusProxy(txtFind_);

    connect(txtFind_, &QLineEdit::textChanged, this,
            [this](const QString& text) { btFind_->setEnabled(text.size() > 1); });
    connect(txtFind_, &QLineEdit::returnPressed, this, [this] {
        if (btFind_->isEnabled())
            btFind_->click();
    });
    connect(btFind_, &QPushButton::clicked, this, &TNameSearchBox::Find);
    connect(lstName_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            emit personSelected(item->data(kIdRole).toString());
    });
    connect(lstName_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        lstName_->setCurrentItem(item);
        ChooseCurrent();
    });
    txtFind_->installEventFilter(this);
    lstName_->installEventFilter(this);
    lstName_->viewport()->installEventFilter(this);
    TranslateTexts();
}

void TNameSearchBox::SetOutline(QWidget* outline) {
    if (outline_)
        outline_->removeEventFilter(this);
    outline_ = outline;
    if (outline_)
        outline_->installEventFilter(this);
}

void TNameSearchBox::TranslateTexts() {
    btFind_->setText(Translate(QStringLiteral("Find")));
    txtFind_->setPlaceholderText(Translate(QStringLiteral("Enter name to find")));
}

void TNameSearchBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

void TNameSearchBox::Find() {
    const QString text = txtFind_->text().trimmed();
    if (text.isEmpty())
        return;
    // Only the full identifier form is an identifier; "{" followed by anything else is a name to search.
    if (acceptIdentifiers_ && IsIdentifierText(text) && PersonExists(text)) {
        emit identifierEntered(text);
        return;
    }
    if (FillSearchResults(text) > 0)
        ExpandResults();
}

int TNameSearchBox::FillSearchResults(const QString& text) {
    if (CleanName(StripDiacritics(text)).isEmpty())
        return 0;
    TBusyCursor busy;
    lstName_->clear();
    for (const QString& id : SearchPersonsByName(text)) {
        auto* item = new QListWidgetItem(GetLineageName(id), lstName_);
        item->setData(kIdRole, id);
    }
    if (lstName_->count() > 0) {
        lstName_->setFocus();
        lstName_->setCurrentRow(0);
    }
    return lstName_->count();
}

void TNameSearchBox::ClearResults() {
    lstName_->clear();
}

QString TNameSearchBox::CurrentPersonId() const {
    const QListWidgetItem* item = lstName_->currentItem();
    return item ? item->data(kIdRole).toString() : QString();
}

void TNameSearchBox::ExpandResults() {
    SetAreaHeight(qMax(kExpandedHeight, 3 * CollapsedHeight()));
}

void TNameSearchBox::CollapseResults() {
    SetAreaHeight(CollapsedHeight());
}

int TNameSearchBox::CollapsedHeight() const {
    const QMargins margins = layout()->contentsMargins();
    return searchRow_->sizeHint().height() + margins.top() + margins.bottom() + layout()->spacing();
}

// The splitter gives the difference to the neighbour below (or above, for the last pane).
void TNameSearchBox::SetAreaHeight(int height) {
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter || splitter->count() < 2)
        return;
    const int index = splitter->indexOf(this);
    const int neighbour = index + 1 < splitter->count() ? index + 1 : index - 1;
    QList<int> sizes = splitter->sizes();
    const int total = sizes[index] + sizes[neighbour];
    sizes[index] = total > 0 ? qMin(height, total) : height;
    sizes[neighbour] = qMax(0, total - sizes[index]);
    splitter->setSizes(sizes);
}

void TNameSearchBox::ChooseCurrent() {
    const QString id = CurrentPersonId();
    if (!id.isEmpty())
        emit personChosen(id);
}

// Ctrl+Up and Ctrl+Down: box -> outline / list, list -> box / outline, outline -> list / box.
bool TNameSearchBox::MoveFocus(QObject* from, bool up) {
    QWidget* target = nullptr;
    if (from == txtFind_)
        target = up ? outline_.data() : lstName_;
    else if (from == lstName_)
        target = up ? static_cast<QWidget*>(txtFind_) : outline_.data();
    else if (from == outline_)
        target = up ? static_cast<QWidget*>(lstName_) : txtFind_;
    if (!target)
        return false;
    target->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool TNameSearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int arrow = CtrlArrow(key); arrow != 0 && MoveFocus(watched, arrow < 0))
            return true;
        if (watched == lstName_ && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            ChooseCurrent();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == lstName_->viewport() &&
               lstName_->count() == 0) {
        CollapseResults();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace verdan
