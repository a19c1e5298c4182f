#include "details_frame.h"

#include "account_dialog.h"
#include "reports/ui/zel_grid.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kAccountCol = 1;
constexpr int kAddressCol = 2;

void Show(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

QWidget* NewPage(QTabWidget* pages, const char* name) {
    auto* page = new QWidget(pages);
    page->setObjectName(QString::fromLatin1(name));
    pages->addTab(page, QString());
    return page;
}

} // namespace

Tfram_Details::Tfram_Details(QWidget* parent)
    : QWidget(parent), OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("fram_Details"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kRowSpacing, kWindowMargin, kRowSpacing);
    PageControl1_ = new QTabWidget(this);
    PageControl1_->setObjectName(QStringLiteral("PageControl1"));
    PageControl1_->setDocumentMode(true);
    outer->addWidget(PageControl1_);

    tab_Basic_ = NewPage(PageControl1_, "tab_Basic");
    auto* basic = new TFormGrid(tab_Basic_);
    txt_Identity_No_ = AddBox(tab_Basic_, basic, "txt_Identity_No", "Identity No", true);
    txt_Phone_Cell_ = AddBox(tab_Basic_, basic, "txt_Phone_Cell", "Cell Phone", true);
    txt_Phone_Home_ = AddBox(tab_Basic_, basic, "txt_Phone_Home", "Home Phone", true);
    txt_EMail_ = AddBox(tab_Basic_, basic, "txt_EMail", "Email", true);
    txt_EMail_->installEventFilter(this);
    basic->setRowStretch(basic->rowCount(), 1);

    tab_Address_ = NewPage(PageControl1_, "tab_Address");
    home_ = AddAddressPage(tab_Address_, "", false);
    tab_Address_Work_ = NewPage(PageControl1_, "tab_Address_Work");
    work_ = AddAddressPage(tab_Address_Work_, "_Work", true);

    tab_Net_Accounts_ = NewPage(PageControl1_, "tab_Net_Accounts");
    auto* accounts = new QVBoxLayout(tab_Net_Accounts_);
    accounts->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    accounts->setSpacing(kRowSpacing);
    lbl_Accounts_ = new QLabel(tab_Net_Accounts_);
    lbl_Accounts_->setObjectName(QStringLiteral("lbl_Accounts"));
    g_ = new TZelGrid(tab_Net_Accounts_);
    g_->setObjectName(QStringLiteral("g"));
    g_->setSelectionMode(QAbstractItemView::SingleSelection);
    g_->setSelectionBehavior(QAbstractItemView::SelectRows);
    g_->setMinimumHeight(110);
    g_->viewport()->installEventFilter(this);
    g_->viewport()->setMouseTracking(true);
    g_->CellView = [](int col, int, QString&, int&, Qt::LayoutDirection& direction) {
        if (col == kAddressCol)
            direction = Qt::LeftToRight;
    };
    lbl_Accounts_->setBuddy(g_);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    bt_Add_ = NewSectionButton(tab_Net_Accounts_, u"list-add", "bt_Add");
    bt_Edit_ = NewSectionButton(tab_Net_Accounts_, u"document-edit", "bt_Edit");
    bt_Delete_ = NewSectionButton(tab_Net_Accounts_, u"list-remove", "bt_Delete");
    bt_Open_ = NewSectionButton(tab_Net_Accounts_, u"web-browser", "bt_Open");
    for (QToolButton* button : {bt_Add_, bt_Edit_, bt_Delete_, bt_Open_})
        buttons->addWidget(button);
    buttons->addStretch();
    accounts->addWidget(lbl_Accounts_);
    accounts->addWidget(g_, 1);
    accounts->addLayout(buttons);

    accountDialog_ = new Tfrm_Account_Add(this);
    auto slot = [this](QToolButton* button, std::function<void()> command) {
        connect(button, &QToolButton::clicked, this, [command] { RunSafely(command); });
    };
    slot(bt_Add_, [this] { bt_AddClick(); });
    slot(bt_Edit_, [this] { bt_EditClick(); });
    slot(bt_Delete_, [this] { bt_DeleteClick(); });
    slot(bt_Open_, [this] {
        if (g_->Row() >= 1)
            OpenAccount(g_->Cells(kAddressCol, g_->Row()));
    });
    slot(home_.map, [this] { ShowInMap(home_.location->text()); });
    slot(work_.map, [this] { ShowInMap(work_.location->text()); });
    connect(g_, &QAbstractItemView::doubleClicked, this, [this] { RunSafely([this] { bt_EditClick(); }); });
    TranslateTexts();
    LoadDetails(QString());
}

