#include "list/savlistwindow.h"

#include "list/savfolder.h"
#include "resources/resources.h"
#include "support/filename.h"
#include "support/pathsep.h"
#include "support/trace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSavExtension = ".sav";
constexpr const char* kWorkingCopyExtension = ".dvw";
constexpr std::size_t kExtensionLength = 4;
// The file selectFile falls back to: the game's own player file, when the folder has one.
constexpr const char* kFallbackFile = "raptor.sav";

std::string stripExtension(std::string name) {
    if (name.size() > kExtensionLength) {
        std::string_view tail(name.data() + name.size() - kExtensionLength, kExtensionLength);
        if (tail == kSavExtension || tail == kWorkingCopyExtension) {
            name.resize(name.size() - kExtensionLength);
        }
    }
    return name;
}

// The label of a file name: the name without its extension.
std::string_view labelPart(std::string_view name) {
    return name.substr(0, name.size() - kExtensionLength);
}

// As the listing reads extensions: "Bob.DVW" is Bob's working copy where names ignore case.
bool isWorkingCopy(std::string_view name) {
    return hasExtension(name, kWorkingCopyExtension);
}

// The order of the known names: by label as the list compares labels, a label's working
// copies before its SAV files, and the spellings of one name in byte order, so that the first
// name of a label is the one a fill shows it by.
int compareKinds(std::string_view a, std::string_view b) {
    int byLabel = TListItems::Compare(labelPart(a), labelPart(b));
    if (byLabel != 0) {
        return byLabel;
    }
    bool aCopy = isWorkingCopy(a);
    return aCopy == isWorkingCopy(b) ? 0 : (aCopy ? -1 : 1);
}

bool nameBefore(const std::string& a, const std::string& b) {
    int byKind = compareKinds(a, b);
    return byKind != 0 ? byKind < 0 : a < b;
}

bool kindBefore(const std::string& a, const std::string& b) {
    return compareKinds(a, b) < 0;
}

// A name the list shows: a SAV file or working copy, not hidden, short enough for the
// program's file-name texts.
bool isListedName(std::string_view name, std::size_t maxLength) {
    return name.size() > kExtensionLength && name.size() <= maxLength &&
           isPlainFileName(std::string(name)) &&
           (hasExtension(name, kSavExtension) || hasExtension(name, kWorkingCopyExtension));
}

} // namespace

// clang-format off
DEFINE_RESPONSE_TABLE1(TSavListWindow, TListWindow)
    EV_WM_LBUTTONDOWN,
    EV_WM_LBUTTONUP,
    EV_WM_RBUTTONDOWN,
    EV_WM_MOUSEMOVE,
    EV_WM_KEYDOWN,
    EV_WM_KEYUP,
    EV_WM_CHAR,
END_RESPONSE_TABLE;
// clang-format on

TSavListWindow::TSavListWindow(TWindow* parent, TSavListOwner& listOwner, int id, int x, int y,
                               int w, int h)
    : TListWindow(parent, id, x, y, w, h), owner(listOwner) {
    trace("TSavListWindow", "");
    // The selection logic relies on the items staying sorted by label.
    Attr.Style |=
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SORTASCENDING | LVS_EDITLABELS | LVS_NOSORTHEADER;
    Attr.ExStyle |= WS_EX_CLIENTEDGE;
    SetCursor(resources::kArrowCursor);
}

TSavListWindow::~TSavListWindow() {
    trace("~TSavListWindow", "");
}

void TSavListWindow::setSavPath(const char* path) {
    trace("setSavPath", "");
    savPath = path ? path : "";
    if (savPath.size() > kPathCapacity - 1) {
        savPath.resize(kPathCapacity - 1);
    }
    names.clear();
    namesTime.reset();
}

