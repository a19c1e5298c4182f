#pragma once

#include <QObject>
#include <functional>

class QPlainTextEdit;

namespace verdan {

// Watches a text box for pastes (the keys and the context menu alike) and lets `after` rework the box's
// text once the pasted text is in: it gets the box, the place the paste went to and the pasted text.
class TPasteWatcher : public QObject {
public:
    using Handler = std::function<void(QPlainTextEdit* box, int at, const QString& pasted)>;
    TPasteWatcher(QPlainTextEdit* box, Handler after);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Paste();

    QPlainTextEdit* box_;
    Handler after_;
};

// Keeps the paragraphs of a text box at the reading start of its window (right while it lays out right
// to left), whatever their own direction, and again after every change of direction.
void KeepBoxReading(QPlainTextEdit* box);

} // namespace verdan
