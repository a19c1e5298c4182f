#pragma once

class QMimeData;

namespace verdan {

// What the program copies leaves it without the direction marks that only keep texts in order on screen
// (an isolated name in a selectable sentence, a path in a message): it pastes clean into a spreadsheet, a
// tree's box or another program. Texts other programs copy are left as they are. Installed once at start.
void KeepCopiedTextsPlain();

// A copy of `data` with the direction marks taken out of its text and its HTML, every other format kept;
// null when it has none to take out.
QMimeData* WithoutDirectionMarks(const QMimeData& data);

} // namespace verdan
