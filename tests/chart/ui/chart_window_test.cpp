#include "chart/chart_file.h"
#include "chart/chart_fixture.h"
#include "chart/ui/chart_view.h"
#include "chart/ui/chart_window.h"
#include "chart/ui/children_dialog.h"
#include "chart/ui/poster_dialog.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace verdan::test {

namespace {

class ChartWindow : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        SetLanguage(QStringLiteral(":/langs/english.local"));
        dir_ = NewTempDir();
        Man("F");
        Woman("M");
        Marry("F", "M");
        Man("C1", "F", "M");
        Woman("C2", "F", "M");
        window_ = std::make_unique<TfrmChart_Window>();
        window_->ChooseOpenFile = [this](const QString&, const QString&) {
            return openChoice_;
        };
        window_->ChooseSaveFile = [this](const QString& proposed, const QString&, const QString&) {
            proposed_ << proposed;
            return saveChoice_;
        };
        window_->OpenDocument = [this](const QString& path) {
            opened_ << path;
        };
        window_->ShowChartWindow();
    }
    void TearDown() override {
        window_->View()->Chart().Modified = false;
        window_.reset();
        SetLanguage(QStringLiteral(":/langs/english.local"));
        ChartTest::TearDown();
    }
    TChart& Chart() { return window_->View()->Chart(); }
    void Build() { window_->BuildPersonChart("F"); }
    QString PathOf(const QString& name) const { return dir_ + u'/' + name; }

    QString dir_;
    std::unique_ptr<TfrmChart_Window> window_;
    QString openChoice_;
    QString saveChoice_;
    QStringList proposed_;
    QStringList opened_;
};

TEST_F(ChartWindow, ZoomBoxTakesTypedPercentagesAndFollowsTheChart) {
    QComboBox* box = window_->ZoomBox();
    struct Case {
        const char* typed;
        float zoom;
    };
    const Case cases[] = {
        {"75 %", 0.75f}, {"250", 0.75f}, {"no digits", 0.75f}, {"10", 0.1f}, {"200 %", 2.0f}};
    for (const Case& c : cases) {
        box->setEditText(QString::fromLatin1(c.typed));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_FLOAT_EQ(Chart().Zoom(), c.zoom) << c.typed;
    }
    box->setCurrentIndex(2); // "100 %"
    emit box->activated(2);
    EXPECT_FLOAT_EQ(Chart().Zoom(), 1.0f);
    ASSERT_TRUE(Chart().WheelZoom(false));
    window_->ShowZoom();
    EXPECT_EQ(box->currentText(), QStringLiteral("95 %"));
}

TEST_F(ChartWindow, ClosingAsksOnlyAboutUnsavedWork) {
    window_->close();
    EXPECT_TRUE(sink_.shown.isEmpty()); // empty and never saved
    EXPECT_FALSE(window_->isVisible());

    struct Case {
        int answer;
        QString saveAs;
        bool closes;
    };
    const Case cases[] = {
        {IDCANCEL, QString(), false},
        {IDYES, QString(), false}, // Save As cancelled
        {IDYES, QStringLiteral("kept.chart"), true},
        {IDNO, QString(), true},
    };
    for (const Case& c : cases) {
        window_->ShowChartWindow();
        Build();
        ASSERT_TRUE(Chart().Modified);
        sink_.shown.clear();
        sink_.answer = c.answer;
        saveChoice_ = c.saveAs.isEmpty() ? QString() : PathOf(c.saveAs);
        EXPECT_EQ(window_->close(), c.closes);
        EXPECT_EQ(sink_.shown.size(), 1);
        EXPECT_EQ(window_->isVisible(), !c.closes);
        EXPECT_EQ(Chart().Persons().isEmpty(), c.closes);
        if (!c.closes) {
            window_->View()->Chart().Modified = false;
            window_->close();
        }
    }
    EXPECT_TRUE(QFileInfo::exists(PathOf("kept.chart")));
}

