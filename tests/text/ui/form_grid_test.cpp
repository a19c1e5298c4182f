#include "text/ui/form_grid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace verdan {
namespace {

void Settle(QWidget& window) {
    window.show();
    QApplication::processEvents();
    window.layout()->activate();
}

// x of a widget within the window
QRect InWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

class FormGrid : public ::testing::TestWithParam<Qt::LayoutDirection> {
protected:
    bool Rtl() const { return GetParam() == Qt::RightToLeft; }
};

// A caption and its field stand on one row, the caption at the reading start; the field keeps a readable
// width in a wide window and its value starts at the edge next to the caption.
TEST_P(FormGrid, CaptionsAndFieldsShareRowsAndFlipWithTheDirection) {
    QWidget window;
    window.setLayoutDirection(GetParam());
    auto* grid = new TFormGrid(&window);
    auto* caption = new QLabel(QStringLiteral("Given Name:"));
    auto* name = new QLineEdit(QStringLiteral("ريّان"));
    auto* era = new QCheckBox(QStringLiteral("B.c"));
    auto* value = new QLabel(QStringLiteral("16-06-1768"));
    grid->AddRow(caption, name, {era});
    grid->AddRow(new QLabel(QStringLiteral("Birth:")), value);
    window.resize(1600, 300);
    Settle(window);

    const QRect c = InWindow(caption);
    const QRect f = InWindow(name);
    const QRect e = InWindow(era);
    EXPECT_EQ(c.center().y(), f.center().y());
    EXPECT_EQ(e.center().y(), f.center().y());
    if (Rtl()) {
        EXPECT_GT(c.left(), f.right());
        EXPECT_GT(f.left(), e.right());
        EXPECT_GT(c.right(), 1500);
    } else {
        EXPECT_LT(c.right(), f.left());
        EXPECT_LT(f.right(), e.left());
        EXPECT_LT(c.left(), 100);
    }
    EXPECT_EQ(name->width(), ReadableFieldWidth(name));
    EXPECT_LT(name->width(), 600);
    // Each value reads in its own direction from its own reading start: the Arabic name from the right, the
    // date from the left, in either window.
    EXPECT_EQ(name->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(value->layoutDirection(), Qt::LeftToRight);
    for (const QWidget* field : {static_cast<QWidget*>(name), static_cast<QWidget*>(value)}) {
        const Qt::Alignment alignment = field == name ? name->alignment() : value->alignment();
        EXPECT_TRUE(alignment & Qt::AlignLeading);
        EXPECT_FALSE(alignment & Qt::AlignAbsolute);
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, FormGrid, ::testing::Values(Qt::LeftToRight, Qt::RightToLeft));

// A narrow window shrinks the fields instead of cutting them off.
TEST(FormGridWidth, FieldsShrinkInANarrowWindow) {
    QWidget window;
    auto* grid = new TFormGrid(&window);
    auto* field = new QLineEdit;
    grid->AddRow(new QLabel(QStringLiteral("Place:")), field);
    window.resize(220, 100);
    Settle(window);
    EXPECT_LT(field->width(), ReadableFieldWidth(field));
    EXPECT_LE(InWindow(field).right(), 220);
}

// An empty box takes the window's direction, also after a switch of the interface language; a value takes
// its own as soon as it is typed: an Arabic name, a Latin one, a phone number that keeps its "+" in front.
TEST(FormGridWidth, ValuesReadInTheirOwnDirection) {
    QWidget window;
    auto* grid = new TFormGrid(&window);
    auto* box = new QLineEdit;
    auto* phone = new QLabel(QStringLiteral("+966 50 123 4567"));
    grid->AddRow(new QLabel(QStringLiteral("Father:")), box);
    grid->AddRow(new QLabel(QStringLiteral("Cell Phone:")), phone);
    window.setLayoutDirection(Qt::RightToLeft);
    Settle(window);
    EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(phone->layoutDirection(), Qt::LeftToRight);
    window.setLayoutDirection(Qt::LeftToRight);
    box->repaint();
    EXPECT_EQ(box->layoutDirection(), Qt::LeftToRight);
    box->setText(QStringLiteral("عيسى"));
    box->repaint();
    EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
    window.setLayoutDirection(Qt::RightToLeft);
    box->setText(QStringLiteral("\u2067Victoria\u2069"));
    box->repaint();
    EXPECT_EQ(box->layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(phone->layoutDirection(), Qt::LeftToRight);
}

// Forms that share a caption column start their fields at one place, also after the captions change.
TEST(FormGridWidth, SharedCaptionColumnAlignsTheFieldsOfSeveralForms) {
    QWidget window;
    auto* outer = new QVBoxLayout(&window);
    TCaptionColumn captions;
    auto* first = new QWidget;
    auto* second = new QWidget;
    outer->addWidget(first);
    outer->addWidget(second);
    auto* shortCaption = new QLabel(QStringLiteral("Name:"));
    auto* longCaption = new QLabel(QStringLiteral("Birth Date (Gregorian):"));
    auto* a = new QLineEdit;
    auto* b = new QLineEdit;
    (new TFormGrid(first, &captions))->AddRow(shortCaption, a);
    (new TFormGrid(second, &captions))->AddRow(longCaption, b);
    captions.Update();
    window.resize(900, 200);
    Settle(window);
    EXPECT_EQ(InWindow(a).left(), InWindow(b).left());
    EXPECT_EQ(captions.Width(), longCaption->sizeHint().width());

    shortCaption->setText(QStringLiteral("A much longer caption than the other one:"));
    captions.Update();
    window.layout()->activate();
    first->layout()->activate();
    second->layout()->activate();
    EXPECT_EQ(InWindow(a).left(), InWindow(b).left());
    EXPECT_EQ(captions.Width(), shortCaption->sizeHint().width());
}

TEST(FormGridWidth, HiddenRowsHideTheirWidgets) {
    QWidget window;
    auto* grid = new TFormGrid(&window);
    auto* caption = new QLabel(QStringLiteral("Nickname:"));
    auto* box = new QLineEdit;
    const int row = grid->AddRow(caption, box);
    Settle(window);
    grid->SetRowVisible(row, false);
    EXPECT_FALSE(caption->isVisible());
    EXPECT_FALSE(box->isVisible());
    grid->SetRowVisible(row, true);
    EXPECT_TRUE(box->isVisible());
}

} // namespace
} // namespace verdan
