#pragma once

#include <QIcon>
#include <QList>

namespace verdan {

// The shared image list of the outlines, drawn once: index 0 the root, 1 a group, 3 no gender, 4 and 5 a
// man and a woman, 6 and 7 the married ones; the others serve as choices in the display options.
const QList<QIcon>& OutlineImages();

} // namespace verdan
