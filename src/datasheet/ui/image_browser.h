#pragma once

#include "storage/picture_store.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QToolButton;

namespace verdan {

class TPictureStrip;
class TPictureView;
class TZelGrid;

// The picture browser: every person who has pictures, the pictures of the chosen person as a strip, one
// picture large with zoom (Ctrl and the wheel) and drag, its texts, and saving, copying and removing it.
// Picture files added with the file dialog, pasted or dropped on the strip, and a pasted picture, become
// pictures of the chosen person.
class TfrmImageBrows : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNameCol = 1;
    static constexpr int kIdCol = 2;

    explicit TfrmImageBrows(QWidget* parent = nullptr);

    // Shows the window with the persons who have pictures, the person given (blank: the first listed)
    // chosen.
    void ShowFor(const QString& personId);
    // Reads the list of persons again (the refresh button).
    void FillPersons();
    void ChoosePerson(const QString& personId);
    void ShowPicture(const QString& pictureId);
    // Adds picture files to the chosen person; the number added. Refusals are told once for all.
    int AddFiles(const QStringList& files);
    // Adds what the clipboard holds to the chosen person: copied picture files, or a copied picture.
    void PastePictures();

    // Asks for picture files (ChoosePictureFiles), then adds them.
    void bt_Add_ImageClick();
    void bt_Save_ImageClick();
    void bt_Copy_ImageClick();
    void bt_Delete_ImageClick();

    QString CurrentPersonId() const { return personId_; }
    QString CurrentPictureId() const { return pictureId_; }
    TZelGrid* PersonsGrid() const { return g_; }
    TPictureStrip* Strip() const { return strip_; }
    TPictureView* PictureView() const { return imgPicture_; }
    QLabel* StatusLabel() const { return lblStatus_; }
    QLabel* PersonLabel() const { return lblPerson_; }
    void TranslateTexts();

    // Asks where to save the picture (proposed name); empty when cancelled. Tests replace it.
    std::function<QString(const QString& proposed)> ChooseSaveFile;
    // Asks for picture files to add; empty when cancelled. Tests replace it.
    std::function<QStringList()> ChoosePictureFiles;

signals:
    // A person is to be shown in the main outline.
    void LocatePersonRequested(const QString& personId);
    // Pictures of the person were added or removed.
    void PicturesChanged(const QString& personId);

protected:
    void changeEvent(QEvent* event) override;

private:
    int PersonRow(const QString& personId) const;
    void FillStrip();
    void ShowPersonLine();
    void ShowAdded(const QString& pictureId);
    void UpdateAddButtons();

    QString personId_;
    QString pictureId_;
    bool filling_ = false;

    QSplitter* splitter_;
    TZelGrid* g_;
    QToolButton* Button1_;
    QLabel* lblPerson_;
    TPictureView* imgPicture_;
    TPictureStrip* strip_;
    QLabel* lblDescription_;
    QLabel* lblDate_;
    QLabel* lblNotes_;
    QLineEdit* txtDescription_;
    QLineEdit* txtDate_;
    QPlainTextEdit* txtNotes_;
    QPushButton* bt_Save_Image_;
    QPushButton* bt_Copy_Image_;
    QPushButton* bt_Delete_Image_;
    QPushButton* bt_Add_Image_;
    QPushButton* bt_Paste_Image_;
    QLabel* lblStatus_;
};

} // namespace verdan
