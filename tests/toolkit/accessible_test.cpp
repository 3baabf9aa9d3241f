#include "toolkit/window.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace {

using TKind = TAccessibleChange::TKind;

// Random readings of a window's parts, each told to a model of a screen reader's copy as the
// changes between them: the copy must end as the window's parts.
TEST(AccessibleChanges, TurnTheToldPartsIntoTheNewOnes) {
    std::mt19937 random(28);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto reading = [&] {
        std::vector<TAccessiblePart> parts(static_cast<std::size_t>(pick(6)));
        for (TAccessiblePart& p : parts) {
            p = TAccessiblePart(pick(2) ? TAccessiblePart::TRole::Field
                                        : TAccessiblePart::TRole::Row,
                                std::string(1, static_cast<char>('a' + pick(4))),
                                std::string("abcab").substr(0, static_cast<std::size_t>(pick(6))));
            p.caret = pick(4) - 1;
            p.selectionStart = pick(2);
            p.selectionEnd = pick(3);
            p.selected = pick(2);
        }
        return parts;
    };
    std::vector<TAccessiblePart> told = reading();
    for (int round = 0; round < 2000; ++round) {
        const std::vector<TAccessiblePart> now = reading();
        std::vector<TAccessiblePart> copy = told;
        for (const TAccessibleChange& c : accessibleChanges(told, now)) {
            const auto at = static_cast<std::size_t>(c.index);
            const auto offset = static_cast<std::size_t>(c.offset);
            ASSERT_TRUE(c.kind != TKind::TextRemoved ||
                        copy.at(at).text.substr(offset, c.text.size()) == c.text);
            if (c.kind == TKind::Removed) {
                copy.erase(copy.begin() + c.index);
            } else if (c.kind == TKind::Added) {
                copy.insert(copy.begin() + c.index, now.at(at));
            } else if (c.kind == TKind::TextRemoved) {
                copy.at(at).text.erase(offset, c.text.size());
            } else if (c.kind == TKind::TextInserted) {
                copy.at(at).text.insert(offset, c.text);
            } else if (c.kind == TKind::Caret) {
                copy.at(at).caret = c.offset;
            } else if (c.kind == TKind::Selection) {
                copy.at(at).selectionStart = c.offset;
                copy.at(at).selectionEnd = now.at(at).selectionEnd;
            } else {
                copy.at(at).selected = c.offset != 0;
            }
        }
        // What a reader keeps of each part; an empty selection is none at all.
        auto kept = [](const std::vector<TAccessiblePart>& parts) {
            std::vector<std::tuple<int, std::string, std::string, int, int, bool>> out;
            for (const TAccessiblePart& p : parts)
                out.emplace_back(
                    static_cast<int>(p.role), p.name, p.text, p.caret,
                    p.selectionStart < p.selectionEnd ? p.selectionEnd * 8 + p.selectionStart : 0,
                    p.selected);
            return out;
        };
        ASSERT_EQ(kept(copy), kept(now)) << "round " << round;
        told = now;
    }
}

} // namespace
