#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QKeyEvent;

namespace verdan {

// The outline's commands that answer to keys.
enum class TOutlineKey {
    AddSon,
    AddDaughter,
    EditName,
    Delete,
    DeleteWithoutAsking,
    ToggleGender,
    SetMale,
    SetFemale,
    SetGroup,
    AddMate,
    ToggleDead,
    DateEstimate,
    ZoomIn,
    ZoomOut,
    Expand,
    Back,
    Forward,
};

// The one table of the outline's keys: what the outline answers to, and what its hints and menus name.
// The first sequence is the one named; a command without keys (SetFemale, SetGroup) has none.
QList<QKeySequence> OutlineKeys(TOutlineKey command);

// Whether the key pressed is one of the command's.
bool IsOutlineKey(TOutlineKey command, const QKeyEvent* event);

// The command's key as the desktop names it ("F2", "Shift+Ins"); empty when it has none.
QString OutlineKeyText(TOutlineKey command);

// A translated hint with the command's real key: the key written in parentheses at the end of the hint
// (which the translation keeps from its English source) is replaced by the key the outline answers to,
// or dropped when the command has none.
QString HintWithKey(const QString& hint, TOutlineKey command);

// A menu caption with the key shown beside it as text: the menu never takes the key itself, so a key the
// outline answers to stays with the outline (Delete typed in a box never deletes a person).
QString CaptionWithKey(const QString& caption, TOutlineKey command);

} // namespace verdan
