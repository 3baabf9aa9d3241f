// The editor's text, cursor and selection against a small model of its rules, compared after
// every step of random sequences. A failure prints its seed and the shortest failing sequence;
// DROVAK_EDIT_MODEL_RUNS and DROVAK_EDIT_MODEL_SEED set the number of sequences and the first.

#include "editor_fixture.h"

#include <cstdlib>
#include <random>
#include <sstream>
#include <tuple>
#include <utility>

namespace {

// The budget in CI: about two seconds under the sanitizers.
constexpr int kSequences = 400;
constexpr int kSteps = 80;

constexpr std::array<int, kFieldCount + 1> kCap{0, 22, 22, 12, 2, 22, 22};
constexpr std::array<char, kFieldCount + 1> kDefault{'2', '5', '4', '2', '2', '2', '2'};

constexpr auto textField = [](int f) { return f >= 1 && f <= kFieldCount && f != kFieldSide; };
constexpr auto codesField = [](int f) { return f == 1 || f == 2 || f == 6; }; // takes codes
constexpr auto digit = [](char c) { return c >= '0' && c <= '9'; };
constexpr auto z = [](int i) { return static_cast<std::size_t>(i); };

// A character a layout types, and the byte it puts into a field and into the password; 0 where
// the font lacks it.
// clang-format off
struct TypedChar { char32_t c; unsigned char byte, password; };
constexpr TypedChar kChars[] = {
    {U'a', 'a', 'A'}, {U'B', 'B', 'B'}, {U'z', 'z', 'Z'}, {U'3', '3', '3'}, {U'5', '5', '5'}, {U'0', '0', '0'},
    {U'~', '~', '~'}, {U'~', '~', '~'}, {U' ', ' ', ' '}, {U'-', '-', '-'}, {U'!', '!', '!'}, {U'{', 0, 0},
    {U'\u00E9', 0xE9, 0xC9}, {U'\u00FF', 0xFF, 0x9F}, {U'\u0153', 0x9C, 0x8C}, {U'\u00E0', 0xE0, 0xC0},
    {U'\u00FE', 0xFE, 0xDE}, {U'\u20AC', 0, 0}, {U'\u65E5', 0, 0}, {U'\t', 0, 0}, {0x7F, 0, 0}};
// Keys pressed alone, and whether a layout types with them (then the character comes apart).
constexpr std::pair<int, bool> kKeys[] = {
    {kKeyBackspace, false}, {kKeyDelete, false}, {kKeyLeft, false}, {kKeyRight, false},
    {kKeyHome, false}, {kKeyEnd, false}, {kKeyLeft, false}, {kKeyRight, false},
    {kKeyCapsLock, false}, {kKeyUnmapped, false}, {45, false}, {kKeySpace, true},
    {kKeyX, true}, {kKeyMinus, true}};
enum class Op { Char, Key, Hold, Release, Chord, Color, Extended, Click, Drag, EndDrag, Tab, Leave,
                Replace, Clipboard, Save, ShowCodes };
constexpr const char* kOpNames[] = {"char", "key", "hold", "release", "chord", "colour", "ext",
    "click", "drag", "drop", "enter", "leave", "reset", "clip", "save", "showCodes"};
struct Step { Op op; int a = 0, b = 0; std::string s{}; };
// clang-format on

// The rules, as the editor's user sees them.
struct Model {
    std::array<std::string, kFieldCount + 1> text{}, saved{};
    int savedSide = 0, side = 0, field = kNoField, cursor = 0, anchor = 0, dirtyMarks = 0,
        undos = 0;
    bool selection = false, dragging = false, dirty = false, palette = false, showCodes = true;
    bool shift = false, control = false;
    std::optional<std::string> clipboard;

