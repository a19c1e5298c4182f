#include "image_browser.h"

#include "datasheet/sheet_pictures.h"
#include "picture_adding.h"
#include "picture_strip.h"
#include "picture_view.h"
#include "reports/ui/zel_grid.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "storage/person_names.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/person_follow.h"

#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

TfrmImageBrows::TfrmImageBrows(QWidget* parent)
    : QWidget(parent, Qt::Window), ChooseSaveFile([](const QString& proposed) {
          return SaveFileDialog(proposed, FileFilter(QStringLiteral("JPEG"), QStringLiteral("*.jpg *.jpeg")) +
                                              QStringLiteral(";;") +
                                              FileFilter(QStringLiteral("PNG"), QStringLiteral("*.png")) +
                                              QStringLiteral(";;") +
                                              FileFilter(QStringLiteral("BMP"), QStringLiteral("*.bmp")));
      }),
      ChoosePictureFiles(&::verdan::ChoosePictureFiles) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmImageBrows"));
    resize(1000, 680);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kRowSpacing);
    outer->setSpacing(kRowSpacing);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    outer->addWidget(splitter_, 1);

    auto* persons = new QWidget(splitter_);
    auto* personColumn = new QVBoxLayout(persons);
    personColumn->setContentsMargins(0, 0, 0, 0);
    personColumn->setSpacing(kRowSpacing);
    g_ = new TZelGrid(persons);
    g_->setObjectName(QStringLiteral("g"));
    g_->setSelectionMode(QAbstractItemView::SingleSelection);
    g_->setSelectionBehavior(QAbstractItemView::SelectRows);
    g_->SetDefaultRowHeight(20);
    // A long name is cut at its own end, whatever the direction of the window.
    g_->CellView = [](int col, int, QString& text, int&, Qt::LayoutDirection& direction) {
        if (col == kNameCol)
            direction = HasArabicLetters(text) ? Qt::RightToLeft : Qt::LeftToRight;
    };
    Button1_ = NewSectionButton(persons, u"view-refresh", "Button1");
    personColumn->addWidget(g_, 1);
    personColumn->addWidget(Button1_, 0, Qt::AlignLeading);
    splitter_->addWidget(persons);

    auto* pictures = new QWidget(splitter_);
    auto* pictureColumn = new QVBoxLayout(pictures);
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    pictureColumn->setSpacing(kRowSpacing);
    lblPerson_ = new QLabel(pictures);
    lblPerson_->setObjectName(QStringLiteral("lblPerson"));
    lblPerson_->setWordWrap(true);
    QFont bold = lblPerson_->font();
    bold.setBold(true);
    lblPerson_->setFont(bold);
    KeepReadingAlignment(lblPerson_);
    imgPicture_ = new TPictureView(pictures);
    imgPicture_->setObjectName(QStringLiteral("imgPicture"));
    imgPicture_->SetWheelZooms(true);
    imgPicture_->setBackgroundRole(QPalette::Dark);
    strip_ = new TPictureStrip(true, pictures);
    strip_->setObjectName(QStringLiteral("strip"));
    strip_->SetCellColour(Qt::black);
    strip_->setFixedHeight(2 * TPictureStrip::kCellHeight + 6);
    TakePictureDrops(
        strip_->viewport(), [this] { return !personId_.isEmpty(); },
        [this](const QStringList& files) { RunSafely([this, files] { AddFiles(files); }); });
    auto* texts = new QWidget(pictures);
    auto* form = new TFormGrid(texts);
    form->setContentsMargins(0, 0, 0, 0);
    lblDescription_ = new QLabel(texts);
    lblDate_ = new QLabel(texts);
    lblNotes_ = new QLabel(texts);
    txtDescription_ = new QLineEdit(texts);
    txtDate_ = new QLineEdit(texts);
    txtDate_->setLayoutDirection(Qt::LeftToRight);
    txtNotes_ = new QPlainTextEdit(texts);
    txtNotes_->setMaximumHeight(60);
    for (QWidget* box : {static_cast<QWidget*>(txtDescription_), static_cast<QWidget*>(txtDate_)})
        static_cast<QLineEdit*>(box)->setReadOnly(true);
    txtNotes_->setReadOnly(true);
    form->AddRow(lblDescription_, txtDescription_);
    form->AddRow(lblDate_, txtDate_);
    form->AddRow(lblNotes_, txtNotes_);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    bt_Save_Image_ = new QPushButton(Icon(u"document-save"), QString(), pictures);
    bt_Save_Image_->setObjectName(QStringLiteral("bt_Save_Image"));
    bt_Copy_Image_ = new QPushButton(Icon(u"edit-copy"), QString(), pictures);
    bt_Copy_Image_->setObjectName(QStringLiteral("bt_Copy_Image"));
    bt_Delete_Image_ = new QPushButton(Icon(u"edit-delete"), QString(), pictures);
    bt_Delete_Image_->setObjectName(QStringLiteral("bt_Delete_Image"));
    bt_Add_Image_ = new QPushButton(Icon(u"insert-image"), QString(), pictures);
    bt_Add_Image_->setObjectName(QStringLiteral("bt_Add_Image"));
    bt_Paste_Image_ = new QPushButton(Icon(u"edit-paste"), QString(), pictures);
    bt_Paste_Image_->setObjectName(QStringLiteral("bt_Paste_Image"));
    buttons->addWidget(bt_Add_Image_);
    buttons->addWidget(bt_Paste_Image_);
    buttons->addStretch();
    for (QPushButton* button : {bt_Save_Image_, bt_Copy_Image_, bt_Delete_Image_})
        buttons->addWidget(button);
    pictureColumn->addWidget(lblPerson_);
    pictureColumn->addWidget(imgPicture_, 1);
    pictureColumn->addWidget(strip_);
    pictureColumn->addWidget(texts);
    pictureColumn->addLayout(buttons);
    splitter_->addWidget(pictures);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({300, 700});

    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setLayoutDirection(Qt::LeftToRight);
    lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(lblStatus_);

    FollowPersonView(g_, [this](const QModelIndex& index) { return g_->Cells(kIdCol, index.row() + 1); });
    connect(g_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // The empty row of an empty list names nobody: the person chosen stays.
                const QString id = current.isValid() ? g_->Cells(kIdCol, current.row() + 1) : QString();
                if (!filling_ && !id.isEmpty() && id != personId_)
                    RunSafely([this, id] { ChoosePerson(id); });
            });
    connect(g_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const QString id = g_->Cells(kIdCol, index.row() + 1);
        if (!id.isEmpty())
            emit LocatePersonRequested(id);
    });
    connect(strip_, &TPictureStrip::PictureChosen, this,
            [this](const QString& id) { RunSafely([this, id] { ShowPicture(id); }); });
    connect(imgPicture_, &TPictureView::DoubleClicked, this, [this] {
        const QString person = GetPicturePerson(pictureId_);
        if (person.isEmpty())
            return;
        emit LocatePersonRequested(person);
        ChoosePerson(person);
    });
    connect(Button1_, &QToolButton::clicked, this, [this] { RunSafely([this] { FillPersons(); }); });
    connect(bt_Save_Image_, &QPushButton::clicked, this,
            [this] { RunSafely([this] { bt_Save_ImageClick(); }); });
    connect(bt_Copy_Image_, &QPushButton::clicked, this,
            [this] { RunSafely([this] { bt_Copy_ImageClick(); }); });
    connect(bt_Delete_Image_, &QPushButton::clicked, this,
            [this] { RunSafely([this] { bt_Delete_ImageClick(); }); });
    connect(bt_Add_Image_, &QPushButton::clicked, this,
            [this] { RunSafely([this] { bt_Add_ImageClick(); }); });
    connect(bt_Paste_Image_, &QPushButton::clicked, this, [this] { RunSafely([this] { PastePictures(); }); });
    // Ctrl+V pastes pictures anywhere in the window; the boxes are read-only, so they have nothing to take.
    auto* paste = new QShortcut(QKeySequence::Paste, this);
    paste->setContext(Qt::WindowShortcut);
    connect(paste, &QShortcut::activated, this, [this] { RunSafely([this] { PastePictures(); }); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TfrmImageBrows::UpdateAddButtons);
    TranslateTexts();
}

