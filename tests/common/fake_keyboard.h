#pragma once

#include "text/keyboard_layout.h"

#include <utility>

namespace verdan::test {

// Keyboard layouts as a desktop offers them, switched by the program; installed while it lives.
class TFakeKeyboardGroups : public TKeyboardGroups {
public:
    explicit TFakeKeyboardGroups(QList<TKeyboardGroup> groups, int current = 0)
        : current(current), groups_(std::move(groups)) {
        previous_ = InstallKeyboardGroups(this);
    }
    ~TFakeKeyboardGroups() override { InstallKeyboardGroups(previous_); }
    QList<TKeyboardGroup> Groups() override { return groups_; }
    int Current() override { return current; }
    void Activate(int index) override {
        current = index;
        ++switches;
    }
    QString CurrentName() const { return groups_.value(current).name; }

    int current = 0;
    int switches = 0;

private:
    QList<TKeyboardGroup> groups_;
    TKeyboardGroups* previous_ = nullptr;
};

inline const TKeyboardGroup kArabicLayout{QStringLiteral("Arabic"), QStringLiteral("ara"), false};
inline const TKeyboardGroup kUsLayout{QStringLiteral("English (US)"), QStringLiteral("us"), true};
inline const TKeyboardGroup kFrenchLayout{QStringLiteral("French"), QStringLiteral("fr"), true};
inline const TKeyboardGroup kPersianLayout{QStringLiteral("Persian"), QStringLiteral("ir"), false};

} // namespace verdan::test