    std::string& cur() { return text[z(field)]; }
    int cap() const { return kCap[z(field)]; }
    int len() { return static_cast<int>(cur().size()); }
    char at(int i) { return cur()[z(i)]; }
    // A colour code: a tilde and a digit.
    bool code(int i) { return i >= 0 && i + 1 < len() && at(i) == '~' && digit(at(i + 1)); }
    bool visible(int i) { return at(i) != '~' && !(i > 0 && at(i - 1) == '~' && digit(at(i))); }
    void mark() { dirtyMarks += std::exchange(dirty, true) ? 0 : 1; }
    // The colour set by the codes whose digits lie before index end.
    char colourBefore(int end) {
        char c = kDefault[z(field)];
        for (int i = 1; i < std::min(end, len()); ++i) {
            c = at(i - 1) == '~' && digit(at(i)) ? at(i) : c;
        }
        return c;
    }
    void fit() {
        if (textField(field) && len() == cap()) {
            cur().pop_back(); // the last byte becomes the terminator
        }
        cursor = std::clamp(cursor, 0, textField(field) ? len() : 0);
        anchor = std::clamp(anchor, 0, textField(field) ? len() : 0);
    }
    bool insert(int i, const std::string& bytes) {
        if (bytes.empty() || i < 0 || i > len() ||
            len() + static_cast<int>(bytes.size()) >= cap()) {
            return false;
        }
        cur().insert(z(i), bytes);
        return true;
    }
    void erase(int i, int n) { cur().erase(z(i), z(n)); }
    std::pair<int, int> span() {
        const int hi = std::min(std::max(cursor, anchor), len());
        return {std::clamp(std::min(cursor, anchor), 0, hi), hi};
    }
    void deleteSelection() {
        const auto [lo, hi] = span();
        if (hi > lo) {
            mark();
            erase(lo, hi - lo);
        }
        cursor = anchor = lo;
        selection = false;
    }
    void put(char b) {
        mark();
        cur().insert(z(cursor++), 1, b);
    }
    // A byte typed, 0 for one the field cannot take (which still replaces a selection). A
    // blank goes before a code the cursor splits; a full field takes nothing, even over a
    // selection.
    void typeByte(char b) {
        const bool room = len() + 1 < cap();
        if (selection) {
            deleteSelection();
        } else if (b == ' ' && code(cursor - 1)) {
            --cursor;
        }
        if (b != 0 && room) {
            put(b);
        }
    }
    // Backspace (back) and Delete: a code goes whole, the one beside the cursor or the one
    // the cursor splits.
    void remove(bool back) {
        if (selection) {
            return deleteSelection();
        }
        const bool lone = len() < 3 && code(0); // goes whole whichever side of it the key is
        if (!lone && cursor == (back ? 0 : len())) {
            return;
        }
        mark();
        const int beside = back ? cursor - 2 : cursor;
        cursor = lone               ? 0
                 : code(cursor - 1) ? cursor - 1
                 : code(beside)     ? beside
                 : back             ? cursor - 1
                                    : cursor;
        erase(cursor, code(cursor) ? 2 : 1);
    }
    // A colour picked. Over a selection the selection loses its codes and takes the colour,
    // and the text after it keeps its own. Then a code beside the cursor changes, or goes
    // when it would repeat the colour before it; else a new code goes in.
    void colour(char d) {
        mark();
        char prev = colourBefore(cursor - 1);
        if (selection) {
            auto [lo, hi] = span();
            hi += code(hi - 1) ? 1 : 0;
            prev = colourBefore(hi);
            for (int i = lo; i <= hi - 2;) {
                if (code(i)) {
                    erase(i, 2);
                    hi -= 2;
                } else {
                    ++i;
                }
            }
            // The text after the selection keeps its colour.
            if (d != prev && codesField(field) && hi < len() && hi + 4 < cap() && !code(hi)) {
                insert(hi, std::string{'~', prev});
            }
            selection = false;
            cursor = anchor = lo;
            prev = colourBefore(cursor - 1);
        }
        if (!codesField(field)) {
            return;
        }
        const int j = len() >= 3 && code(cursor - 2) ? cursor - 1
                      : code(cursor - 1)             ? cursor
                      : code(cursor)                 ? cursor + 1
                                                     : -1;
        if (j >= 0 && d == prev) {
            cursor = j + 1;
            remove(true);
        } else if (j >= 0) {
            cur()[z(j)] = d;
        } else if (d != prev && insert(cursor, std::string{'~', d})) {
            cursor += 2;
        }
    }
    // A code repeating the colour in force goes; indexes move with the text.
    void dedupe() {
        if (!codesField(field)) {
            return;
        }
        char inForce = kDefault[z(field)];
        auto follow = [](int& index, int start) {
            index = index >= start + 2 ? index - 2 : index == start + 1 ? start : index;
        };
        for (int i = 0; i + 1 < len();) {
            if (!code(i)) {
                ++i;
            } else if (at(i + 1) != inForce) {
                inForce = at(i + 1);
                i += 2;
            } else {
                erase(i, 2);
                follow(cursor, i);
                follow(anchor, i);
                i = std::max(i - 1, 0);
            }
        }
    }
    void settle() {
        dedupe();
        anchor = std::clamp(anchor, 0, len());
    }
    void copy() {
        if (selection) {
            const auto [lo, hi] = span();
            clipboard = cur().substr(z(lo), z(hi - lo));
        }
    }
    void paste() {
        std::string p = clipboard.value_or("").c_str();
        if (p.empty()) {
            return;
        }
        if (selection) {
            deleteSelection();
        }
        mark();
        p.resize(std::min(p.size(), static_cast<std::size_t>(std::max(0, cap() - 1 - len()))));
        cursor += insert(cursor, p) ? static_cast<int>(p.size()) : 0;
    }
    void key(int k, bool types) {
        if (!textField(field)) {
            return field == kNoField && control && k == kKeyZ ? undo() : void();
        }
        fit();
        palette = false;
        const bool move = k == kKeyLeft || k == kKeyRight || k == kKeyHome || k == kKeyEnd;
        selection = selection && !(move && !shift);
        if (k == kKeyBackspace || k == kKeyDelete) {
            remove(k == kKeyBackspace);
        } else if (k == kKeyShift && !selection) {
            selection = true;
            anchor = cursor;
        } else if (move) {
            cursor = k == kKeyHome  ? 0
                     : k == kKeyEnd ? len()
                                    : std::clamp(cursor + (k == kKeyLeft ? -1 : 1), 0, len());
        } else if (control && k == kKeyZ) {
            undo();
            fit();
        } else if (control && k == kKeyX && selection) {
            mark();
            copy();
            deleteSelection();
        } else if (control && k == kKeyC) {
            copy();
        } else if (control && k == kKeyV) {
            paste();
        } else if (!control && !types && k != kKeyShift && k != kKeyControl && k != kKeyCapsLock) {
            typeByte(0); // a key that types nothing takes the selection away
        }
        settle();
    }
    void undo() {
        ++undos;
        text = saved;
        side = savedSide;
    }
    void typed(const TypedChar& t) {
        if (!textField(field) || control || t.c < U' ' || t.c == 0x7F) {
            return;
        }
        fit();
        palette = false;
        typeByte(static_cast<char>(field == kFieldSquadronPassword ? t.password : t.byte));
        settle();
    }
    // A display position in the field as drawn with its codes hidden (the IP address hides none).
    int hiddenIndex(int pos) {
        if (field == kFieldIpAddress) {
            return std::clamp(pos, 0, len());
        }
        int i = 0;
        for (int seen = 0; pos > 0 && i < len() && seen < pos; ++i) {
            seen += visible(i) ? 1 : 0;
        }
        return code(i) ? i + 2 : i;
    }
    int displayIndex(int pos) { return showCodes ? std::clamp(pos, 0, len()) : hiddenIndex(pos); }
    // The cursor's cell with the codes hidden; past the text, one more than the cells passed.
    int cursorCell() {
        int cells = 0;
        for (int i = 0; i < std::min(cursor, len()); ++i) {
            cells += visible(i) ? 1 : 0;
        }
        return cells + (cursor > len() ? cursor - len() + 1 : 0);
    }
    void leave() {
        dragging = selection = palette = false;
        field = kNoField;
    }
    // A click at a display position, or (no position) the field entered from the keyboard.
    void click(int f, std::optional<int> pos) {
        if (f < 1 || f > kFieldCount) {
            return leave();
        }
        const int previous = std::exchange(field, f);
        fit();
        selection = false;
        if (!pos) {
            dragging = palette = false;
            cursor = anchor = textField(f) ? len() : 0;
        } else if (f == kFieldSide) {
            mark();
            side = (side + 1) % 3;
            dragging = dragging && f == previous;
        } else {
            cursor = anchor = f == previous ? displayIndex(*pos) : hiddenIndex(*pos);
            dragging = true;
        }
    }
};

// One sequence run on a fresh screen beside the model.
struct Run : ScreenRig {
    Model m;
    TGuardedFields saved;
    TKeyModifiers held;
    std::string note; // what a call answered that the model did not expect

