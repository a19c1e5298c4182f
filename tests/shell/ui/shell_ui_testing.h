#pragma once

#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/program_folder.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace verdan::test {

// The English interface, whichever language an earlier test left behind.
inline void UseEnglish() {
    SetLanguage(QStringLiteral(":/langs/english.local"));
}

// A tree file with its first rows in the data folder, not open.
inline QString MakeTestTree(const QString& name) {
    TTreeProperty props;
    props.BasePath = ProgramFolder() + QStringLiteral("data");
    props.FolderName = name;
    props.FileName = name + QStringLiteral(".vrd");
    props.TreeName = name;
    props.OwnerName = QStringLiteral("Owner");
    const QString path = CreateTreeFolderAndFile(props);
    EXPECT_TRUE(OpenTreeFile(path));
    EXPECT_TRUE(InitialiseNewTree(props));
    CloseTreeFile();
    return path;
}

// Records every message instead of showing it and answers with a fixed button.
class RecordedMessages : public TMessageSink {
public:
    explicit RecordedMessages(int answer = IDOK) : answer_(answer) { previous_ = InstallMessageSink(this); }
    ~RecordedMessages() override { InstallMessageSink(previous_); }
    int Show(const TMessageRequest& request) override {
        texts << request.text;
        focuses << request.focus;
        for (const TMsgAnswer& a : request.answers)
            if (a.code == answer_)
                return answer_;
        return MsgButtonsOf(request.flags).contains(answer_) ? answer_ : request.escape;
    }
    void SetAnswer(int answer) { answer_ = answer; }

    QStringList texts;
    QList<int> focuses; // the button each question started on

private:
    int answer_;
    TMessageSink* previous_ = nullptr;
};

// Runs `call`, which opens a modal window, and lets `act` work on it. A window `act` leaves open is closed
// after a while, so a failing test cannot hang. Returns whether a modal window appeared.
inline bool WithModal(const std::function<void()>& call, const std::function<void(QWidget*)>& act) {
    bool seen = false;
    // Polled, since the caller may let events run before its window opens.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll.stop();
            seen = true;
            act(modal);
        }
    });
    poll.start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* open = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal window stayed open";
            open->close();
        }
    });
    guard.start(5000);
    call();
    return seen;
}

} // namespace verdan::test
