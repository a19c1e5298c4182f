#pragma once

#include <QIcon>
#include <QStringList>
#include <QStringView>

namespace verdan {

// The program's icons, one scalable set shipped in its resources (resources/icons), named as desktop icon
// themes name them: Icon(u"document-open"), Icon(u"person-add-male"). Every window takes its pictures from
// here, so the whole program looks alike and stays sharp at any scaling.
//
// Pictures that point somewhere (arrows, "go back", an outline's branches) turn around while the program
// reads right to left; the choice is made each time the icon is drawn, so an icon set once follows a later
// change of the interface language. Icons drawn in the text colour take a light colour under a dark palette.
// An unknown name gives a null icon.
QIcon Icon(QStringView name);

// Whether the set holds a picture of that name.
bool HasIcon(QStringView name);

// Every name of the set, sorted (the right-to-left variants are not names of their own).
QStringList IconNames();

// Whether the picture of that name differs between the two reading directions.
bool IsDirectionalIcon(QStringView name);

} // namespace verdan
