#include "datasheet/ui/account_dialog.h"
#include "datasheet/ui/data_sheet.h"
#include "datasheet/ui/details_frame.h"
#include "reports/ui/zel_grid.h"
#include "sheet_fixture.h"
#include "text/user_options.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

namespace verdan::test {
namespace {

class DetailsFrameTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        Put("{A}", "-1", "0", "Ahmad");
        Put("{B}", "-1", "0", "Badr");
        frame_ = std::make_unique<Tfram_Details>();
        frame_->OpenUrl = [this](const QUrl& url) {
            opened_ << url.toString();
            return true;
        };
        frame_->show();
    }
    void TearDown() override {
        frame_.reset();
        SheetTest::TearDown();
    }
    QLineEdit* Box(const char* name) const {
        return frame_->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    TZelGrid* Grid() const { return frame_->AccountsGrid(); }
    // Fills the account dialog once it is up and presses OK.
    void AnswerAccount(const QString& kind, const QString& address = QString(), bool typeAddress = false) {
        WithDialog<Tfrm_Account_Add>([kind, address, typeAddress](Tfrm_Account_Add* dialog) {
            const int index = dialog->AccountBox()->findData(kind);
            if (index >= 0) {
                dialog->AccountBox()->setCurrentIndex(index);
                emit dialog->AccountBox()->activated(index);
            } else {
                dialog->AccountBox()->setEditText(kind);
            }
            if (typeAddress)
                dialog->AddressBox()->setText(address);
            dialog->accept();
        });
    }

    std::unique_ptr<Tfram_Details> frame_;
    QStringList opened_;
};

TEST_F(DetailsFrameTest, APersonWithoutDetailsGetsARowWhenOneBoxIsTyped) {
    frame_->LoadDetails("{A}");
    EXPECT_TRUE(Box("txt_Phone_Cell")->text().isEmpty());
    EXPECT_FALSE(frame_->DetailsChanged());
    Type(Box("txt_Phone_Home"), QStringLiteral(u"٠١١ ٤٥٦ ٧٨٩٠"));
    Type(Box("txt_City"), QStringLiteral(u"جدة"));
    EXPECT_TRUE(frame_->DetailsChanged());
    EXPECT_EQ(frame_->SaveDetails(), TSaveResult::Written);
    frame_->LoadDetails("{B}");
    EXPECT_TRUE(Box("txt_Phone_Home")->text().isEmpty());
    frame_->LoadDetails("{A}");
    EXPECT_EQ(Box("txt_Phone_Home")->text(), QStringLiteral(u"٠١١ ٤٥٦ ٧٨٩٠"));
    EXPECT_EQ(Box("txt_City")->text(), QStringLiteral(u"جدة"));
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftDetails"), 1);
}

TEST_F(DetailsFrameTest, AccountsFillTheFirstRowThenAppend) {
    frame_->LoadDetails("{A}");
    AnswerAccount("Facebook");
    frame_->bt_AddClick();
    EXPECT_EQ(Grid()->RowCount(), 2);
    EXPECT_EQ(Grid()->Cells(1, 1), "Facebook");
    EXPECT_EQ(Grid()->Cells(2, 1), "https://www.facebook.com/");
    AnswerAccount("Skype", "ali.hasan", true);
    frame_->bt_AddClick();
    EXPECT_EQ(Grid()->RowCount(), 3);
    EXPECT_EQ(Grid()->Cells(2, 2), "ali.hasan");

    // An account opened with its address keeps it when another kind is chosen.
    Grid()->SetCurrentCell(1, 2);
    AnswerAccount("Facebook");
    frame_->bt_EditClick();
    EXPECT_EQ(Grid()->Cells(1, 2), "Facebook");
    EXPECT_EQ(Grid()->Cells(2, 2), "ali.hasan");
    ASSERT_EQ(frame_->SaveDetails(), TSaveResult::Written);
    TPerson_Details read;
    ReadPersonDetails("{A}", read);
    ASSERT_EQ(read.NetAccounts.size(), 2);

    // Deleting asks first; only Yes removes.
    sink_.answer = IDNO;
    frame_->bt_DeleteClick();
    EXPECT_EQ(Grid()->RowCount(), 3);
    sink_.answer = IDYES;
    frame_->bt_DeleteClick();
    EXPECT_EQ(Grid()->RowCount(), 2);
    EXPECT_EQ(Grid()->Cells(1, 1), "Facebook");
}

TEST_F(DetailsFrameTest, OnlySafeAddressesAreOpened) {
    frame_->LoadDetails("{A}");
    frame_->OpenAccount("www.example.com/ali");
    frame_->OpenAccount("file:///etc/passwd");
    frame_->OpenAccount("javascript:alert(1)");
    frame_->ShowInMap(QStringLiteral("24.71 , 46.67"));
    frame_->ShowInMap("  ");
    ASSERT_EQ(opened_.size(), 2);
    EXPECT_EQ(opened_[0], "http://www.example.com/ali");
    EXPECT_TRUE(opened_[1].startsWith("https://www.google.com/maps/search/?api=1&query=24.71"));
    EXPECT_EQ(sink_.requests.size(), 2);

    // Ctrl and a click on an address opens it.
    AnswerAccount("Personal Site", "https://family.example.org/ali", true);
    frame_->bt_AddClick();
    const QRect cell = Grid()->visualRect(Grid()->model()->index(0, 1));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    EXPECT_EQ(opened_.last(), "https://family.example.org/ali");
}

TEST_F(DetailsFrameTest, ABadEmailIsShownAsSuchAndKeptAsTyped) {
    frame_->LoadDetails("{A}");
    Type(Box("txt_EMail"), "ali@");
    frame_->CheckEmail();
    EXPECT_EQ(Box("txt_EMail")->property("wellFormed"), QVariant(false));
    ASSERT_EQ(frame_->SaveDetails(), TSaveResult::Written);
    TPerson_Details read;
    ReadPersonDetails("{A}", read);
    EXPECT_EQ(read.email, "ali@");
    Type(Box("txt_EMail"), "ali@example.com");
    frame_->CheckEmail();
    EXPECT_EQ(Box("txt_EMail")->property("wellFormed"), QVariant(true));
}

TEST_F(DetailsFrameTest, TheSheetWritesDetailsWhenItLeavesThePerson) {
    Options() = TOptions();
    TframDataSheet sheet;
    sheet.show();
    sheet.LoadPerson("{A}");
    Type(sheet.findChild<QLineEdit*>("txt_Street_1"), QStringLiteral(u"شارع 'الملك' فهد"));
    EXPECT_TRUE(sheet.HasPendingEdits());
    sheet.LoadPerson("{B}");
    TPerson_Details read;
    ReadPersonDetails("{A}", read);
    EXPECT_EQ(read.Address.street_1, QStringLiteral(u"شارع 'الملك' فهد"));
    EXPECT_TRUE(sheet.findChild<QLineEdit*>("txt_Street_1")->text().isEmpty());
}

} // namespace
} // namespace verdan::test
