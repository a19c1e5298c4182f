#include "reports/ui/name_search_box.h"

#include "reports/name_search.h"
#include "reports/search_results.h"
#include "storage/person_store.h"
#include "text/localisation.h"
#include "text/name_utils.h"
#include "text/search_fold.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/own_end_delegate.h"
#include "text/ui/person_follow.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>

namespace verdan {

namespace {

constexpr int kExpandedHeight = 120;

// Ctrl+Up gives -1, Ctrl+Down 1, any other key 0.
int CtrlArrow(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::ControlModifier)
        return 0;
    return key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1 : 0;
}

} // namespace

// The result list; while it is empty it may say why, in grey where its first row would be.
class TResultListView : public QListView {
public:
    using QListView::QListView;
    QString emptyText;

protected:
    void paintEvent(QPaintEvent* event) override {
        QListView::paintEvent(event);
        if (emptyText.isEmpty() || (model() && model()->rowCount() > 0))
            return;
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        const QRect area = viewport()->rect().adjusted(4, 2, -4, -2);
        painter.drawText(area,
                         int(Qt::AlignTop | Qt::AlignAbsolute |
                             (layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft)),
                         emptyText);
    }
};

TNameSearchBox::TNameSearchBox(QWidget* parent)
    : QWidget(parent), txtFind_(new QLineEdit), btFind_(new QPushButton),
      results_(new TSearchResultModel(this)), lstName_(new TResultListView), searchRow_(new QWidget) {
    txtFind_->setObjectName(QStringLiteral("txtFind"));
    btFind_->setObjectName(QStringLiteral("btFind"));
    lstName_->setObjectName(QStringLiteral("lstName"));
    btFind_->setEnabled(false);
    btFind_->setAutoDefault(false);
    lstName_->setModel(results_);
    lstName_->setItemDelegate(new TOwnEndDelegate(lstName_));
    lstName_->setUniformItemSizes(true);
    lstName_->setEditTriggers(QAbstractItemView::NoEditTriggers);
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

    connect(txtFind_, &QLineEdit::textChanged, this, [this](const QString& text) {
        btFind_->setEnabled(text.size() > 1);
        // The note that nobody was found belongs to the text searched.
        if (!lstName_->emptyText.isEmpty()) {
            lstName_->emptyText.clear();
            lstName_->viewport()->update();
        }
    });
    connect(btFind_, &QPushButton::clicked, this, &TNameSearchBox::Find);
    connect(lstName_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit personSelected(results_->PersonId(current.row()));
            });
    // A click on the entry that is current already says it again: its person may have been left meanwhile.
    connect(lstName_, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit personSelected(results_->PersonId(index.row()));
    });
    connect(lstName_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        lstName_->setCurrentIndex(index);
        ChooseCurrent();
    });
    FollowPersonView(lstName_, [this](const QModelIndex& index) { return results_->PersonId(index.row()); });
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
    if (!lstName_->emptyText.isEmpty()) {
        lstName_->emptyText = Translate(QStringLiteral("No person found"));
        lstName_->viewport()->update();
    }
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
    FillSearchResults(text);
    // Grown also when nobody was found, so the list can say so.
    ExpandResults();
}

int TNameSearchBox::FillSearchResults(const QString& text) {
    if (CleanName(SearchFold(text)).isEmpty())
        return 0;
    TBusyCursor busy;
    searched_ = text;
    results_->SetPersons(SearchPersonsByName(text));
    lstName_->emptyText = results_->rowCount() > 0 ? QString() : Translate(QStringLiteral("No person found"));
    lstName_->viewport()->update();
    if (results_->rowCount() > 0) {
        lstName_->setFocus();
        lstName_->setCurrentIndex(results_->index(0));
    }
    return results_->rowCount();
}

void TNameSearchBox::ClearResults() {
    searched_.clear();
    results_->Clear();
    lstName_->emptyText.clear();
}

void TNameSearchBox::RefreshResults() {
    if (searched_.isEmpty())
        return;
    TBusyCursor busy;
    const QString chosen = CurrentPersonId();
    // The same person chosen again is no new choice.
    const QSignalBlocker quiet(this);
    results_->SetPersons(SearchPersonsByName(searched_));
    lstName_->emptyText = results_->rowCount() > 0 ? QString() : Translate(QStringLiteral("No person found"));
    int row = 0;
    for (int i = 0; i < results_->rowCount(); ++i)
        if (results_->PersonId(i) == chosen)
            row = i;
    if (results_->rowCount() > 0)
        lstName_->setCurrentIndex(results_->index(row));
    lstName_->viewport()->update();
}

QString TNameSearchBox::CurrentPersonId() const {
    const QModelIndex current = lstName_->currentIndex();
    return current.isValid() ? results_->PersonId(current.row()) : QString();
}

QListView* TNameSearchBox::ResultList() const {
    return lstName_;
}

int TNameSearchBox::ResultCount() const {
    return results_->rowCount();
}

QString TNameSearchBox::ResultText(int row) const {
    return results_->index(row).data().toString();
}

QString TNameSearchBox::ResultPersonId(int row) const {
    return results_->PersonId(row);
}

void TNameSearchBox::SetCurrentResult(int row) {
    lstName_->setCurrentIndex(results_->index(row));
}

QString TNameSearchBox::EmptyListText() const {
    return lstName_->emptyText;
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
        target = up ? outline_.data() : static_cast<QWidget*>(lstName_);
    else if (from == lstName_)
        target = up ? static_cast<QWidget*>(txtFind_) : outline_.data();
    else if (from == outline_)
        target = up ? static_cast<QWidget*>(lstName_) : static_cast<QWidget*>(txtFind_);
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
        const bool enter = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
                           (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        if (watched == lstName_ && enter) {
            ChooseCurrent();
            return true;
        }
        // Enter in the box searches and goes no further: in a dialog it would press the default button.
        if (watched == txtFind_ && enter) {
            if (btFind_->isEnabled())
                btFind_->click();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == lstName_->viewport() &&
               results_->rowCount() == 0) {
        CollapseResults();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace verdan
