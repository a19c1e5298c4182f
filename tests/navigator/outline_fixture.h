#pragma once

#include "relations/family_rules.h"
#include "storage/tree_fixture.h"
#include "text/bidi_text.h"
#include "text/messages.h"

#include <QString>
#include <QStringList>

namespace verdan::test {

// Answers every message with a chosen code and keeps what was shown.
class RecordingMessages : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        texts << request.text;
        captions << request.caption;
        focuses << request.focus;
        return answer;
    }
    int answer = IDYES;
    QStringList texts;
    QStringList captions;
    QList<int> focuses; // the button each question started on
};

// Consents to every question: OK where it offers OK, Yes where it asks Yes or No, unless an answer is set.
class Consenting : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        texts << request.text;
        focuses << request.focus;
        return answer ? answer : MsgButtonsOf(request.flags).front();
    }
    QStringList texts;
    QList<int> focuses; // the button each question started on
    int answer = 0;
};

// Answers the family rules' questions with the next answer scripted, else with the first answer offered,
// and keeps every question, refusal and notice, their texts without the marks that isolate names.
class ScriptedAsker : public TFamilyAsker {
public:
    QString Ask(const TFamilyRuling& question) override {
        questions << question;
        questions.last().Text = StripBidiControls(question.Text);
        return answers.isEmpty() ? question.Answers.value(0).Name : answers.takeFirst();
    }
    void Refuse(const TFamilyRuling& refusal) override { refusals << StripBidiControls(refusal.Text); }
    void Tell(const QStringList& lines) override {
        for (const QString& line : lines)
            notices << StripBidiControls(line);
    }
    // The names of the answers each question offered, joined by "/".
    QStringList Offered() const {
        QStringList offered;
        for (const TFamilyRuling& question : questions) {
            QStringList names;
            for (const TFamilyAnswer& answer : question.Answers)
                names << answer.Name;
            offered << names.join(u'/');
        }
        return offered;
    }
    QStringList answers;
    QList<TFamilyRuling> questions;
    QStringList refusals;
    QStringList notices;
};

// A new tree emptied down to its outside-the-tree group, with a writer for plain person rows.
class OutlineTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        previousSink_ = InstallMessageSink(&shown_);
        previousAsker_ = InstallFamilyAsker(&asked_);
        global_ = GetGlobalParentId();
        ASSERT_GE(Dm().Execute(QStringLiteral("DELETE FROM ftPerson WHERE person_id <> ?"), global_), 0);
    }

    void TearDown() override {
        InstallFamilyAsker(previousAsker_);
        InstallMessageSink(previousSink_);
        TreeTest::TearDown();
    }

    // Adds a person row with the given identifier; a null order leaves the column unset (99).
    void Person(const QString& id, const QString& name, const QString& father, const QString& mother,
                const QString& gender = QStringLiteral("m"), int orderByFather = 99, int orderByMother = 99,
                bool isSection = false) {
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftPerson (person_id, person_name, father_id, "
                                        "mother_id, gender, order_by_father, order_by_mother, "
                                        "display_order, is_section) VALUES (?, ?, ?, ?, ?, ?, ?, 99, ?)"),
                         id, name, father, mother, gender, orderByFather, orderByMother, isSection ? 1 : 0),
            1);
    }
    void Marry(const QString& husband, const QString& wife) {
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type, "
                                        "is_active) VALUES (?, ?, 0, 1)"),
                         husband, wife),
            1);
    }
    void DisplayOptions(const QString& id, int iconId, int color, const QString& title,
                        bool denyPublish = false) {
        ASSERT_EQ(Dm().Execute(QStringLiteral("INSERT INTO ftPersonOption (person_id, icon_id, color, title, "
                                              "deny_publish) VALUES (?, ?, ?, ?, ?)"),
                               id, iconId, color, title, denyPublish ? 1 : 0),
                  1);
    }
    QString Column(const QString& id, const QString& column) {
        return Dm().ScalarText(
            QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ftPerson WHERE person_id = ?"), id);
    }

    int Count(const QString& where) {
        return static_cast<int>(
            Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson WHERE ") + where));
    }

    // No person may hang on "0" for both parents: it would be shown nowhere.
    int Invisible() {
        return Count(QStringLiteral("father_id = '0' AND ifnull(trim(mother_id), '') IN ('', '0')"));
    }

    QString global_;
    RecordingMessages shown_;
    TMessageSink* previousSink_ = nullptr;
    ScriptedAsker asked_;
    TFamilyAsker* previousAsker_ = nullptr;
};

} // namespace verdan::test