    Run() {
        owner.onUndo = [this] { fields = saved; }; // Undo reads the file saved last
    }

    void apply(const Step& s) {
        owner.repaints.clear();
        TDrovakScreen& e = *screen;
        TKeyModifiers h = held;
        constexpr int kChords[] = {kKeyX, kKeyC, kKeyV, kKeyZ, kKeyA};
        constexpr int kTextFields[] = {1, 2, 3, 5, 6};
        const int modifier = s.a % 2 != 0 ? kKeyShift : kKeyControl;
        const int field = s.a % (kFieldCount + 2); // 0 and 7 lie outside the fields
        switch (s.op) {
        case Op::Char: {
            const TypedChar& t = kChars[z(s.a) % std::size(kChars)];
            const int mods = std::max(0, s.b % 8 - 4); // mostly none; Shift, AltGr, Control
            h.shift = h.shift || mods == 1;
            h.control = h.control || mods >= 2;
            h.alt = mods == 2;
            m.control = h.control && !h.alt;
            e.setChar(t.c, h);
            m.typed(t);
            // A tilde is often followed by a digit: a colour code typed whole, half the time
            // one repeating the colour in force.
            if (t.c == U'~' && s.b % 3 == 0 && textField(m.field)) {
                const auto d = static_cast<unsigned char>(
                    s.a % 2 != 0 ? m.colourBefore(m.cursor - 1) : '2' + s.a % 4);
                e.setChar(d, h);
                m.typed({d, d, d});
            }
            break;
        }
        case Op::Hold:
        case Op::Release:
            (modifier == kKeyShift ? held.shift : held.control) = s.op == Op::Hold;
            s.op == Op::Hold ? e.setKeyDown(modifier, held) : e.setKeyUp(modifier, held);
            m.shift = held.shift;
            m.control = held.control;
            s.op == Op::Hold ? m.key(modifier, false) : void();
            break;
        case Op::Chord:
        case Op::Key: {
            h.control = h.control || s.op == Op::Chord;
            const auto [key, types] = s.op == Op::Chord ? std::pair{kChords[s.a % 5], true}
                                                        : kKeys[z(s.a) % std::size(kKeys)];
            e.setKeyDown(key, h);
            e.setKeyUp(key, h);
            m.shift = h.shift;
            m.control = h.control;
            m.key(key, types);
            break;
        }
        case Op::Color:
        case Op::Extended: {
            const int n = s.a % (kPaletteRows * kPaletteColumns);
            const char c = s.op == Op::Color ? static_cast<char>('0' + s.a % 10)
                                             : TDrovakScreen::extendedChar(n / kPaletteColumns,
                                                                           n % kPaletteColumns);
            s.op == Op::Color ? e.pickColor(c) : e.pickExtendedChar(c);
            if (textField(m.field) && m.field != kFieldIpAddress) {
                m.fit();
                if (s.op == Op::Color) {
                    m.colour(c);
                } else if (m.len() + 1 < m.cap()) {
                    m.put(c); // beside a selection, which stays
                }
                m.settle();
            }
            m.palette = true;
            break;
        }
        case Op::Click:
            note += e.clickField(field, s.b) != (field >= 1 && field <= kFieldCount)
                        ? "the click's answer is wrong; "
                        : "";
            m.click(field, s.b);
            break;
        case Op::Drag:
            // At the right edge of the cell: a cell's pixels all belong to it.
            e.checkDrag(TPoint(e.fieldRect(m.field).left + kCharAdvance * s.b + 17, 0));
            if (m.dragging && textField(m.field)) {
                m.fit();
                m.cursor = m.displayIndex(s.b);
            }
            break;
        case Op::EndDrag:
            e.endDrag();
            m.selection = m.dragging ? m.cursor != m.anchor : m.selection;
            m.dragging = false;
            break;
        case Op::Tab:
            e.enterField(field);
            m.click(field, std::nullopt);
            break;
        case Op::Leave:
            e.endEdit();
            m.leave();
            break;
        case Op::Replace: {
            // The record replaced under the editor, often the field being edited; no terminator
            // when the text fills the field.
            const int f = s.b % 2 == 0 && textField(m.field) ? m.field : kTextFields[s.a % 5];
            const std::string text = std::string(s.s.c_str()).substr(0, kCap[z(f)]);
            fields.set(f, text);
            m.text[z(f)] = text;
            break;
        }
        case Op::Clipboard:
            owner.clipboard = m.clipboard = s.s;
            break;
        case Op::Save:
            // A save typed on the keyboard ends the edit and takes it up again.
            e.resetDirty();
            m.dirty = false;
            saved = fields;
            m.saved = m.text;
            m.savedSide = m.side;
            if (const auto edit = e.fieldEdit()) {
                e.endEdit();
                e.resumeEdit(*edit);
                m.fit();
                m.selection = m.selection && m.cursor != m.anchor;
                m.dragging = m.palette = false;
            }
            break;
        case Op::ShowCodes:
            e.setShowColorChars(m.showCodes = s.a % 2 != 0);
            break;
        }
    }