QLineEdit* Tfram_Details::AddBox(QWidget* page, TFormGrid* form, const char* name, const char* caption,
                                 bool leftToRight, const QList<QWidget*>& extras) {
    auto* label = new QLabel(page);
    auto* box = new QLineEdit(page);
    box->setObjectName(QString::fromLatin1(name));
    // Numbers, e-mail addresses and coordinates read left to right in every language.
    if (leftToRight)
        box->setLayoutDirection(Qt::LeftToRight);
    label->setBuddy(box);
    form->AddRow(label, box, extras);
    labels_.append({label, caption});
    connect(box, &QLineEdit::textChanged, this, &Tfram_Details::MarkChanged);
    return box;
}

Tfram_Details::AddressBoxes Tfram_Details::AddAddressPage(QWidget* page, const char* suffix, bool withName) {
    auto* form = new TFormGrid(page);
    // Each name is copied before its temporary ends.
    auto name = [suffix](const char* base) {
        return QByteArray(base) + suffix;
    };
    AddressBoxes boxes;
    if (withName)
        boxes.name = AddBox(page, form, "txt_Work", "Working Body");
    boxes.street_1 = AddBox(page, form, name("txt_Street_1").constData(), "Street 1");
    boxes.street_2 = AddBox(page, form, name("txt_Street_2").constData(), "Street 2");
    boxes.neighborhood = AddBox(page, form, name("txt_Neighborhood").constData(), "Neighborhood");
    boxes.city = AddBox(page, form, name("txt_City").constData(), "City");
    boxes.state = AddBox(page, form, name("txt_State").constData(), "State");
    boxes.country = AddBox(page, form, name("txt_Country").constData(), "Country");
    boxes.postal_code = AddBox(page, form, name("txt_Postal_Code").constData(), "Postal Code", true);
    boxes.map = NewSectionButton(page, u"find-location", withName ? "bt_Show_In_Map_Work" : "bt_Show_In_Map");
    boxes.location =
        AddBox(page, form, name("txt_Location").constData(), "Location Coordinates", true, {boxes.map});
    boxes.location->setPlaceholderText(QStringLiteral("xx.xxxxx , xx.xxxxx"));
    form->setRowStretch(form->rowCount(), 1);
    return boxes;
}

void Tfram_Details::TranslateTexts() {
    PageControl1_->setTabText(0, Translate(QStringLiteral("Contact Info")));
    PageControl1_->setTabText(1, Translate(QStringLiteral("Address")));
    PageControl1_->setTabText(2, Translate(QStringLiteral("Work Address")));
    PageControl1_->setTabText(3, Translate(QStringLiteral("Net Accounts")));
    for (const auto& [label, caption] : std::as_const(labels_))
        label->setText(Translate(QString::fromLatin1(caption)) + u':');
    lbl_Accounts_->setText(u' ' + Translate(QStringLiteral("Accounts")) + u' ');
    SetHint(bt_Add_, Translate(QStringLiteral("Add")) + QStringLiteral(".."));
    SetHint(bt_Edit_, Translate(QStringLiteral("Edit")) + QStringLiteral(".."));
    SetHint(bt_Delete_, Translate(QStringLiteral("Delete")) + QStringLiteral(".."));
    SetHint(bt_Open_, Translate(QStringLiteral("Open the address (Ctrl+click)")));
    SetHint(home_.map, Translate(QStringLiteral("Show location in map.")));
    SetHint(work_.map, Translate(QStringLiteral("Show location in map.")));
    g_->SetCells(kAccountCol, 0, Translate(QStringLiteral("Account")));
    g_->SetCells(kAddressCol, 0, Translate(QStringLiteral("Address")));
    accountDialog_->TranslateTexts();
}

