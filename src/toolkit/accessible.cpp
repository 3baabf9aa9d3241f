// What assistive technology is told when a window's parts change: the differences between
// the parts it was last told of and the parts now, the same for every backend.

#include "toolkit/window.h"

#include <map>
#include <utility>

namespace {

using TKind = TAccessibleChange::TKind;
using TKey = std::pair<TAccessiblePart::TRole, std::string>;

TKey keyOf(const TAccessiblePart& part) {
    return {part.role, part.name};
}

// A changed text as one removed run and one inserted run, between what both ends keep.
void textChanges(const std::string& before, const std::string& after, int index,
                 std::vector<TAccessibleChange>& changes) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const int offset = static_cast<int>(head);
    if (before.size() > head + tail)
        changes.push_back(
            {TKind::TextRemoved, index, offset, before.substr(head, before.size() - head - tail)});
    if (after.size() > head + tail)
        changes.push_back(
            {TKind::TextInserted, index, offset, after.substr(head, after.size() - head - tail)});
}

// No selection is one, wherever the caret took its ends.
std::pair<int, int> selectionOf(const TAccessiblePart& part) {
    return part.selectionStart < part.selectionEnd
               ? std::pair{part.selectionStart, part.selectionEnd}
               : std::pair{0, 0};
}

} // namespace

std::vector<TAccessibleChange> accessibleChanges(const std::vector<TAccessiblePart>& before,
                                                 const std::vector<TAccessiblePart>& after) {
    // Parts are matched by role and name in order; one met out of order is removed and added.
    std::map<TKey, int> leftBefore;
    for (const TAccessiblePart& part : before)
        ++leftBefore[keyOf(part)];
    std::vector<TAccessibleChange> removed, changes;
    std::size_t i = 0, j = 0;
    while (i < before.size() || j < after.size()) {
        const int index = static_cast<int>(j);
        if (i < before.size() && j < after.size() && keyOf(before[i]) == keyOf(after[j])) {
            const TAccessiblePart &was = before[i], &is = after[j];
            textChanges(was.text, is.text, index, changes);
            if (was.caret != is.caret)
                changes.push_back({TKind::Caret, index, is.caret, {}});
            if (selectionOf(was) != selectionOf(is))
                changes.push_back({TKind::Selection, index, is.selectionStart, {}});
            if (was.selected != is.selected)
                changes.push_back({TKind::Selected, index, is.selected ? 1 : 0, {}});
            --leftBefore[keyOf(before[i++])];
            ++j;
        } else if (j < after.size() && leftBefore[keyOf(after[j])] == 0) {
            changes.push_back({TKind::Added, index, 0, {}});
            ++j;
        } else {
            --leftBefore[keyOf(before[i])];
            removed.insert(removed.begin(), {TKind::Removed, static_cast<int>(i++), 0, {}});
        }
    }
    // Removals come first, the last one first, so each index holds while they are applied.
    changes.insert(changes.begin(), removed.begin(), removed.end());
    return changes;
}