    // What differs between the screen and the model; empty when nothing does. After a step from
    // b: the field left and the field entered are repainted, and the current one when its text,
    // cursor or selection changed (the owner repaints what it replaces itself).
    std::string differences(const Model* b) {
        std::ostringstream out;
        out << note;
        auto same = [&out](const char* what, const auto& got, const auto& want) {
            if (got != want) {
                out << what << " is " << ::testing::PrintToString(got) << ", the model says "
                    << ::testing::PrintToString(want) << "; ";
            }
        };
        for (int f = 1; f <= kFieldCount; ++f) {
            std::string want =
                f == kFieldSide ? std::string(1, static_cast<char>(m.side)) : m.text[z(f)];
            want.resize(z(kCap[z(f)]), '\0');
            const std::span<char> got = fields.field(f);
            same(("buffer " + std::to_string(f)).c_str(), std::string(got.begin(), got.end()),
                 want);
        }
        same("(guards intact, field, cursor, anchor, selection, dragging, palette click, dirty, "
             "dirty marks, undos, clipboard)",
             std::tuple{fields.guardsIntact(), screen->getCurrentField(), screen->getCursor(),
                        screen->getAnchor(), screen->isHilight(), screen->isDragging(),
                        screen->isExtChar(), screen->isDirty(), owner.dirtyFileCalls,
                        owner.undoCalls, owner.clipboard},
             std::tuple{true, m.field, m.cursor, m.anchor, m.selection, m.dragging, m.palette,
                        m.dirty, m.dirtyMarks, m.undos, m.clipboard});
        if (textField(m.field)) {
            same("cursor cell", screen->getCursorIndex(screen->fieldText(m.field), m.cursor),
                 m.cursorCell());
        }
        auto need = [&](int f) {
            const auto& r = owner.repaints;
            if (f != kNoField && std::find(r.begin(), r.end(), screen->fieldRect(f)) == r.end()) {
                out << "field " << f << " not repainted; ";
            }
        };
        const auto f = z(m.field);
        if (b != nullptr && b->field != m.field) {
            need(b->field);
            need(m.field);
        } else if (b != nullptr &&
                   (b->cursor != m.cursor || b->selection != m.selection || b->side != m.side ||
                    b->text[f] != m.text[f] || (m.selection && b->anchor != m.anchor))) {
            need(m.field);
        }
        return out.str();
    }
};

// The step at which a sequence first goes wrong, and how.
std::optional<std::pair<std::size_t, std::string>> failure(const std::vector<Step>& steps) {
    Run run;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Model before = run.m;
        run.apply(steps[i]);
        const std::string d = run.differences(steps[i].op == Op::Replace ? nullptr : &before);
        if (!d.empty()) {
            return std::pair{i, d};
        }
    }
    return std::nullopt;
}

