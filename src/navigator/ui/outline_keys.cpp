#include "outline_keys.h"

#include "text/bidi_text.h"

#include <QKeyEvent>
#include <QRegularExpression>

namespace verdan {

QList<QKeySequence> OutlineKeys(TOutlineKey command) {
    switch (command) {
    case TOutlineKey::AddSon:
        return {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::Key_F4)};
    case TOutlineKey::AddDaughter:
        return {QKeySequence(Qt::SHIFT | Qt::Key_Insert), QKeySequence(Qt::SHIFT | Qt::Key_F4)};
    case TOutlineKey::EditName:
        return {QKeySequence(Qt::Key_F2)};
    case TOutlineKey::Delete:
        return {QKeySequence(Qt::Key_Delete)};
    case TOutlineKey::DeleteWithoutAsking:
        return {QKeySequence(Qt::SHIFT | Qt::Key_Delete)};
    case TOutlineKey::ToggleGender:
        return {QKeySequence(Qt::Key_F6)};
    case TOutlineKey::SetMale:
        return {QKeySequence(Qt::Key_F7)};
    case TOutlineKey::SetFemale:
    case TOutlineKey::SetGroup:
        return {};
    case TOutlineKey::AddMate:
        return {QKeySequence(Qt::Key_F8)};
    case TOutlineKey::ToggleDead:
        return {QKeySequence(Qt::CTRL | Qt::Key_Apostrophe)};
    case TOutlineKey::DateEstimate:
        return {QKeySequence(Qt::CTRL | Qt::Key_D)};
    case TOutlineKey::ZoomIn:
        // Ctrl with the key that carries = and + (Shift held or not, or the keypad's +); with Alt too, as
        // the hints once said.
        return {QKeySequence(Qt::CTRL | Qt::Key_Equal),
                QKeySequence(Qt::CTRL | Qt::Key_Plus),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Equal),
                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Equal),
                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Plus)};
    case TOutlineKey::ZoomOut:
        return {QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Minus)};
    case TOutlineKey::Expand:
        return {QKeySequence(Qt::Key_F5)};
    case TOutlineKey::Back:
        return {QKeySequence(Qt::ALT | Qt::Key_Left)};
    case TOutlineKey::Forward:
        return {QKeySequence(Qt::ALT | Qt::Key_Right)};
    }
    return {};
}

bool IsOutlineKey(TOutlineKey command, const QKeyEvent* event) {
    // The keypad's keys count as the main ones.
    const QKeyCombination pressed(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    for (const QKeySequence& keys : OutlineKeys(command)) {
        if (keys.count() == 1 && keys[0] == pressed)
            return true;
    }
    return false;
}

QString OutlineKeyText(TOutlineKey command) {
    const QList<QKeySequence> keys = OutlineKeys(command);
    return keys.isEmpty() ? QString() : keys.front().toString(QKeySequence::NativeText);
}

QString HintWithKey(const QString& hint, TOutlineKey command) {
    static const QRegularExpression trailingKey(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString text = hint;
    text.remove(trailingKey);
    const QString key = OutlineKeyText(command);
    // The key reads left to right inside a right-to-left hint.
    return key.isEmpty() ? text : text + QStringLiteral(" (") + IsolateLtr(key) + u')';
}

QString CaptionWithKey(const QString& caption, TOutlineKey command) {
    const QString key = OutlineKeyText(command);
    return key.isEmpty() ? caption : caption + u'\t' + key;
}

} // namespace verdan