void TfrmImageBrows::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Pictures")));
    lblDescription_->setText(Translate(QStringLiteral("Description")) + u':');
    lblDate_->setText(Translate(QStringLiteral("Date")) + u':');
    lblNotes_->setText(Translate(QStringLiteral("Notes")) + u':');
    bt_Save_Image_->setText(Translate(QStringLiteral("&Save")));
    bt_Copy_Image_->setText(Translate(QStringLiteral("Copy")));
    bt_Delete_Image_->setText(Translate(QStringLiteral("Delete")));
    bt_Add_Image_->setText(Translate(QStringLiteral("Add")) + QStringLiteral(".."));
    bt_Paste_Image_->setText(Translate(QStringLiteral("Paste")));
    SetHint(bt_Add_Image_, Translate(QStringLiteral("Add picture files to the person")));
    SetHint(bt_Paste_Image_, Translate(QStringLiteral("Paste a copied picture or copied picture files")) +
                                 QStringLiteral(" (") +
                                 QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText) + u')');
    SetHint(Button1_, Translate(QStringLiteral("Refresh the list")));
    strip_->setToolTip(Translate(QStringLiteral("Drop picture files here to add them to the person.")));
    UpdateAddButtons();
    g_->SetCells(kNameCol, 0, Translate(QStringLiteral("Name")));
}

