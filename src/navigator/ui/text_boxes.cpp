#include "text_boxes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace verdan {

TPasteWatcher::TPasteWatcher(QPlainTextEdit* box, Handler after)
    : QObject(box), box_(box), after_(std::move(after)) {
    box_->installEventFilter(this);
    box_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box_, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        QMenu* menu = box_->createStandardContextMenu(position);
        // The menu's own paste would bypass the watcher.
        for (QAction* action : menu->actions()) {
            if (action->shortcut() == QKeySequence::Paste) {
                disconnect(action, nullptr, nullptr, nullptr);
                connect(action, &QAction::triggered, this, &TPasteWatcher::Paste);
            }
        }
        menu->exec(box_->viewport()->mapToGlobal(position));
        delete menu;
    });
}

bool TPasteWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        Paste();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TPasteWatcher::Paste() {
    const QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty() || box_->isReadOnly())
        return;
    QTextCursor cursor = box_->textCursor();
    const int at = cursor.selectionStart();
    cursor.insertText(pasted);
    after_(box_, at, pasted);
}

namespace {

void ApplyBoxReading(QPlainTextEdit* box) {
    QTextOption option = box->document()->defaultTextOption();
    const bool rtl = box->layoutDirection() == Qt::RightToLeft;
    option.setTextDirection(box->layoutDirection());
    option.setAlignment((rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
    box->document()->setDefaultTextOption(option);
}

class TBoxReading : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::LayoutDirectionChange)
            if (auto* box = qobject_cast<QPlainTextEdit*>(watched))
                ApplyBoxReading(box);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void KeepBoxReading(QPlainTextEdit* box) {
    ApplyBoxReading(box);
    box->installEventFilter(new TBoxReading(box));
}

} // namespace verdan
