#include "pictures_frame.h"

#include "picture_adding.h"
#include "picture_strip.h"
#include "picture_view.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "storage/person_option_store.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

TframPictures::TframPictures(QWidget* parent)
    : QWidget(parent), ChoosePictureFiles(&::verdan::ChoosePictureFiles) {
    setObjectName(QStringLiteral("framPictures"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kRowSpacing, kWindowMargin, kRowSpacing);
    outer->setSpacing(kRowSpacing);

    auto* top = new QHBoxLayout;
    top->setSpacing(kSpacing);
    imgPicture_ = new TPictureView(this);
    imgPicture_->setObjectName(QStringLiteral("imgPicture"));
    imgPicture_->SetPressZooms(true);
    imgPicture_->setFixedSize(220, 220);
    imgPicture_->setBackgroundRole(QPalette::Base);
    auto* texts = new QWidget(this);
    auto* form = new TFormGrid(texts);
    form->setContentsMargins(0, 0, 0, 0);
    lblDescription_ = new QLabel(texts);
    lblDate_ = new QLabel(texts);
    lblNotes_ = new QLabel(texts);
    txtPicDescription_ = new QLineEdit(texts);
    txtPicDescription_->setObjectName(QStringLiteral("txtPicDescription"));
    txtPicDescription_->setMaxLength(100);
    txtPicDate_ = new QLineEdit(texts);
    txtPicDate_->setObjectName(QStringLiteral("txtPicDate"));
    txtPicDate_->setLayoutDirection(Qt::LeftToRight);
    txtPicDate_->setPlaceholderText(QStringLiteral("dd-mm-yyyy"));
    txtPicNotes_ = new QPlainTextEdit(texts);
    txtPicNotes_->setObjectName(QStringLiteral("txtPicNotes"));
    txtPicNotes_->setMaximumHeight(80);
    lblDescription_->setBuddy(txtPicDescription_);
    lblDate_->setBuddy(txtPicDate_);
    lblNotes_->setBuddy(txtPicNotes_);
    form->AddRow(lblDescription_, txtPicDescription_);
    form->AddRow(lblDate_, txtPicDate_);
    form->AddRow(lblNotes_, txtPicNotes_);
    lbl_Picture_Path_ = new QLabel(texts);
    lbl_Picture_Path_->setObjectName(QStringLiteral("lbl_Picture_Path"));
    lbl_Picture_Path_->setLayoutDirection(Qt::LeftToRight);
    lbl_Picture_Path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->AddLine(lbl_Picture_Path_);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    btOpenPictureFile_ = NewSectionButton(texts, u"insert-image", "btOpenPictureFile");
    btOpenPictureFile_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btPastePicture_ = NewSectionButton(texts, u"edit-paste", "btPastePicture");
    btClearPicture_ = NewSectionButton(texts, u"edit-delete", "btClearPicture");
    btShow_Picture_Brows_ = NewSectionButton(texts, u"folder-pictures", "btShow_Picture_Brows");
    for (QToolButton* button : {btOpenPictureFile_, btPastePicture_, btClearPicture_, btShow_Picture_Brows_})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* buttonRow = new QWidget(texts);
    buttonRow->setLayout(buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    form->AddLine(buttonRow);
    form->setRowStretch(form->rowCount(), 1);
    top->addWidget(imgPicture_, 0, Qt::AlignTop);
    top->addWidget(texts, 1);
    outer->addLayout(top);
    gImageStrip_ = new TPictureStrip(false, this);
    gImageStrip_->setObjectName(QStringLiteral("gImageStrip"));
    outer->addWidget(gImageStrip_);

    connect(gImageStrip_, &TPictureStrip::PictureChosen, this,
            [this](const QString& id) { RunSafely([this, id] { ChoosePicture(id); }); });
    connect(btOpenPictureFile_, &QToolButton::clicked, this,
            [this] { RunSafely([this] { btOpenPictureFileClick(); }); });
    connect(btClearPicture_, &QToolButton::clicked, this,
            [this] { RunSafely([this] { btClearPictureClick(); }); });
    connect(btPastePicture_, &QToolButton::clicked, this, [this] { RunSafely([this] { PastePictures(); }); });
    // Ctrl+V on the picture or the strip pastes pictures; in a text box it pastes text, as ever.
    for (QWidget* target : {static_cast<QWidget*>(imgPicture_), static_cast<QWidget*>(gImageStrip_)}) {
        target->setFocusPolicy(Qt::StrongFocus);
        auto* paste = new QShortcut(QKeySequence::Paste, target);
        paste->setContext(Qt::WidgetWithChildrenShortcut);
        connect(paste, &QShortcut::activated, this, [this] { RunSafely([this] { PastePictures(); }); });
    }
    TakePictureDrops(
        this, [this] { return !personId_.isEmpty(); },
        [this](const QStringList& files) { RunSafely([this, files] { AddPictures(files); }); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TframPictures::UpdateButtons);
    connect(btShow_Picture_Brows_, &QToolButton::clicked, this, [this] {
        if (!personId_.isEmpty())
            emit BrowserWanted(personId_);
    });
    TranslateTexts();
    LoadPictures(QString());
}

void TframPictures::TranslateTexts() {
    lblDescription_->setText(Translate(QStringLiteral("Description")) + u':');
    lblDate_->setText(Translate(QStringLiteral("Date")) + u':');
    lblNotes_->setText(Translate(QStringLiteral("Notes")) + u':');
    btOpenPictureFile_->setText(Translate(QStringLiteral("Add Picture")) + QStringLiteral(".."));
    SetHint(btOpenPictureFile_, btOpenPictureFile_->text());
    SetHint(btPastePicture_, Translate(QStringLiteral("Paste a copied picture or copied picture files")) +
                                 QStringLiteral(" (") +
                                 QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText) + u')');
    SetHint(btClearPicture_, Translate(QStringLiteral("Remove Picture")));
    SetHint(btShow_Picture_Brows_, Translate(QStringLiteral("Pictures")) + QStringLiteral(".."));
}

void TframPictures::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

void TframPictures::LoadPictures(const QString& personId) {
    personId_ = personId.trimmed();
    current_ = TPPicture();
    hidden_ = false;
    imgPicture_->Clear();
    ShowPath(QString());
    if (!personId_.isEmpty()) {
        TPersonOption option;
        ReadPersonOption(personId_, option);
        hidden_ = option.hide_picture;
        if (PersonHasPictures(personId_) && !hidden_) {
            current_.person_id = personId_;
            ReadPicture(current_);
        }
    }
    ShowPath(current_.file_path);
    ShowTexts();
    ShowCurrent();
    FillStrip();
    setEnabled(!personId_.isEmpty());
}

void TframPictures::FillStrip() {
    TPPictureList pictures;
    if (!personId_.isEmpty())
        ListPictures(personId_, pictures);
    gImageStrip_->SetPictures(pictures);
    gImageStrip_->SelectPicture(current_.picture_id);
    UpdateButtons();
}

void TframPictures::UpdateButtons() {
    btClearPicture_->setEnabled(!current_.picture_id.isEmpty());
    btShow_Picture_Brows_->setEnabled(!personId_.isEmpty());
    btPastePicture_->setEnabled(!personId_.isEmpty() &&
                                CarriesPictures(QGuiApplication::clipboard()->mimeData()));
}

void TframPictures::ShowCurrent() {
    if (hidden_ || current_.picture_id.isEmpty()) {
        // A person with pictures none of which can be shown gets the silhouette.
        imgPicture_->Clear(!hidden_ && PersonHasPictures(personId_));
        return;
    }
    if (current_.Image.isNull())
        imgPicture_->Clear(true);
    else
        imgPicture_->SetImage(current_.Image);
}

QImage TframPictures::ShownImage() const {
    return hidden_ ? QImage() : current_.Image;
}

void TframPictures::ShowTexts() {
    filling_ = true;
    shownTexts_ = PictureTextsOf(current_);
    txtPicDescription_->setText(shownTexts_.Description);
    txtPicDate_->setText(shownTexts_.Date);
    txtPicNotes_->setPlainText(shownTexts_.Notes);
    const bool editable = !current_.picture_id.isEmpty();
    for (QWidget* box : {static_cast<QWidget*>(txtPicDescription_), static_cast<QWidget*>(txtPicDate_),
                         static_cast<QWidget*>(txtPicNotes_)})
        box->setEnabled(editable);
    filling_ = false;
}

void TframPictures::ShowPath(const QString& storedPath) {
    const TPicturePath path = PicturePathOf(storedPath);
    lbl_Picture_Path_->setText(path.Text);
    QPalette colours = palette();
    if (path.Place == TPicturePlace::MissingPhotos)
        colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    else if (path.Place == TPicturePlace::PhotosPath)
        colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lbl_Picture_Path_->setPalette(colours);
    lbl_Picture_Path_->setProperty("place", static_cast<int>(path.Place));
}

bool TframPictures::TextsChanged() const {
    if (current_.picture_id.isEmpty())
        return false;
    const TPictureTexts typed{txtPicDescription_->text(), txtPicDate_->text(), txtPicNotes_->toPlainText()};
    return typed != shownTexts_;
}

bool TframPictures::SavePictureTexts() {
    if (!TextsChanged())
        return true;
    const TPictureTexts typed{txtPicDescription_->text(), txtPicDate_->text(), txtPicNotes_->toPlainText()};
    UndoStep step(StepText("Edit the picture of «%*»", {personId_}), personId_);
    if (!::verdan::SavePictureTexts(current_, typed))
        return false;
    shownTexts_ = typed;
    return true;
}

void TframPictures::ChoosePicture(const QString& pictureId) {
    if (personId_.isEmpty() || pictureId.isEmpty())
        return;
    SavePictureTexts();
    TPPicture chosen;
    chosen.picture_id = pictureId;
    if (!ReadPicture(chosen))
        return;
    {
        UndoStep step(StepText("Choose the picture of «%*»", {personId_}), personId_);
        SetDefaultPicture(chosen);
    }
    chosen.pic_default = true;
    current_ = chosen;
    ShowPath(chosen.file_path);
    ShowTexts();
    ShowCurrent();
    gImageStrip_->SelectPicture(pictureId);
    btClearPicture_->setEnabled(true);
    emit DefaultPictureChanged(personId_);
}

void TframPictures::btOpenPictureFileClick() {
    if (!personId_.isEmpty())
        AddPictures(ChoosePictureFiles());
}

void TframPictures::AddPictures(const QStringList& files) {
    if (personId_.isEmpty() || files.isEmpty())
        return;
    SavePictureTexts();
    ShowAdded(AddPicturesToPerson(personId_, files));
}

void TframPictures::PastePictures() {
    if (personId_.isEmpty())
        return;
    SavePictureTexts();
    ShowAdded(AddPicturesFrom(personId_, QGuiApplication::clipboard()->mimeData()));
}

void TframPictures::ShowAdded(const QString& pictureId) {
    TPPicture added;
    added.picture_id = pictureId;
    if (pictureId.isEmpty() || !ReadPicture(added))
        return;
    current_ = added;
    ShowPath(added.file_path);
    ShowTexts();
    ShowCurrent();
    FillStrip();
    emit DefaultPictureChanged(personId_);
}

void TframPictures::btClearPictureClick() {
    if (personId_.isEmpty() || current_.picture_id.isEmpty())
        return;
    // Only an explicit Yes removes; closing the question keeps the picture.
    if (MsgYesNo(Translate(QStringLiteral("Remove this picture?")) + u'|' +
                     Translate(QStringLiteral("Please confirm")),
                 Translate(QStringLiteral("Confirm")), IDNO) != IDYES)
        return;
    // The row goes; the file stays where it is.
    {
        UndoStep step(StepText("Remove the picture of «%*»", {personId_}), personId_);
        if (!DeletePictureRow(current_))
            return;
    }
    current_ = TPPicture();
    ShowTexts();
    ShowPath(QString());
    imgPicture_->Clear(true);
    FillStrip();
    emit DefaultPictureChanged(personId_);
}

} // namespace verdan
