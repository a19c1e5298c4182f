#pragma once

#include <QList>
#include <QPoint>
#include <utility>

namespace verdan {

// The automatic layout of a family chart, as pure geometry: boxes of any size and the family links between
// them in, positions out. It knows nothing of names, fonts or the tree file.
//
// The root person stands on row 0 with his spouses beside him; his ancestors (fathers and mothers, each
// couple above their child) fill the rows above and his descendants the rows below. A person's spouses
// stand beside him in their order, each with the children of that marriage under her; children whose other
// parent is not on the chart hang, a group per other parent, under the parent their link is drawn from. In
// every row a subtree keeps clear of its neighbours (a tidy tree, built bottom-up from the contours of the
// subtrees, in time linear in the number of persons). Persons the root's families do not reach (a
// brother, the relatives of a wife) are laid out the same way beside them, on the rows of their
// generation.
//
// Positions are laid out with the first of everything (father, first wife, first child) on the left and
// mirrored for right-to-left reading; with the root at the bottom the rows are mirrored top to bottom.

inline constexpr int kLayoutMarkSize = 12;

struct TLayoutPerson {
    int Width = 0;  // of the whole box, picture included
    int Above = 0;  // of the box above the text rectangle's top (a picture)
    int Height = 0; // of the text rectangle
    bool Male = true;
    // Parents as indices into the input, -1 when not on the chart; Key* tell parents apart when they are
    // not on the chart (0 for none), so that the children of each mother form a group of their own.
    int Father = -1;
    int Mother = -1;
    qint64 FatherKey = 0;
    qint64 MotherKey = 0;
    // When the parents have no marriage mark, the child's link runs from the mother rather than the father.
    bool LinkToMother = false;
    // Spouses with a marriage mark on the chart (indices), in the order of the marriages.
    QList<int> Spouses;
    int SiblingOrder = 0; // place among brothers and sisters; ties keep the input's order
};

struct TLayoutOptions {
    int Root = 0; // -1 for none: every family is laid out from its eldest generation down
    bool RootAtTop = true;
    bool LeftToRight = false;
    int SpouseGap = 40;  // between a person and his spouse (room for the mark)
    int SiblingGap = 20; // between brothers and sisters
    int GroupGap = 40;   // between families
    int RowGap = 80;     // between one row's texts and the next row's boxes, at least
    int Margin = 40;     // the least left and top edge of the result
};

struct TLayoutMark {
    int First = -1; // the two spouses, as they were given
    int Second = -1;
    QPoint TopLeft;
};

struct TLayoutResult {
    QList<QPoint> Boxes;      // top-left corner of each person's box, in the input's order
    QList<TLayoutMark> Marks; // one per couple that has a mark
    QList<int> Rows;          // the generation row of each person (0 the root's, negative above it)
};

TLayoutResult LayOutFamilies(const QList<TLayoutPerson>& persons, const TLayoutOptions& options);

} // namespace verdan