TEST_F(ChartWindow, NewAndOpenAskToSaveFirst) {
    Build();
    sink_.answer = IDCANCEL;
    EXPECT_FALSE(window_->NewChart());
    EXPECT_FALSE(Chart().Persons().isEmpty());
    EXPECT_FALSE(window_->OpenChart());
    EXPECT_EQ(sink_.shown.size(), 2);
    sink_.answer = IDNO;
    EXPECT_TRUE(window_->NewChart());
    EXPECT_TRUE(Chart().Persons().isEmpty());
    EXPECT_FALSE(Chart().Modified);
}

TEST_F(ChartWindow, SavedChartReopensInANewWindowWithItsPositionsAndZoom) {
    Build();
    Chart().MoveItemTo(Chart().IndexOf("C1"), QPoint(700, 420));
    window_->View()->SetZoom(0.7f);
    saveChoice_ = PathOf("family.chart");
    ASSERT_TRUE(window_->SaveChartAs());
    EXPECT_EQ(proposed_.value(0), QFileInfo(path_).absolutePath() + QStringLiteral("/Chart1.chart"));
    EXPECT_TRUE(StripBidiControls(window_->windowTitle()).endsWith(QStringLiteral(":: [family]")));
    const QList<TPersonObject> saved = Chart().Persons();
    window_->close();
    EXPECT_TRUE(window_->windowTitle().endsWith(QStringLiteral(":: []")));

    TfrmChart_Window again;
    again.ChooseOpenFile = [&](const QString&, const QString& folder) {
        EXPECT_EQ(folder, QFileInfo(path_).absolutePath());
        return PathOf("family.chart");
    };
    ASSERT_TRUE(again.OpenChart());
    const TChart& reopened = again.View()->Chart();
    EXPECT_FLOAT_EQ(reopened.Zoom(), 0.7f);
    EXPECT_FALSE(reopened.Modified);
    ASSERT_EQ(reopened.Persons().size(), saved.size());
    for (qsizetype i = 0; i < saved.size(); ++i)
        EXPECT_EQ(reopened.Persons()[i].Position(), saved[i].Position());
    again.ShowZoom();
    EXPECT_EQ(again.ZoomBox()->currentText(), QStringLiteral("70 %"));
    EXPECT_TRUE(sink_.shown.isEmpty());
}

TEST_F(ChartWindow, OpeningAChartOfAnotherTreeWarns) {
    Build();
    ASSERT_TRUE(WriteChart(Chart(), PathOf("mine.chart")));
    QFile file(PathOf("mine.chart"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    text.replace(QFileInfo(path_).fileName().toUtf8(), "other.vrd");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    Chart().Modified = false;
    openChoice_ = PathOf("mine.chart");
    ASSERT_TRUE(window_->OpenChart());
    ASSERT_EQ(sink_.shown.size(), 1);
    EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("other.vrd")));
    EXPECT_EQ(Chart().Persons().size(), 3);
}

TEST_F(ChartWindow, PdfOpensOnlyAfterItWasWritten) {
    Build();
    saveChoice_ = PathOf("no/folder/chart.pdf");
    EXPECT_FALSE(window_->ExportPdfCommand());
    EXPECT_TRUE(opened_.isEmpty());
    ASSERT_EQ(sink_.shown.size(), 1); // the failure is told
    saveChoice_ = PathOf("chart.pdf");
    EXPECT_TRUE(window_->ExportPdfCommand());
    EXPECT_EQ(opened_, QStringList{PathOf("chart.pdf")});
    saveChoice_ = PathOf("chart.svg");
    EXPECT_TRUE(window_->ExportImageCommand());
    EXPECT_TRUE(QFile(PathOf("chart.svg")).size() > 0);
    EXPECT_EQ(Chart().SelectedPersonCount(), 0);
}