// Each step carries two numbers and a text; its operation reads what it needs from them.
std::vector<Step> randomSteps(std::mt19937& random) {
    static const std::string bytes = std::string("AB~~35 \xE9") + '\0';
    std::uniform_int_distribution<int> number(0, 9999), cell(-2, 23), length(0, 22);
    std::uniform_int_distribution<std::size_t> byte(0, bytes.size() - 1);
    // How often each operation comes, in the order of Op.
    std::discrete_distribution<int> op{30, 22, 4, 4, 6, 8, 5, 8, 4, 4, 3, 1, 2, 2, 1, 1};
    std::vector<Step> steps(kSteps);
    for (Step& s : steps) {
        s = {static_cast<Op>(op(random)), number(random), cell(random),
             std::string(z(length(random)), ' ')};
        std::generate(s.s.begin(), s.s.end(), [&] { return bytes[byte(random)]; });
    }
    return steps;
}

TEST(EditModel, RandomSequencesFollowTheRules) {
    const auto fromEnvironment = [](const char* name, int fallback) {
        return std::getenv(name) != nullptr ? std::atoi(std::getenv(name)) : fallback;
    };
    const int first = fromEnvironment("DROVAK_EDIT_MODEL_SEED", 1);
    const int runs = fromEnvironment("DROVAK_EDIT_MODEL_RUNS", kSequences);
    for (int seed = first; seed < first + runs; ++seed) {
        std::mt19937 random(static_cast<unsigned>(seed));
        std::vector<Step> steps = randomSteps(random);
        auto failed = failure(steps);
        if (!failed) {
            continue;
        }
        // Shrink: drop each step, last first, that the sequence still fails without.
        steps.resize(failed->first + 1);
        for (std::size_t i = steps.size(); i-- > 0;) {
            std::vector<Step> shorter = steps;
            shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(i));
            if (auto f = failure(shorter)) {
                std::tie(steps, failed) = std::pair{shorter, f};
            }
        }
        steps.resize(failed->first + 1);
        std::string shown;
        for (const Step& s : steps) {
            shown += std::string(kOpNames[static_cast<int>(s.op)]) + '(' + std::to_string(s.a) +
                     ',' + std::to_string(s.b) + ',' + ::testing::PrintToString(s.s) + ") ";
        }
        FAIL() << "seed " << seed << ": after " << shown << "\n" << failed->second;
    }
}

} // namespace
