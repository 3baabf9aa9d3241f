// The SAV folder under the file commands, typed edits, imports and other programs' changes,
// against a model of it: the files (name on disk and callsign) and the open pilot. Random
// sequences, checked after every step; a failure prints its seed and the shortest sequence
// found that still fails. DROVAK_MODEL_RUNS raises the number of sequences for a long run.
#include "apptest.h"

#include "resources/resources.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using namespace resources;

namespace {

enum Op {
    Type,
    TypePause,
    Select,
    Save,
    Duplicate,
    Rename,
    Delete,
    Undo,
    New,
    Import,
    Load,
    Rewrite,
    Add,
    Remove,
    CaseRename,
    kOps
};
const char* const kOpNames[] = {"Type",   "TypePause", "Select", "Save",   "Duplicate",
                                "Rename", "Delete",    "Undo",   "New",    "Import",
                                "Load",   "Rewrite",   "Add",    "Remove", "CaseRename"};
struct Step {
    int op;
    unsigned a, b; // which label, file or answer, taken modulo what the state offers
};
// Names that meet in case, in numbering and beyond ASCII.
const std::string kNames[] = {"ace", "ACE", "Ace", "p", "p(1)", "P(9)", "a(5)", "\u00c5se"};
const std::string kNew = " New Sav File";
constexpr unsigned kCallsignRoom = 12; // letters typed stop short of the field's end

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
bool same(const std::string& a, const std::string& b) {
    return lower(a) == lower(b);
}
std::string stem(const std::string& name) {
    return name.substr(0, name.size() - 4);
}

struct Model {
    std::map<std::string, std::string> files; // name on disk -> callsign
    std::string open;                         // the open pilot's label as the program spells it
    std::string record;                       // the callsign in the editor
    std::optional<std::string> seen;          // the open pilot's .sav as last read or written
    bool unwritten = false;                   // typed since its working copy was written
    bool newFile = false;
    std::string templ = "BULLDOG";

    std::string find(const std::string& label, const std::string& ext) const {
        for (const auto& [name, callsign] : files) {
            if (name.ends_with(ext) && same(stem(name), label)) {
                return name;
            }
        }
        return "";
    }
    std::optional<std::string> get(const std::string& label, const std::string& ext) const {
        std::string name = find(label, ext);
        return name.empty() ? std::nullopt : std::optional(files.at(name));
    }
    std::string spell(const std::string& label, const std::string& ext) const {
        std::string name = find(label, ext);
        return name.empty() ? label + ext : name;
    }
    void erase(const std::string& label, const std::string& ext) { files.erase(find(label, ext)); }
    bool exists(const std::string& label) const { return get(label, ".sav") || get(label, ".dvw"); }
    // A label is shown as its working copy is spelt, else as its .sav; sorted ignoring case.
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& [name, callsign] : files) {
            if (!exists(stem(name)) || find(stem(name), ".dvw").empty() || name.ends_with(".dvw")) {
                if (std::none_of(out.begin(), out.end(),
                                 [&](const std::string& l) { return same(l, stem(name)); })) {
                    out.push_back(stem(name));
                }
            }
        }
        std::sort(out.begin(), out.end(),
                  [](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
        return out;
    }
    void sync() {
        if (unwritten && !open.empty()) {
            files[spell(open, ".dvw")] = record;
        }
        unwritten = false;
    }
    void openLabel(const std::string& label) {
        auto shown = labels();
        auto it = std::find_if(shown.begin(), shown.end(), [&](auto& l) { return same(l, label); });
        open = it == shown.end() ? "" : *it;
        auto dvw = get(open, ".dvw");
        seen = get(open, ".sav");
        record = open.empty() ? "" : dvw ? *dvw : seen.value_or("");
        unwritten = false;
    }
    void openFirstIfGone() {
        if (!open.empty() && !exists(open)) {
            auto shown = labels();
            openLabel(shown.empty() ? "" : shown.front());
        }
    }
};

struct Outcome {
    std::vector<Step> steps;
    std::string failure; // empty: every check held
    std::size_t failedAt = 0;
};

class FolderModelTest : public AppTest {
  protected:
    TempDir outside;
    std::vector<std::string> unexpected; // questions the model did not expect