void TfrmImageBrows::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

void TfrmImageBrows::ShowFor(const QString& personId) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        if (width() > area.width() || height() > area.height())
            setGeometry(area.adjusted(50, 50, -50, -50));
    }
    show();
    raise();
    activateWindow();
    FillPersons();
    const QString wanted = personId.trimmed().isEmpty() ? g_->Cells(kIdCol, 1) : personId.trimmed();
    ChoosePerson(wanted);
}

void TfrmImageBrows::FillPersons() {
    TBusyCursor busy;
    filling_ = true;
    TPersonNameList persons;
    ListPersonsWithPictures(persons);
    QList<QStringList> rows;
    rows.append({QString(), Translate(QStringLiteral("Name")), QString()});
    for (const TPersonNameEntry& person : std::as_const(persons))
        rows.append({QString(), person.Name, person.Person_Id});
    g_->Model().ReplaceCells(rows);
    g_->SetColCount(3);
    g_->SetColWidths({30, 240, 0});
    g_->SetAutoRowNumber(true);
    const int row = PersonRow(personId_);
    if (row >= 1)
        g_->SetCurrentCell(kNameCol, row);
    filling_ = false;
}

int TfrmImageBrows::PersonRow(const QString& personId) const {
    if (personId.isEmpty())
        return -1;
    for (int row = 1; row < g_->RowCount(); ++row)
        if (g_->Cells(kIdCol, row).compare(personId, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

void TfrmImageBrows::ChoosePerson(const QString& personId) {
    personId_ = personId.trimmed();
    const int row = PersonRow(personId_);
    if (row >= 1 && g_->Row() != row) {
        filling_ = true;
        g_->SetCurrentCell(kNameCol, row);
        filling_ = false;
    }
    FillStrip();
    const TPPictureList& pictures = strip_->Pictures();
    ShowPicture(pictures.isEmpty() ? QString() : pictures.first().picture_id);
}

void TfrmImageBrows::ShowPersonLine() {
    // Whose pictures these are, and what to do while there are none.
    QString text = personId_.isEmpty() ? QString() : Isolate(GetLineageName(personId_));
    if (!personId_.isEmpty() && strip_->Count() == 0)
        text += QStringLiteral("  —  ") +
                Translate(QStringLiteral("No pictures yet: add picture files, paste a picture, or drop files "
                                         "on the strip."));
    lblPerson_->setText(text);
}

void TfrmImageBrows::FillStrip() {
    TPPictureList pictures;
    if (!personId_.isEmpty())
        ListPictures(personId_, pictures);
    strip_->SetPictures(pictures);
    ShowPersonLine();
    UpdateAddButtons();
}

void TfrmImageBrows::UpdateAddButtons() {
    bt_Add_Image_->setEnabled(!personId_.isEmpty());
    bt_Paste_Image_->setEnabled(!personId_.isEmpty() &&
                                CarriesPictures(QGuiApplication::clipboard()->mimeData()));
}

void TfrmImageBrows::ShowPicture(const QString& pictureId) {
    pictureId_.clear();
    txtDescription_->clear();
    txtDate_->clear();
    txtNotes_->clear();
    lblStatus_->clear();
    TPPicture picture;
    picture.picture_id = pictureId;
    if (pictureId.isEmpty() || !ReadPicture(picture)) {
        imgPicture_->Clear();
    } else {
        pictureId_ = picture.picture_id;
        if (picture.Image.isNull())
            imgPicture_->Clear(true);
        else
            imgPicture_->SetImage(picture.Image);
        const TPictureTexts texts = PictureTextsOf(picture);
        txtDescription_->setText(texts.Description);
        txtDate_->setText(texts.Date);
        txtNotes_->setPlainText(texts.Notes);
        lblStatus_->setText(QDir::toNativeSeparators(picture.file_path));
        strip_->SelectPicture(pictureId_);
    }
    const bool shown = imgPicture_->HasImage();
    bt_Save_Image_->setEnabled(shown);
    bt_Copy_Image_->setEnabled(shown);
    bt_Delete_Image_->setEnabled(!pictureId_.isEmpty());
}

int TfrmImageBrows::AddFiles(const QStringList& files) {
    if (personId_.isEmpty() || files.isEmpty())
        return 0;
    const int before = strip_->Count();
    ShowAdded(AddPicturesToPerson(personId_, files));
    return strip_->Count() - before;
}

void TfrmImageBrows::bt_Add_ImageClick() {
    if (!personId_.isEmpty())
        AddFiles(ChoosePictureFiles());
}

void TfrmImageBrows::PastePictures() {
    if (!personId_.isEmpty())
        ShowAdded(AddPicturesFrom(personId_, QGuiApplication::clipboard()->mimeData()));
}

void TfrmImageBrows::ShowAdded(const QString& pictureId) {
    if (pictureId.isEmpty())
        return;
    // A person's first picture puts him on the list.
    FillPersons();
    FillStrip();
    ShowPicture(pictureId);
    emit PicturesChanged(personId_);
}

void TfrmImageBrows::bt_Save_ImageClick() {
    if (!imgPicture_->HasImage())
        return;
    const QString name = g_->Row() >= 1 ? g_->Cells(kNameCol, g_->Row()) : QString();
    const QString file = ChooseSaveFile(ProposedImageFileName(name));
    if (file.isEmpty())
        return;
    switch (SaveImageFile(imgPicture_->Image(), file)) {
    case TSaveImageResult::Written:
        lblStatus_->setText(IsolatePath(file));
        return;
    case TSaveImageResult::UnsupportedEnding:
        MsgError(Translate(QStringLiteral("Pictures cannot be saved in this format. Choose a name ending in "
                                          ".jpg, .png or .bmp.")) +
                 u'|' + IsolatePath(file));
        return;
    case TSaveImageResult::Failed:
        MsgError(Translate(QStringLiteral("The picture could not be saved.")) + u'|' + IsolatePath(file));
        return;
    }
}

void TfrmImageBrows::bt_Copy_ImageClick() {
    if (imgPicture_->HasImage())
        QGuiApplication::clipboard()->setImage(imgPicture_->Image());
}

void TfrmImageBrows::bt_Delete_ImageClick() {
    if (pictureId_.isEmpty())
        return;
    // Only an explicit OK removes; the file stays where it is.
    if (MsgOkCancel(Translate(QStringLiteral("Remove picture")), Translate(QStringLiteral("Confirm")),
                    IDCANCEL) != IDOK)
        return;
    {
        UndoStep step(StepText("Remove the picture of «%*»", {personId_}), personId_);
        if (!DeletePicture(pictureId_))
            return;
    }
    const QString person = personId_;
    FillPersons();
    FillStrip();
    const TPPictureList& pictures = strip_->Pictures();
    ShowPicture(pictures.isEmpty() ? QString() : pictures.first().picture_id);
    emit PicturesChanged(person);
}

} // namespace verdan