TEST_F(ChartWindow, MenusFollowTheChart) {
    window_->UpdateMenuStates();
    EXPECT_FALSE(window_->SaveAction()->isEnabled());
    EXPECT_FALSE(window_->SaveAsImageAction()->isEnabled());
    Build();
    window_->UpdateMenuStates();
    EXPECT_TRUE(window_->SaveAction()->isEnabled());
    EXPECT_FALSE(window_->RemoveAction()->isEnabled());
    Chart().SetPersonSelected(0, true);
    window_->UpdateMenuStates();
    EXPECT_TRUE(window_->RemoveAction()->isEnabled());
    EXPECT_FALSE(window_->AlignMenu()->isEnabled());
    Chart().SetPersonSelected(1, true);
    window_->UpdateMenuStates();
    EXPECT_TRUE(window_->AlignMenu()->isEnabled());
}

TEST_F(ChartWindow, PersonMenuOffersWhatThePersonHas) {
    Build();
    Tfrm_Chart* view = window_->View();
    view->Refresh();
    const TPersonObject& child = Chart().Person(Chart().IndexOf("C1"));
    const QPoint at = Chart().Mapping().ToView(QPoint(child.TextRect.Left + 3, child.TextRect.Top + 3));
    QMenu* menu = view->BuildContextMenu(at);
    ASSERT_EQ(menu, view->PersonMenu());
    EXPECT_TRUE(Chart().Person(Chart().IndexOf("C1")).Selected);
    const QList<QAction*> entries = menu->actions();
    EXPECT_EQ(entries[0]->text(), QStringLiteral("Show Parents"));
    EXPECT_FALSE(entries[1]->isEnabled()); // no children
    EXPECT_FALSE(entries[2]->isEnabled()); // no marriage
    QMenu* empty = view->BuildContextMenu(QPoint(5000, 5000));
    EXPECT_EQ(empty, view->ChartMenu());

    // Show Children goes through the choice of children.
    Chart().SelectAll();
    Chart().RemoveSelected();
    Chart().FindOrAddPerson("F");
    view->ChooseChildren = [](const QString&, const QPoint&) {
        return QStringList{"C2"};
    };
    menu = view->BuildContextMenu(Chart().Mapping().ToView(QPoint(3, 3)));
    menu->actions()[1]->trigger();
    EXPECT_GE(Chart().IndexOf("C2"), 0);
    EXPECT_EQ(Chart().IndexOf("C1"), -1);
    EXPECT_EQ(Chart().Person(Chart().IndexOf("C2")).ConnectionTo, TConnectionTo::Father);
}

TEST_F(ChartWindow, DroppedPersonsAreAddedOrBuiltAround) {
    Tfrm_Chart* view = window_->View();
    QString dragged = "C1";
    view->DroppedPerson = [&](QObject*) {
        return dragged;
    };
    QMimeData data;
    auto drop = [&](const QPoint& at, Qt::KeyboardModifiers modifiers) {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(view->viewport(), &event);
    };
    drop(QPoint(100, 100), Qt::NoModifier);
    ASSERT_EQ(Chart().Persons().size(), 1);
    EXPECT_EQ(Chart().Person(0).Position(), Chart().Mapping().ToChart(QPoint(100, 100)));
    dragged = "F";
    drop(QPoint(300, 50), Qt::ControlModifier);
    EXPECT_EQ(Chart().Persons().size(), 3); // the father and his other child join the child already there
    EXPECT_EQ(Chart().Person(Chart().IndexOf("F")).Options.Font.Style, kFontBold);
}

TEST_F(ChartWindow, ChildrenDialogKeepsTheTicksForTheSamePerson) {
    Tfrm_Chrt_Cildren_List dialog;
    dialog.Prepare("F");
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.TickedIds(), (QStringList{"C1", "C2"}));
    dialog.List()->item(0)->setCheckState(Qt::Unchecked);
    dialog.Prepare("F");
    EXPECT_EQ(dialog.TickedIds(), QStringList{"C2"});
    dialog.MalesBox()->click(); // males off: ticks set again by gender
    EXPECT_EQ(dialog.TickedIds(), QStringList{"C2"});
    dialog.FemalesBox()->click();
    EXPECT_TRUE(dialog.TickedIds().isEmpty());
    dialog.MalesBox()->click();
    dialog.FemalesBox()->click();
    dialog.List()->item(1)->setCheckState(Qt::Unchecked);
    dialog.Prepare("M"); // another person: the list is made again
    EXPECT_EQ(dialog.TickedIds(), (QStringList{"C1", "C2"}));
}

