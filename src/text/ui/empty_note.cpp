#include "empty_note.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <utility>

namespace verdan {

namespace {

class TEmptyNote : public QObject {
public:
    TEmptyNote(QAbstractItemView* view, std::function<bool()> empty)
        : QObject(view), view_(view), empty_(std::move(empty)), note_(new QLabel(view->viewport())) {
        note_->setObjectName(QStringLiteral("emptyNote"));
        note_->setWordWrap(true);
        note_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        note_->setAttribute(Qt::WA_TransparentForMouseEvents);
        note_->setForegroundRole(QPalette::PlaceholderText);
        note_->hide();
        view->viewport()->installEventFilter(this);
        // Several changes at once (a list filled cell by cell) are looked at once, when they are done.
        later_.setSingleShot(true);
        later_.setInterval(0);
        connect(&later_, &QTimer::timeout, this, &TEmptyNote::Update);
        if (QAbstractItemModel* model = view->model()) {
            const auto schedule = [this] {
                later_.start();
            };
            connect(model, &QAbstractItemModel::modelReset, this, schedule);
            connect(model, &QAbstractItemModel::rowsInserted, this, schedule);
            connect(model, &QAbstractItemModel::rowsRemoved, this, schedule);
            connect(model, &QAbstractItemModel::dataChanged, this, schedule);
            connect(model, &QAbstractItemModel::layoutChanged, this, schedule);
        }
        later_.start();
    }

    QLabel* Note() const { return note_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            later_.start();
        return QObject::eventFilter(watched, event);
    }

private:
    void Update() {
        if (!view_)
            return;
        const bool empty = empty_();
        if (empty) {
            // Under the blank rows a list keeps, so the note never sits on a row's lines.
            int top = 0;
            const int rows = view_->model() ? view_->model()->rowCount() : 0;
            if (auto* table = qobject_cast<QTableView*>(view_.data()); table && rows > 0)
                top = table->rowViewportPosition(rows - 1) + table->rowHeight(rows - 1);
            else if (rows > 0)
                top = view_->visualRect(view_->model()->index(rows - 1, 0)).bottom() + 1;
            const QRect area = view_->viewport()->rect();
            const int margin = note_->fontMetrics().height();
            note_->setGeometry(area.left() + margin, std::max(top, 0) + margin / 2, area.width() - 2 * margin,
                               note_->heightForWidth(area.width() - 2 * margin));
        }
        note_->setVisible(empty && !note_->text().isEmpty());
    }

    QPointer<QAbstractItemView> view_;
    std::function<bool()> empty_;
    QLabel* note_;
    QTimer later_;
};

} // namespace

QLabel* ShowNoteWhileEmpty(QAbstractItemView* view, std::function<bool()> empty) {
    return (new TEmptyNote(view, std::move(empty)))->Note();
}

} // namespace verdan