void TSavListWindow::fillListWindow() {
    trace("fillListWindow", "");
    if (GetItemCount() > 0) {
        DeleteAllItems();
    }
    // The dirty list describes this folder alone: a label left from another folder, or from
    // a working copy removed behind the program's back, would open a working copy that does
    // not exist and a later save would write its empty fields over the real file.
    dirtyFiles.clear();
    currentFileName.clear();
    // The files may have changed under every label: the next selection opens its file afresh
    // even when it keeps the label that was open.
    reportNextSelection = true;

    scanNames();
    // The first name of each label is the one it is shown by (a working copy gives the edit
    // mark). Handing the items over in the list's own order lets each go to the end.
    const std::string* previous = nullptr;
    for (const std::string& name : names) {
        if (previous != nullptr &&
            TListItems::Compare(labelPart(*previous), labelPart(name)) == 0) {
            continue;
        }
        previous = &name;
        std::string label(labelPart(name));
        TListWindItem item(label.c_str());
        item.SetImageIndex(isWorkingCopy(name) ? kEditImage : kPlainImage);
        InsertItem(item);
        if (isWorkingCopy(name)) {
            dirtyFiles.push_back(std::move(label));
        }
    }
    std::sort(dirtyFiles.begin(), dirtyFiles.end());
    fitColumns();
}

