#include "escape_closes.h"

#include <QKeyEvent>
#include <QWidget>

namespace verdan {

namespace {

// Sees the key only when it reaches the window itself, that is when the widget with the focus and every
// widget between it and the window let it pass.
class TEscapeCloses final : public QObject {
public:
    explicit TEscapeCloses(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                window_->close();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* window_;
};

} // namespace

void CloseOnEscape(QWidget* window) {
    window->installEventFilter(new TEscapeCloses(window));
}

} // namespace verdan