void Tfram_Details::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------------------
// Loading and saving

void Tfram_Details::LoadDetails(const QString& personId) {
    filling_ = true;
    const TPerson_Details details = StartDetailsEdits(edits_, personId.trimmed());
    Show(txt_Identity_No_, details.identity_no);
    Show(txt_Phone_Cell_, details.cell_phone);
    Show(txt_Phone_Home_, details.home_phone);
    Show(txt_EMail_, details.email);
    MarkCheckedBox(txt_EMail_, details.email.isEmpty() || IsWellFormedEmail(details.email));
    txt_EMail_->setPalette(palette());
    ShowAddress(home_, details.Address);
    ShowAddress(work_, details.WorkAddress);
    FillAccounts(details.NetAccounts);
    setEnabled(!edits_.PersonId().isEmpty());
    filling_ = false;
}

void Tfram_Details::ShowAddress(const AddressBoxes& boxes, const TMail_Address& address) {
    if (boxes.name)
        Show(boxes.name, address.name);
    Show(boxes.street_1, address.street_1);
    Show(boxes.street_2, address.street_2);
    Show(boxes.neighborhood, address.neighborhood);
    Show(boxes.city, address.city);
    Show(boxes.state, address.state);
    Show(boxes.country, address.country);
    Show(boxes.postal_code, address.postal_code);
    Show(boxes.location, address.location.trimmed());
}

TMail_Address Tfram_Details::AddressOf(const AddressBoxes& boxes) const {
    TMail_Address address;
    if (boxes.name)
        address.name = boxes.name->text();
    address.street_1 = boxes.street_1->text();
    address.street_2 = boxes.street_2->text();
    address.neighborhood = boxes.neighborhood->text();
    address.city = boxes.city->text();
    address.state = boxes.state->text();
    address.country = boxes.country->text();
    address.postal_code = boxes.postal_code->text();
    address.location = boxes.location->text().trimmed();
    return address;
}

void Tfram_Details::FillAccounts(const TItem_Value_List& accounts) {
    g_->ClearAll();
    g_->SetColCount(3);
    g_->SetRowCount(static_cast<int>(std::max<qsizetype>(accounts.size(), 1)) + 1);
    g_->SetColWidths({24, 140, 260});
    g_->SetAutoRowNumber(true);
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        g_->SetCells(kAccountCol, static_cast<int>(i) + 1, accounts[i].Name);
        g_->SetCells(kAddressCol, static_cast<int>(i) + 1, accounts[i].Value);
    }
    g_->SetCells(kAccountCol, 0, Translate(QStringLiteral("Account")));
    g_->SetCells(kAddressCol, 0, Translate(QStringLiteral("Address")));
    g_->SetCurrentCell(kAccountCol, 1);
}

TItem_Value_List Tfram_Details::Accounts() const {
    TItem_Value_List accounts;
    for (int row = 1; row < g_->RowCount(); ++row) {
        const TItem_Value item{g_->Cells(kAccountCol, row), g_->Cells(kAddressCol, row)};
        // The one empty row of an empty grid is no account.
        if (g_->RowCount() > 2 || !item.Name.isEmpty() || !item.Value.isEmpty())
            accounts.append(item);
    }
    return accounts;
}

TPerson_Details Tfram_Details::Boxes() const {
    TPerson_Details details;
    details.person_Id = edits_.PersonId();
    details.identity_no = txt_Identity_No_->text();
    details.cell_phone = txt_Phone_Cell_->text();
    details.home_phone = txt_Phone_Home_->text();
    details.email = txt_EMail_->text();
    details.Address = AddressOf(home_);
    details.WorkAddress = AddressOf(work_);
    details.NetAccounts = Accounts();
    return details;
}