    std::string pilot(const std::string& callsign) {
        std::string bytes = readWholeFile(fs::path(DROVAK_ASSETS_DIR) / "template.sav");
        bytes.replace(80, 22, std::string(22, '\0'));
        return bytes.replace(80, callsign.size(), callsign);
    }
    void write(const std::string& name, const std::string& callsign) {
        sav.write(name, pilot(callsign));
    }
    // Runs the step on the program and the model alike; the answers are the questions expected.
    void apply(const Step& s, std::size_t n, Model& m) {
        const auto rows = m.labels();
        const std::string fresh = "C" + std::to_string(n);
        std::vector<int> answers;
        auto ask = [&](std::initializer_list<int> choices) {
            answers.push_back(*(choices.begin() + s.b % choices.size()));
            return answers.back();
        };
        auto command = [&](int id) {
            for (int a : answers) {
                headless::scriptMessageBox(a);
            }
            headless::chooseMenuItem(frame(), id);
        };
        const bool openHasCopy = !m.open.empty() && m.get(m.open, ".dvw");
        // Another program changed these files (the model has them already) and the window is
        // told, unless quietly: the open pilot follows its .sav at once while nothing of it is
        // unsaved, else after asking; gone, it gives way to the first pilot.
        auto outsideChange = [&](const std::vector<std::string>& names, bool told = true) {
            const bool touched = told && std::any_of(names.begin(), names.end(), [&](auto& n) {
                                     return !m.open.empty() && same(stem(n), m.open);
                                 });
            const bool differs = touched && m.exists(m.open) && m.get(m.open, ".sav") != m.seen;
            const int answer = differs && (openHasCopy || m.unwritten) ? ask({IDYES, IDNO}) : 0;
            for (int a : answers) {
                headless::scriptMessageBox(a);
            }
            if (told) {
                headless::changeFolder(window(), names);
            }
            headless::advanceTime(kWorkingCopyDelayMs); // the folder's news, then the pause
            m.unwritten = m.unwritten && m.exists(m.open);
            m.sync();
            if (answer == IDNO) {
                m.erase(m.open, ".dvw");
            }
            if (differs && answer != IDYES) {
                m.openFirstIfGone();
                m.openLabel(m.open);
            }
            m.seen = differs ? m.get(m.open, ".sav") : m.seen;
            m.openFirstIfGone();
            for (const std::string& label : m.labels()) {
                m.open = same(label, m.open) ? label : m.open; // spelt as its files are now
            }
        };
        switch (s.op) {
        case Type:
        case TypePause: {
            if (m.open.empty() || m.record.size() >= kCallsignRoom) {
                return;
            }
            const char key = static_cast<char>('A' + s.a % 26);
            typeCallsign(std::string(1, key));
            m.record += typed(std::string(1, key));
            m.unwritten = true;
            if (!openHasCopy || s.op == TypePause) {
                headless::advanceTime(kWorkingCopyDelayMs);
                m.sync(); // the first change is written at once, the others at the pause
            }
            return;
        }
        case Select:
            if (!rows.empty()) {
                select(rows[s.a % rows.size()]);
                if (!same(rows[s.a % rows.size()], m.open)) { // the same row: the pause still waits
                    m.sync();
                    m.openLabel(rows[s.a % rows.size()]);
                }
            }
            return;
        case Save: {
            if (!openHasCopy || m.open == kNew) {
                return; // greyed without a working copy; the new file's Save is a Save As
            }
            m.sync();
            int answer = m.get(m.open, ".sav") == m.seen ? IDYES : ask({IDYES, IDNO, IDCANCEL});
            command(CM_SAVE);
            if (answer == IDYES) {
                m.files[m.spell(m.open, ".sav")] = m.record;
                m.erase(m.open, ".dvw");
                m.seen = m.record;
            } else if (answer == IDNO) {
                m.erase(m.open, ".dvw");
                m.openFirstIfGone();
                m.openLabel(m.open);
            }
            break;
        }
        case Duplicate: {
            if (m.open.empty()) {
                return;
            }
            m.sync();
            // "p(3)" goes on from its number, up to 9; a label of four letters or fewer, or not
            // ending in a number 1 to 9 in brackets, starts at "(1)".
            std::string base = m.open;
            char digit = '1';
            const std::size_t len = base.size();
            if (len > 4 && base.ends_with(")") && base[len - 3] == '(' && base[len - 2] >= '1' &&
                base[len - 2] <= '9') {
                digit = base[len - 2];
                base.resize(len - 3);
            }
            while (digit < '9' && m.exists(base + "(" + digit + ")")) {
                ++digit;
            }
            const std::string copy = base + "(" + digit + ")";
            if (m.exists(copy)) {
                ask({IDOK});
                command(CM_DUPLICATE);
                break;
            }
            command(CM_DUPLICATE);
            m.files[copy + ".sav"] = m.record;
            m.open = copy;
            m.seen = m.record;
            break;
        }
        case Rename: {
            if (m.open.empty()) {
                return;
            }
            m.sync();
            const std::string to = kNames[s.a % std::size(kNames)] + (s.a % 3 == 0 ? "x" : "");
            int answer = IDYES;
            if (m.exists(to)) {
                ask({IDOK});
            } else if (m.get(m.open, ".sav") != m.seen) {
                answer = ask({IDYES, IDNO, IDCANCEL});
            }
            command(CM_RENAME);
            headless::endLabelEdit(list(), to);
            if (m.exists(to) || answer == IDCANCEL) {
                break;
            }
            if (answer == IDNO) {
                m.erase(m.open, ".dvw");
                if (!m.exists(m.open)) {
                    m.openFirstIfGone(); // the pilot is gone: nothing is left to rename
                    break;
                }
                m.openLabel(m.open);
            }
            m.files[to + ".sav"] = m.record;
            if (m.get(m.open, ".dvw")) {
                m.files[to + ".dvw"] = m.record;
            }
            m.erase(m.open, ".dvw");
            m.erase(m.open, ".sav");
            m.open = to;
            m.seen = m.record;
            break;
        }
        case Delete: {
            if (m.open.empty()) {
                return;
            }
            m.sync();
            if (ask({IDYES, IDNO}) == IDYES) {
                const auto at = static_cast<std::size_t>(
                    std::find_if(rows.begin(), rows.end(),
                                 [&](auto& l) { return same(l, m.open); }) -
                    rows.begin());
                m.erase(m.open, ".dvw");
                m.erase(m.open, ".sav");
                m.newFile = m.newFile && !same(m.open, kNew);
                const auto left = m.labels();
                m.openLabel(left.empty() ? "" : left[std::min(at, left.size() - 1)]);
            }
            command(CM_DELETE);
            break;
        }
        case Undo:
            if (!openHasCopy || m.newFile || !m.get(m.open, ".sav")) {
                return; // greyed; and a working copy alone has no file to go back to
            }
            m.sync();
            if (ask({IDYES, IDNO}) == IDYES) {
                m.erase(m.open, ".dvw");
                m.openLabel(m.open);
            }
            command(CM_UNDO);
            break;
        case New:
            m.sync();
            if (!m.newFile || ask({IDNO, IDCANCEL}) == IDNO) {
                m.newFile = true;
                m.files[kNew + ".dvw"] = m.templ;
                m.openLabel(kNew);
            }
            command(CM_NEW);
            break;
        case Import: {
            const std::string label = kNames[s.a % std::size(kNames)];
            const std::string name = label + (s.b % 2 ? ".SAV" : ".sav");
            outside.write(name, pilot(fresh));
            m.sync();
            if (m.exists(label) && ask({IDNO, IDYES}) == IDNO) {
                // kept: the pilot there stays, and so does the one open
            } else {
                m.files[m.spell(label, ".sav")] = fresh;
                m.erase(label, ".dvw");
                m.openLabel(label);
            }
            for (int a : answers) {
                headless::scriptMessageBox(a);
            }
            if (s.b % 4 < 2) {
                headless::dropFiles(window(), {outside.file(name)});
            } else {
                headless::scriptFileDialog(std::vector{outside.file(name)});
                headless::chooseMenuItem(frame(), CM_IMPORT);
            }
            break;
        }
        case Load:
            if (m.open.empty()) {
                return;
            }
            m.sync();
            m.templ = m.record;
            command(CM_LOAD);
            break;
        case Rewrite: {
            std::vector<std::string> saved;
            for (const auto& [name, callsign] : m.files) {
                if (name.ends_with(".sav")) {
                    saved.push_back(name);
                }
            }
            if (saved.empty()) {
                return;
            }
            const std::string name = saved[s.a % saved.size()];
            write(name, fresh);
            m.files[name] = fresh;
            outsideChange({".drovak-1.tmp", name}, s.b % 3 != 0);
            break;
        }
        case Add: {
            const std::string label = kNames[s.a % std::size(kNames)];
            if (m.exists(label)) {
                return;
            }
            const std::string name = label + (s.b % 3 == 0 ? ".dvw" : ".sav");
            write(name, fresh);
            m.files[name] = fresh;
            outsideChange({name});
            break;
        }
        case Remove: {
            if (rows.empty()) {
                return;
            }
            const std::string label = rows[s.a % rows.size()];
            const bool whole = same(label, m.open) || s.b % 2 == 0;
            std::vector<std::string> gone;
            for (const char* ext : {".dvw", ".sav"}) {
                if (!m.find(label, ext).empty() && (whole || gone.empty())) {
                    gone.push_back(m.find(label, ext));
                    fs::remove(sav.file(gone.back()));
                    m.files.erase(gone.back());
                }
            }
            outsideChange(gone);
            break;
        }
        case CaseRename: {
            if (m.files.empty()) {
                return;
            }
            auto it = std::next(m.files.begin(), static_cast<long>(s.a % m.files.size()));
            std::string to = it->first;
            auto letter =
                std::find_if(to.begin(), to.end(), [](unsigned char c) { return std::isalpha(c); });
            *letter = static_cast<char>(std::islower(static_cast<unsigned char>(*letter))
                                            ? std::toupper(*letter)
                                            : std::tolower(*letter));
            const std::string from = it->first;
            fs::rename(sav.file(from), sav.file(to));
            m.files[to] = it->second;
            m.files.erase(from);
            outsideChange({from, to});
            break;
        }
        default:
            break;
        }
        if (headless::pendingMessageBoxAnswers() != 0) {
            unexpected.push_back(std::to_string(headless::pendingMessageBoxAnswers()) +
                                 " expected question(s) not asked");
        }
    }

