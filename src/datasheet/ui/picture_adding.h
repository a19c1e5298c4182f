#pragma once

#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;

namespace verdan {

// Adding pictures to a person from files, a drop or the clipboard, the same way in the data sheet and in
// the picture browser.

// The local files a drop or the clipboard carries.
QStringList PictureFilesOf(const QMimeData* mime);
// Whether the data carries something to add as pictures: local files, or an image.
bool CarriesPictures(const QMimeData* mime);

// Adds the files to the person as one step to undo; the refusals are told in one message. The identifier
// of the last picture added; empty when none was.
QString AddPicturesToPerson(const QString& personId, const QStringList& files);
// Adds what the data carries: its local files, else its image (a copied picture, written to a file first).
QString AddPicturesFrom(const QString& personId, const QMimeData* mime);

// Makes `target` take picture files dropped on it while `accepts` says so, handing them to `add`. Some
// sources hand their files only while the drag moves: the files seen then are kept for the drop.
void TakePictureDrops(QWidget* target, std::function<bool()> accepts,
                      std::function<void(const QStringList& files)> add);

// The file dialog for adding pictures; several files may be chosen. Empty when cancelled.
QStringList ChoosePictureFiles();

} // namespace verdan
