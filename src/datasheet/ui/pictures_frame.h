#pragma once

#include "datasheet/sheet_pictures.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace verdan {

class TPictureStrip;
class TPictureView;

// The pictures section of the data sheet: the person's default picture, large, zoomed by a press and
// dragged; the strip of all the person's pictures, where a press makes a picture the default; the
// description, date and notes of the picture shown, and the place of its file. Pictures are added from
// files (several at once), pasted, or dropped on the section. Adding and removing a
// picture are written at once; the typed texts of a picture are written when another picture is chosen or
// added, and when the sheet leaves the person.
class TframPictures : public QWidget {
    Q_OBJECT
public:
    explicit TframPictures(QWidget* parent = nullptr);

    // Shows the person's pictures (blank: nobody). The typed texts of the picture before are forgotten,
    // so the caller saves them first. A person whose display options hide the picture shows the strip
    // without a large picture.
    void LoadPictures(const QString& personId);
    void Clear() { LoadPictures(QString()); }
    // Writes the typed texts of the picture shown when they were changed; false when the write failed.
    bool SavePictureTexts();
    bool TextsChanged() const;
    QString PersonId() const { return personId_; }
    const TPPicture& CurrentPicture() const { return current_; }
    // The picture for the header and the overview: null when none is shown (hidden, or no picture).
    QImage ShownImage() const;
    bool PictureHidden() const { return hidden_; }
    void TranslateTexts();

    // The commands.
    void ChoosePicture(const QString& pictureId);
    // Asks for files (ChoosePictureFiles), then adds them.
    void btOpenPictureFileClick();
    // Adds picture files; the last one added is shown, as the person's default picture.
    void AddPictures(const QStringList& files);
    // Adds what the clipboard holds: copied picture files, or a copied picture.
    void PastePictures();
    void btClearPictureClick();

    TPictureStrip* Strip() const { return gImageStrip_; }
    TPictureView* PictureView() const { return imgPicture_; }
    QLabel* PathLabel() const { return lbl_Picture_Path_; }

    // Asks for picture files to add; empty when cancelled. Tests replace it.
    std::function<QStringList()> ChoosePictureFiles;

signals:
    // The person's default picture changed (added, chosen, removed): the header shows it.
    void DefaultPictureChanged(const QString& personId);
    // The picture browser is wanted for the person.
    void BrowserWanted(const QString& personId);

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowCurrent();
    void ShowTexts();
    void ShowPath(const QString& storedPath);
    void FillStrip();
    void ShowAdded(const QString& pictureId);
    void UpdateButtons();

    QString personId_;
    TPPicture current_;
    TPictureTexts shownTexts_;
    bool hidden_ = false;
    bool filling_ = false;

    TPictureView* imgPicture_;
    TPictureStrip* gImageStrip_;
    QLabel* lblDescription_;
    QLabel* lblDate_;
    QLabel* lblNotes_;
    QLineEdit* txtPicDescription_;
    QLineEdit* txtPicDate_;
    QPlainTextEdit* txtPicNotes_;
    QLabel* lbl_Picture_Path_;
    QToolButton* btOpenPictureFile_;
    QToolButton* btPastePicture_;
    QToolButton* btClearPicture_;
    QToolButton* btShow_Picture_Brows_;
};

} // namespace verdan