    // What the program shows and holds, against the model; empty when they agree.
    std::string check(const Model& m) {
        std::ostringstream out;
        for (const std::string& text : unexpected) {
            out << text << "\n";
        }
        std::map<std::string, std::string> disk;
        for (const auto& entry : fs::directory_iterator(sav.path())) {
            std::string name = entry.path().filename().string();
            disk[name] = callsignIn(name);
            if (sav.read(name) != pilot(disk[name])) {
                out << name << " holds more than its callsign changed\n";
            }
        }
        auto show = [](const std::map<std::string, std::string>& files) {
            std::string text;
            for (const auto& [name, callsign] : files) {
                text += "[" + name + ":" + callsign + "]";
            }
            return text;
        };
        if (disk != m.files) {
            out << "folder " << show(disk) << "\n  model " << show(m.files) << "\n";
        }
        const auto rows = m.labels();
        if (labels() != rows) {
            out << "the list's rows differ from the model's\n";
        }
        const auto marks = images();
        for (std::size_t i = 0; i < rows.size() && i < marks.size(); ++i) {
            if ((marks[i] == TSavListWindow::kEditImage) != m.get(rows[i], ".dvw").has_value()) {
                out << "the mark of " << rows[i] << " is " << marks[i] << "\n";
            }
        }
        const std::string file = openFile();
        const std::string ext = m.get(m.open, ".dvw") ? ".dvw" : ".sav";
        if (m.open.empty() ? !file.empty() : !same(file, m.open + ext)) {
            out << "open " << file << ", model " << m.open << ext << "\n";
        }
        if (std::string(window().currentPlayer().callsign.data()) != m.record) {
            out << "record " << window().currentPlayer().callsign.data() << ", model " << m.record
                << "\n";
        }
        const int row = selected();
        if (!m.open.empty() &&
            (row < 0 || !same(labels()[static_cast<std::size_t>(row)], m.open))) {
            out << "the selected row is not the open pilot\n";
        }
        if (game.read("raptor.sav").c_str() + 80 != m.templ) {
            out << "the game's pilot is not the one loaded last\n";
        }
        return out.str();
    }

