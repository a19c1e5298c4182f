#pragma once

#include <QString>
#include <QStringView>

// What the data module's statements ask of the read-only gate (read_only_gate.cpp).
namespace verdan::gate {

// True for a statement that compacts the file in place, which the engine runs without asking the gate.
bool IsInPlaceVacuum(QStringView sql);
// Why a statement was refused, in the interface language.
QString ReadOnlyReason();

} // namespace verdan::gate
