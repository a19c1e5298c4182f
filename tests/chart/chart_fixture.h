#pragma once

#include "chart/chart.h"
#include "storage/person_fixture.h"
#include "storage/relation_store.h"
#include "text/messages.h"

#include <gtest/gtest.h>
#include <memory>

namespace verdan::test {

// Text metrics without fonts: every character is half the font size wide, a line is the size plus 2 high.
class FakeMeasurer final : public TTextMeasurer {
public:
    int TextWidth(const TOFont& font, const QString& text) const override {
        return int(text.size()) * std::max(1, font.Size) / 2;
    }
    int TextHeight(const TOFont& font, const QString&) const override { return std::max(1, font.Size) + 2; }
};

// Records the messages shown and answers each with a chosen button.
class RecordingSink final : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        shown << request;
        return answer;
    }
    QList<TMessageRequest> shown;
    int answer = IDOK;
};

// A tree with readable identifiers and a chart over it measured by FakeMeasurer; messages are recorded.
class ChartTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        InstallMessageSink(&sink_);
    }
    void TearDown() override {
        InstallMessageSink(nullptr);
        PersonStoreTest::TearDown();
    }

    std::unique_ptr<TChart> NewChart() const {
        auto chart = std::make_unique<TChart>(std::make_shared<FakeMeasurer>());
        chart->Defaults.ShowPicture = false;
        return chart;
    }
    void Man(const QString& id, const QString& father = "0", const QString& mother = "0") {
        Put(id, father, mother, id, "m");
    }
    void Woman(const QString& id, const QString& father = "0", const QString& mother = "0") {
        Put(id, father, mother, id, "f");
    }
    void Marry(const QString& husband, const QString& wife) { ASSERT_TRUE(AddMarriage(husband, wife)); }

    RecordingSink sink_;
    std::unique_ptr<TChart> chart_ = NewChart();
};

} // namespace verdan::test