void TSavListWindow::updateLabel(const std::string& label) {
    trace("updateLabel", "");
    // The names the label's files may have: those known, and the program's own spelling.
    std::vector<std::string> candidates;
    for (const char* extension : {kWorkingCopyExtension, kSavExtension}) {
        std::string key = label + extension;
        auto [first, last] = std::equal_range(names.begin(), names.end(), key, kindBefore);
        candidates.insert(candidates.end(), std::make_move_iterator(first),
                          std::make_move_iterator(last));
        names.erase(first, last);
        candidates.push_back(std::move(key));
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::string folder = savPath.empty() ? std::string(".") + kPathSeparator : savPath;
    for (std::string& name : candidates) {
#ifdef _WIN32
        // A case-blind disk opens "ACE.sav" as "ace.sav": only the spelling on disk is a name.
        name = findNameOnDisk(folder, name);
        if (name.empty() || std::find(names.begin(), names.end(), name) != names.end()) {
            continue;
        }
#endif
        std::error_code ec;
        if (isListedName(name, kMaxNameLength) && fs::is_regular_file(fsPath(folder + name), ec)) {
            names.insert(std::upper_bound(names.begin(), names.end(), name, nameBefore),
                         std::move(name));
        }
    }

    std::optional<TShown> shown = shownFor(label);
    int index = findLabel(label);
    bool selected = false;
    if (index >= 0) {
        const TListItems::TItem& item = GetItems().At(index);
        if (shown && item.label == shown->label && item.image == shown->image) {
            // Its files changed all the same: the callsign and date cells may read otherwise.
            RedrawItems(index, index);
            noteFolderTime();
            return;
        }
        selected = item.selected;
        if (item.image == kEditImage) {
            removeDirtyFile(item.label.c_str());
        }
        DeleteAnItem(index);
    }
    if (shown) {
        TListWindItem item(shown->label.c_str());
        item.SetImageIndex(shown->image);
        int at = InsertItem(item);
        if (selected) {
            SetSel(at, true);
        }
        if (shown->image == kEditImage) {
            addDirtyFile(shown->label.c_str());
        }
        RedrawItems(at, at);
    }
    fitColumns();
    noteFolderTime();
}

int TSavListWindow::findLabel(std::string_view label) const {
    const TListItems& items = GetItems();
    int lo = 0;
    int hi = items.Count();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (TListItems::Compare(items.At(mid).label, label) < 0) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo < items.Count() && TListItems::EqualNoCase(items.At(lo).label, label) ? lo : -1;
}

std::optional<TSavListWindow::TShown> TSavListWindow::shownFor(std::string_view label) const {
    std::string key = std::string(label) + kWorkingCopyExtension;
    auto it = std::lower_bound(names.begin(), names.end(), key, kindBefore);
    if (it == names.end() || TListItems::Compare(labelPart(*it), label) != 0) {
        return std::nullopt;
    }
    return TShown{std::string(labelPart(*it)), isWorkingCopy(*it) ? kEditImage : kPlainImage};
}

void TSavListWindow::fitColumns() {
    bool few = GetItemCount() < kFewItems;
    SetColumnWidth(0, few ? kLabelWidth : kLabelWidthScrolled);
    // A date column wider than planned takes its room from the callsign's.
    int wider = std::max(0, GetColumnWidth(2) - kDateWidth);
    SetColumnWidth(1, (few ? kCallsignWidth : kCallsignWidthScrolled) - wider);
}

void TSavListWindow::scanNames() const {
    // The time first: a change made while the folder is read shows as a later time.
    noteFolderTime();
    names.clear();
    for (auto& kind : findFolderFiles(savPath, {kWorkingCopyExtension, kSavExtension})) {
        for (std::string& name : kind) {
            // The program keeps file names in texts of kFileNameCapacity bytes; a longer name
            // could be neither opened nor saved under its own name.
            if (name.size() <= kMaxNameLength) {
                names.push_back(std::move(name));
            }
        }
    }
    std::sort(names.begin(), names.end(), nameBefore);
}

void TSavListWindow::noteFolderTime() const {
    std::error_code ec;
    auto time = fs::last_write_time(savPath.empty() ? fs::path(".") : fsPath(savPath), ec);
    namesTime = ec ? std::nullopt : std::optional(time);
}

bool TSavListWindow::folderChangedElsewhere() const {
    std::error_code ec;
    auto time = fs::last_write_time(savPath.empty() ? fs::path(".") : fsPath(savPath), ec);
    return ec || !namesTime || time != *namesTime;
}

std::string TSavListWindow::diskNameOr(const std::string& name) const {
    trace("diskNameOr", "");
#ifndef _WIN32
    // A case-blind disk finds a file by any spelling, so only elsewhere is this the name. Asked
    // first, it spares the first paint a read of the whole folder.
    std::error_code ec;
    std::string folder = savPath.empty() ? std::string(".") + kPathSeparator : savPath;
    if (fs::symlink_status(fsPath(folder + name), ec).type() != fs::file_type::not_found && !ec) {
        return name;
    }
#endif
    // Every other spelling is looked up in the names known: a folder changed behind the list's
    // back is read again before the owner writes into it.
    if (folderChangedElsewhere()) {
        scanNames();
    }
    if (!isListedName(name, kMaxNameLength)) {
        return ::diskNameOr(savPath, name);
    }
    auto it = std::lower_bound(names.begin(), names.end(), name, kindBefore);
    return it != names.end() && sameNameIgnoringCase(*it, name) ? *it : name;
}

void TSavListWindow::updateList() {
    trace("updateList", "");
    std::vector<int> selected = GetItems().Selected();
    if (selected.empty()) {
        // An emptied list leaves no file to show: the owner must not keep editing (and later
        // write back) the file it had open, which may just have been deleted.
        if (GetItemCount() == 0 && !lastFileName.empty()) {
            currentFileName.clear();
            lastFileName.clear();
            owner.resetPlayerInfo("");
        }
        return;
    }
    currentFileName = GetItems().At(selected.front()).label;
    std::string fileName = currentFileName;
    fileName +=
        doesDirtyFileExist(currentFileName.c_str(), false) ? kWorkingCopyExtension : kSavExtension;
    if (!currentFileName.empty() && (currentFileName != lastFileName || reportNextSelection)) {
        lastFileName = currentFileName;
        reportNextSelection = false;
        owner.resetPlayerInfo(fileName.c_str());
    }
}

void TSavListWindow::selectFile(const char* name) {
    trace("selectFile", "");
    int found = -1;
    if (name != nullptr) {
        std::array<char, kFileNameCapacity> label{};
        parseFileName(label.data(), name, label.size());
        truncFileName(label.data());
        found = findLabel(label.data());
    }
    clearSelection();
    if (found >= 0) {
        EnsureVisible(found, true);
        SetSel(found, true);
    } else if (name == nullptr || std::strcmp(name, kFallbackFile) != 0) {
        selectFile(kFallbackFile);
        return;
    } else {
        EnsureVisible(0, true);
        SetSel(0, true);
    }
    updateList();
}

void TSavListWindow::selectIndex(int index) {
    trace("selectIndex", "");
    if (!GetItems().Valid(index)) {
        return;
    }
    clearSelection();
    currentFileName = GetItems().At(index).label;
    EnsureVisible(index, true);
    SetSel(index, true);
    updateList();
}

int TSavListWindow::getSelected() const {
    trace("getSelected", "");
    std::vector<int> selected = GetItems().Selected();
    return selected.empty() ? -1 : selected.front();
}

bool TSavListWindow::itemExists(const char* label) const {
    trace("itemExists", "");
    return label != nullptr && findLabel(label) >= 0;
}

void TSavListWindow::deleteCurrentItem() {
    trace("deleteCurrentItem", "");
    int first = getSelected();
    std::vector<std::string> labels;
    for (int index : GetItems().Selected()) {
        labels.push_back(GetItems().At(index).label);
    }
    for (const std::string& label : labels) {
        updateLabel(label);
    }
    // The owner forgot the record it had open: whatever is selected now is opened afresh.
    currentFileName.clear();
    reportNextSelection = true;
    int count = GetItemCount();
    if (count == 0) {
        updateList();
        return;
    }
    // The item that followed the first deleted one took its index; when the deleted items
    // were the last ones, the item that is last now.
    selectIndex(std::clamp(first, 0, count - 1));
}

void TSavListWindow::addDirtyFile(const char* label) {
    trace("addDirtyFile", "");
    if (label == nullptr) {
        return;
    }
    std::string_view entry(label);
    auto it = std::lower_bound(dirtyFiles.begin(), dirtyFiles.end(), entry);
    if (it == dirtyFiles.end() || *it != entry) {
        dirtyFiles.emplace(it, entry);
    }
}

void TSavListWindow::removeDirtyFile(const char* label) {
    trace("removeDirtyFile", "");
    if (label == nullptr) {
        return;
    }
    std::string_view entry(label);
    auto it = std::lower_bound(dirtyFiles.begin(), dirtyFiles.end(), entry);
    if (it != dirtyFiles.end() && *it == entry) {
        dirtyFiles.erase(it);
    }
}

bool TSavListWindow::doesDirtyFileExist(const char* name, bool strip) const {
    trace("doesDirtyFileExist", "");
    if (name == nullptr) {
        return false;
    }
    std::string label = strip ? stripExtension(name) : std::string(name);
    return std::binary_search(dirtyFiles.begin(), dirtyFiles.end(), label);
}

void TSavListWindow::flagEvents(bool editorTakesKeys) {
    trace("flagEvents", "");
    editorHasKeys = editorTakesKeys;
}

void TSavListWindow::EvLButtonDown(uint modKeys, const TPoint& point) {
    trace("EvLButtonDown", "");
    if (owner.leftClick(point, 1)) {
        TListWindow::EvLButtonDown(modKeys, point);
        updateList();
    }
}

void TSavListWindow::EvLButtonUp(uint, const TPoint&) {
    trace("EvLButtonUp", "");
    owner.endDrag();
}

void TSavListWindow::EvRButtonDown(uint modKeys, const TPoint& point) {
    trace("EvRButtonDown", "");
    if (owner.leftClick(point, 1)) {
        TListWindow::EvRButtonDown(modKeys, point);
        updateList();
    }
    owner.listPopupMenu(point);
}

void TSavListWindow::EvMouseMove(uint, const TPoint&) {
    trace("EvMouseMove", "");
    owner.endDrag();
}

void TSavListWindow::EvKeyDown(uint key, uint repeatCount, uint flags) {
    trace("EvKeyDown", "");
    if (editorHasKeys) {
        owner.EvKeyDown(key, repeatCount, flags);
        return;
    }
    TListWindow::EvKeyDown(key, repeatCount, flags);
    owner.processListKeyDown(key, flags);
    updateList();
}

void TSavListWindow::EvKeyUp(uint key, uint repeatCount, uint flags) {
    trace("EvKeyUp", "");
    if (editorHasKeys) {
        owner.EvKeyUp(key, repeatCount, flags);
        return;
    }
    TListWindow::EvKeyUp(key, repeatCount, flags);
    updateList();
}

// Characters reach the editor while it has the keys; the list's own search goes by key.
void TSavListWindow::EvChar(uint ch, uint repeatCount, uint flags) {
    if (editorHasKeys) {
        owner.EvChar(ch, repeatCount, flags);
    }
}

void TSavListWindow::clearSelection() {
    std::vector<int> selected = GetItems().Selected();
    if (!selected.empty()) {
        SetSelIndexes(selected.data(), static_cast<int>(selected.size()), false);
    }
}
