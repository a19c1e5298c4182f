#include "navigator/visit_history.h"

#include <gtest/gtest.h>

namespace verdan::test {
namespace {

TEST(VisitHistoryTest, BackAndForwardStopAtTheEnds) {
    TVisitHistory history;
    history.Start();
    EXPECT_TRUE(history.Back().isEmpty());
    history.Add("{A}");
    history.Add("{B}");
    history.Add("{C}");
    EXPECT_EQ(history.Forward(), "");
    EXPECT_EQ(history.Index(), 2);
    EXPECT_EQ(history.Back(), "{B}");
    EXPECT_EQ(history.Back(), "{A}");
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Back(), "");
    EXPECT_EQ(history.Index(), 0);
    EXPECT_EQ(history.Forward(), "{B}");
    EXPECT_TRUE(history.CanGoForward());
}

TEST(VisitHistoryTest, AMoveAfterGoingBackReplacesTheNextEntryAndKeepsTheRest) {
    TVisitHistory history;
    history.Start();
    for (const char* id : {"{A}", "{B}", "{C}"})
        history.Add(id);
    history.Back();
    history.Back();
    history.Add("{D}");
    EXPECT_EQ(history.Entries(), (QStringList{"{A}", "{D}", "{C}"}));
    EXPECT_EQ(history.Forward(), "{C}");
}

TEST(VisitHistoryTest, TheSamePersonTwiceIsOneEntryButTheNewestAfterGoingBackIsAMove) {
    TVisitHistory history;
    history.Start();
    history.Add("{A}");
    history.Add("{a}"); // identifiers compare without regard to letter case
    history.Add("{B}");
    EXPECT_EQ(history.Entries(), (QStringList{"{A}", "{B}"}));
    // Back at A, the user goes to B again: Go Backward must lead to A, not stay put.
    history.Back();
    history.Add("{B}");
    EXPECT_EQ(history.Index(), 1);
    EXPECT_EQ(history.Back(), "{A}");
}

TEST(VisitHistoryTest, WithoutAListNothingIsRecordedOrReturned) {
    TVisitHistory history;
    history.Add("{A}");
    EXPECT_TRUE(history.Back().isEmpty());
    EXPECT_TRUE(history.Forward().isEmpty());
    history.Start();
    history.Add("{A}");
    history.Add("{B}");
    history.Stop();
    EXPECT_TRUE(history.Entries().isEmpty());
    EXPECT_EQ(history.Index(), -1);
    EXPECT_TRUE(history.Back().isEmpty());
    history.Start();
    EXPECT_EQ(history.Index(), -1);
}

} // namespace
} // namespace verdan::test