    Outcome play(const std::vector<Step>& steps) {
        app.reset();
        headless::reset();
        unexpected.clear();
        headless::setTrashAvailable(true);
        headless::answerMessageBoxesWith([this](const headless::TMessageBoxRecord& box) {
            unexpected.push_back("asked: " + box.text);
            return box.buttons == MB_OK ? IDOK : box.buttons == MB_YESNO ? IDNO : IDCANCEL;
        });
        fs::remove_all(sav.path());
        fs::create_directory(sav.path());
        fs::copy_file(fs::path(DROVAK_ASSETS_DIR) / "template.sav", game.path() / "raptor.sav",
                      fs::copy_options::overwrite_existing);
        writeSettings();
        Model m;
        m.files = {{"ace.sav", "ACE"}, {"p.sav", "P"}, {"p(1).sav", "P1"}, {"p(1).dvw", "P1E"}};
        for (const auto& [name, callsign] : m.files) {
            write(name, callsign);
        }
        start();
        m.openLabel("ace");
        Outcome run{steps, check(m), 0};
        for (std::size_t n = 0; n < steps.size() && run.failure.empty(); ++n) {
            try {
                apply(steps[n], n, m);
                run.failure = check(m);
            } catch (const std::exception& e) {
                run.failure = e.what();
            }
            run.failedAt = n;
        }
        headless::answerMessageBoxesWith({});
        return run;
    }
};

TEST_F(FolderModelTest, CommandsEditsAndOtherProgramsKeepEveryPilot) {
    const char* env = std::getenv("DROVAK_MODEL_RUNS");
    const int runs = env != nullptr ? std::atoi(env) : 12;
    const std::size_t length = 40;
    for (int seed = 1; seed <= runs; ++seed) {
        std::mt19937 random(static_cast<unsigned>(seed));
        std::vector<Step> steps(length);
        for (Step& s : steps) {
            s = {static_cast<int>(random() % kOps), static_cast<unsigned>(random() % 1000),
                 static_cast<unsigned>(random() % 1000)};
        }
        Outcome run = play(steps);
        if (run.failure.empty()) {
            continue;
        }
        // Shrink: drop each step that the failure does not need.
        steps.resize(run.failedAt + 1);
        for (std::size_t i = 0; i < steps.size();) {
            std::vector<Step> fewer = steps;
            fewer.erase(fewer.begin() + static_cast<long>(i));
            Outcome shorter = play(fewer);
            if (!shorter.failure.empty()) {
                run = shorter;
                steps = fewer;
                steps.resize(run.failedAt + 1);
            } else {
                ++i;
            }
        }
        std::ostringstream trace;
        for (const Step& s : steps) {
            trace << kOpNames[s.op] << "(" << s.a << "," << s.b << ") ";
        }
        ADD_FAILURE() << "seed " << seed << ": " << trace.str() << "\n" << run.failure;
        return;
    }
}

} // namespace
