#include "web/web_privacy.h"

#include "relations/living_persons.h"

#include <algorithm>

namespace verdan {

namespace {

bool IsLiving(const TWebTree& tree, const TWebPerson& p, const QDate& today) {
    if (p.Section)
        return false;
    std::vector<TDateValue> childBirths;
    if (!HasDateNumbers(p.Birth)) {
        childBirths.reserve(p.Children.size());
        for (const int child : p.Children)
            childBirths.push_back(tree.Persons[size_t(child)].Birth);
    }
    return IsLivingPerson(p.DeadMark, p.Birth, p.Death, childBirths, today);
}

// Everyone below a person who denied publishing, through either parent; each once, however the links run.
std::vector<char> DescendantsOfDenied(const TWebTree& tree) {
    std::vector<char> below(tree.Persons.size(), 0);
    std::vector<int> stack;
    for (size_t i = 0; i < tree.Persons.size(); ++i)
        if (tree.Persons[i].DenyPublish)
            stack.push_back(int(i));
    while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        for (const int child : tree.Persons[size_t(at)].Children) {
            if (!below[size_t(child)]) {
                below[size_t(child)] = 1;
                stack.push_back(child);
            }
        }
    }
    return below;
}

} // namespace

std::vector<TShown> DecideShown(const TWebTree& tree, TLivingMode mode, const QDate& today) {
    const std::vector<char> belowDenied = DescendantsOfDenied(tree);
    std::vector<TShown> shown(tree.Persons.size(), TShown::Full);
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        const TWebPerson& p = tree.Persons[i];
        TShown s = TShown::Full;
        if (p.DenyPublish) {
            s = TShown::Absent;
        } else if (p.HideName) {
            s = TShown::Private;
        } else if (IsLiving(tree, p, today)) {
            s = mode == TLivingMode::Hide    ? TShown::Private
                : mode == TLivingMode::Names ? TShown::NameOnly
                                             : TShown::Full;
            if (belowDenied[i])
                s = std::min(s, TShown::NameOnly);
        }
        shown[i] = s;
    }
    return shown;
}

} // namespace verdan
