#pragma once

#include "storage/person_fixture.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace verdan::test {

// Records every message and answers a preset code.
class TRecordingSink : public TMessageSink {
public:
    int Show(const TMessageRequest& request) override {
        requests.append(request);
        return answer;
    }
    // The texts as read, without the invisible marks that keep their reading order.
    QStringList Texts() const {
        QStringList texts;
        for (const TMessageRequest& request : requests)
            texts << StripBidiControls(request.text);
        return texts;
    }
    QList<TMessageRequest> requests;
    int answer = IDOK;
};

// A tree with a few persons, the English interface, and messages recorded instead of shown.
class SheetTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        InstallLanguageFiles();
        ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
        InstallMessageSink(&sink_);
    }
    void TearDown() override {
        InstallMessageSink(nullptr);
        PersonStoreTest::TearDown();
    }

    // Types into a box as a user does: what was there is replaced. Letters a Latin keyboard lacks (Arabic
    // digits) come as an input method commits them.
    static void Type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Delete);
        } else if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            QTest::keyClicks(box, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(box, &commit);
        }
    }

    // Runs `act` on the modal dialog that `open` shows, once it is up.
    template <typename Dialog> static void WithDialog(const std::function<void(Dialog*)>& act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
    }

    TRecordingSink sink_;
    const QDate today_{2023, 5, 15};
};

} // namespace verdan::test