TEST_F(ChartWindow, WindowReadsInTheLanguagesDirectionAndTheDrawingKeepsItsOwn) {
    for (const char* language : {"arabic.local", "english.local"}) {
        SetLanguage(QStringLiteral(":/langs/") + QString::fromLatin1(language));
        TfrmChart_Window window;
        window.ShowChartWindow();
        const bool rtl = QString::fromLatin1(language) == u"arabic.local";
        EXPECT_EQ(window.layoutDirection(), rtl ? Qt::RightToLeft : Qt::LeftToRight) << language;
        EXPECT_EQ(window.View()->layoutDirection(), Qt::LeftToRight) << language;
        // Arabic captions carry an Alt letter of their own.
        EXPECT_EQ(QString(window.FileMenu()->title()).remove(u'&'), Translate(QStringLiteral("File")));
        EXPECT_NE(window.FileMenu()->title(), rtl ? QStringLiteral("File") : QString());
        EXPECT_TRUE(window.windowTitle().startsWith(Translate(QStringLiteral("Family Tree Chart"))));
        window.close();
    }
}

TEST_F(ChartWindow, AChartKeptOpenKeepsTheOthersFromClosing) {
    Build();
    sink_.answer = IDCANCEL;
    EXPECT_FALSE(TfrmChart_Window::CloseAllChartWindows());
    EXPECT_TRUE(window_->isVisible());
    sink_.answer = IDNO;
    EXPECT_TRUE(TfrmChart_Window::CloseAllChartWindows());
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(ChartWindow, GenerationBoxesReshapeTheChartAroundItsRoot) {
    Man("G1", "C1");
    Man("G2", "0", "C2");
    Man("GG", "G1");
    Build();
    EXPECT_EQ(Chart().RootId, "F");
    EXPECT_EQ(Chart().Persons().size(), 3); // one generation down by default
    window_->GenerationsDownBox()->setValue(3);
    EXPECT_GE(Chart().IndexOf("GG"), 0);
    EXPECT_EQ(Chart().IndexOf("G2"), -1); // a daughter's son
    window_->DaughtersBox()->setChecked(true);
    EXPECT_GE(Chart().IndexOf("G2"), 0);
    window_->GenerationsDownBox()->setValue(1);
    EXPECT_EQ(Chart().IndexOf("G1"), -1);
    EXPECT_EQ(Chart().IndexOf("GG"), -1);
    EXPECT_EQ(Chart().Persons().size(), 3);
    // Whatever the generations, nothing covers anything.
    window_->GenerationsDownBox()->setValue(3);
    for (const TPersonObject& a : Chart().Persons()) {
        for (const TPersonObject& b : Chart().Persons()) {
            const QRect ra(a.Box.X, a.Box.Y, a.Box.Width, a.Box.Height);
            const QRect rb(b.Box.X, b.Box.Y, b.Box.Width, b.Box.Height);
            EXPECT_TRUE(&a == &b || !ra.intersects(rb)) << a.Id.toStdString() << " " << b.Id.toStdString();
        }
    }
}

TEST_F(ChartWindow, ReadingOrderMirrorsTheChartAndIsSavedWithIt) {
    Build();
    auto x = [&](const char* id) {
        return Chart().Person(Chart().IndexOf(id)).Box.CentreX();
    };
    EXPECT_GT(x("C1"), x("C2")); // right to left: the first child rightmost
    window_->LeftToRightAction()->trigger();
    EXPECT_LT(x("C1"), x("C2"));
    EXPECT_TRUE(Chart().LeftToRight());
    saveChoice_ = PathOf("ltr.chart");
    ASSERT_TRUE(window_->SaveChartAs());
    window_->NewChart();
    ASSERT_TRUE(window_->OpenChartFile(saveChoice_));
    EXPECT_TRUE(Chart().LeftToRight());
    EXPECT_LT(x("C1"), x("C2"));
    // Dates in both calendars widen the boxes that show them.
    Chart().SelectAll();
    Chart().SetSelectedShowFlag(TChart::TShowFlag::Dates, true);
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Date_of_Birth_H = 13900101 WHERE Person_Id = 'C1'"), 1);
    sink_.answer = IDNO; // leave the changes unsaved
    ASSERT_TRUE(window_->NewChart());
    Build();
    Chart().SelectAll();
    Chart().SetSelectedShowFlag(TChart::TShowFlag::Dates, true);
    const int narrow = Chart().Person(Chart().IndexOf("C1")).Box.Width;
    window_->DatesMenu()->actions()[2]->trigger(); // Hijri and Gregorian
    EXPECT_EQ(Chart().DatesShown(), TDateShown::Both);
    EXPECT_GT(Chart().Person(Chart().IndexOf("C1")).Box.Width, narrow);
    EXPECT_TRUE(Chart().Person(Chart().IndexOf("C1")).BirthText.contains(QStringLiteral("1390 H")));
}

TEST_F(ChartWindow, FitShowsTheWholeChartAndFindCentresAPerson) {
    for (int k = 0; k < 40; ++k)
        Man(QStringLiteral("S%1").arg(k), "C1");
    window_->resize(800, 600);
    window_->GenerationsDownBox()->setValue(2);
    Build();
    Tfrm_Chart* view = window_->View();
    window_->FitAction()->trigger();
    const float zoom = Chart().Zoom();
    EXPECT_GE(zoom, 0.1f);
    EXPECT_LE((Chart().Extents().width() - Chart().Origin().x()) * zoom, view->viewport()->width());
    window_->FindBox()->setText(QStringLiteral("S39"));
    QTest::keyClick(window_->FindBox(), Qt::Key_Return);
    const int found = Chart().IndexOf("S39");
    ASSERT_TRUE(Chart().Person(found).Selected);
    EXPECT_EQ(Chart().SelectedPersonCount(), 1);
    const QRect shown = Chart().Mapping().ToView(Chart().Person(found).Box);
    EXPECT_TRUE(view->viewport()->rect().contains(shown.center()));
    window_->FindBox()->setText(QStringLiteral("nobody"));
    EXPECT_FALSE(window_->FindNext());
}

TEST_F(ChartWindow, PosterDialogWritesThePosterOfTheChartsRoot) {
    Man("G1", "C1");
    Build();
    TfrmPosterDialog dialog(Chart().RootId, window_.get());
    QStringList chosen;
    QStringList opened;
    const QString path = PathOf("poster.pdf");
    dialog.ChooseFile = [&](const QString& proposed, const QString&) {
        chosen << proposed;
        return path;
    };
    dialog.OpenDocument = [&](const QString& file) {
        opened << file;
    };
    dialog.TilesBox()->setChecked(false);
    dialog.ExportButton()->click();
    ASSERT_EQ(opened, QStringList{path});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    const TPosterOptions options = dialog.Options();
    EXPECT_EQ(options.PersonId, "F");
    EXPECT_EQ(options.Paper, QPageSize::A3);
    // It reads as the chart it is asked from.
    dialog.TakeChartLook(true, TDateShown::Both, true);
    EXPECT_TRUE(dialog.Options().LeftToRight);
    EXPECT_EQ(dialog.Options().Calendar, TDateShown::Both);
    EXPECT_TRUE(dialog.Options().Daughters);
    // A cancelled file choice writes nothing and opens nothing.
    dialog.ChooseFile = [](const QString&, const QString&) {
        return QString();
    };
    dialog.ExportButton()->click();
    EXPECT_EQ(opened.size(), 1);
    // The window offers it in its File menu.
    const QList<QAction*> entries = window_->FileMenu()->actions();
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [](QAction* a) {
        return a->text() == Translate(QStringLiteral("Export Poster")) + "..";
    }));
}

} // namespace

} // namespace verdan::test