TSaveResult Tfram_Details::SaveDetails() {
    const QString person = edits_.PersonId();
    const TSaveResult result = SaveDetailsEdits(edits_, Boxes());
    if (result == TSaveResult::Written)
        emit DetailsSaved(person);
    return result;
}

void Tfram_Details::MarkChanged() {
    if (filling_)
        return;
    edits_.MarkChanged();
    emit Edited();
}

// ---------------------------------------------------------------------------------------------------------
// Commands

void Tfram_Details::CheckEmail() {
    MarkCheckedBox(txt_EMail_, IsWellFormedEmail(txt_EMail_->text()));
}

void Tfram_Details::ShowInMap(const QString& location) {
    const QUrl url = MapSearchUrl(location);
    if (url.isValid())
        OpenUrl(url);
}

void Tfram_Details::OpenAccount(const QString& address) {
    if (address.trimmed().isEmpty())
        return;
    const QUrl url = AccountUrl(address);
    if (!url.isValid()) {
        MsgWarning(Translate(QStringLiteral("Only web and e-mail addresses are opened.")) + u'|' + address);
        return;
    }
    OpenUrl(url);
}

void Tfram_Details::bt_AddClick() {
    if (edits_.PersonId().isEmpty() || !accountDialog_->Edit(QString(), QString()))
        return;
    int row = 1;
    if (!g_->Cells(kAccountCol, 1).isEmpty() || !g_->Cells(kAddressCol, 1).isEmpty() || g_->RowCount() > 2) {
        row = g_->RowCount();
        g_->SetRowCount(row + 1);
    }
    g_->SetCells(kAccountCol, row, accountDialog_->Account());
    g_->SetCells(kAddressCol, row, accountDialog_->Address());
    g_->SetCurrentCell(kAccountCol, row);
    MarkChanged();
}

void Tfram_Details::bt_EditClick() {
    const int row = g_->Row();
    if (edits_.PersonId().isEmpty() || row < 1)
        return;
    if (!accountDialog_->Edit(g_->Cells(kAccountCol, row), g_->Cells(kAddressCol, row)))
        return;
    g_->SetCells(kAccountCol, row, accountDialog_->Account());
    g_->SetCells(kAddressCol, row, accountDialog_->Address());
    MarkChanged();
}

void Tfram_Details::bt_DeleteClick() {
    const int row = g_->Row();
    if (edits_.PersonId().isEmpty() || row < 1 ||
        (g_->Cells(kAccountCol, row).isEmpty() && g_->Cells(kAddressCol, row).isEmpty()))
        return;
    if (MsgWarnYesNo(Translate(QStringLiteral("Delete this account?")) + u'|' + g_->Cells(kAccountCol, row),
                     Translate(QStringLiteral("Delete account")), true, IDNO) != IDYES)
        return;
    g_->DeleteRow(row);
    MarkChanged();
}

bool Tfram_Details::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    RunSafely([&] {
        const auto type = event->type();
        if (watched == txt_EMail_ && (type == QEvent::FocusOut || type == QEvent::MouseButtonDblClick)) {
            CheckEmail();
        } else if (watched == g_->viewport() &&
                   (type == QEvent::MouseButtonPress || type == QEvent::MouseMove)) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = g_->indexAt(mouse->position().toPoint());
            const int row = index.row() + 1;
            const bool overAddress = index.isValid() && index.column() + 1 == kAddressCol &&
                                     !g_->Cells(kAddressCol, row).trimmed().isEmpty();
            const bool ctrl = mouse->modifiers() & Qt::ControlModifier;
            if (type == QEvent::MouseMove) {
                if (ctrl && overAddress)
                    g_->viewport()->setCursor(Qt::PointingHandCursor);
                else
                    g_->viewport()->unsetCursor();
            } else if (ctrl && overAddress && mouse->button() == Qt::LeftButton) {
                g_->SetCurrentCell(kAddressCol, row);
                OpenAccount(g_->Cells(kAddressCol, row));
                handled = true;
            }
        }
    });
    return handled || QWidget::eventFilter(watched, event);
}

} // namespace verdan
