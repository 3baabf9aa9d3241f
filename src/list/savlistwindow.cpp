#include "list/savlistwindow.h"

#include "list/savfolder.h"
#include "resources/resources.h"
#include "support/trace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace {

constexpr const char* kSavExtension = ".sav";
constexpr const char* kWorkingCopyExtension = ".dvw";
constexpr std::size_t kExtensionLength = 4;
// The file selectFile falls back to: the game's own player file, when the folder has one.
constexpr const char* kFallbackFile = "raptor.sav";

// The label of a file name: the name without its last four characters (the extension).
std::string labelOf(const std::string& fileName) {
    return fileName.substr(0, fileName.size() - kExtensionLength);
}

std::string stripExtension(std::string name) {
    if (name.size() > kExtensionLength) {
        std::string_view tail(name.data() + name.size() - kExtensionLength, kExtensionLength);
        if (tail == kSavExtension || tail == kWorkingCopyExtension) {
            name.resize(name.size() - kExtensionLength);
        }
    }
    return name;
}

// The platform's locale-aware, case-sensitive order.
bool collatesBefore(const std::string& a, const std::string& b) {
    return std::strcoll(a.c_str(), b.c_str()) < 0;
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
    selectedIndex = -1;
    currentFileName.clear();
    // The files may have changed under every label: the next selection opens its file afresh
    // even when it keeps the label that was open.
    reportNextSelection = true;

    // One item per label, compared as the list view compares labels: working copies first,
    // so that a label with one carries the edit mark. Handing the items over in the list's
    // own order lets each go to the end instead of shifting the ones after it.
    auto noCase = [](const std::string& a, const std::string& b) {
        return TListItems::Compare(a, b) < 0;
    };
    std::map<std::string, int, decltype(noCase)> labels(noCase);
    auto files = findFolderFiles(savPath, {kWorkingCopyExtension, kSavExtension});
    const int images[] = {kEditImage, kPlainImage};
    for (std::size_t kind = 0; kind < files.size(); ++kind) {
        for (const std::string& name : files[kind]) {
            // The program keeps file names in texts of kFileNameCapacity bytes; a longer name
            // could be neither opened nor saved under its own name.
            if (name.size() <= kMaxNameLength) {
                labels.emplace(labelOf(name), images[kind]);
            }
        }
    }
    for (const auto& [label, image] : labels) {
        TListWindItem item(label.c_str());
        item.SetImageIndex(image);
        InsertItem(item);
        if (image == kEditImage) {
            addDirtyFile(label.c_str());
        }
    }

    bool few = GetItemCount() < kFewItems;
    SetColumnWidth(0, few ? kLabelWidth : kLabelWidthScrolled);
    SetColumnWidth(1, few ? kCallsignWidth : kCallsignWidthScrolled);
}

void TSavListWindow::updateList() {
    trace("updateList", "");
    std::vector<int> selected = GetItems().Selected();
    if (selected.empty()) {
        // An emptied list leaves no file to show: the owner must not keep editing (and later
        // write back) the file it had open, which may just have been deleted.
        if (GetItemCount() == 0 && !lastFileName.empty()) {
            selectedIndex = -1;
            currentFileName.clear();
            lastFileName.clear();
            owner.resetPlayerInfo("");
        }
        return;
    }
    selectedIndex = selected.front();
    currentFileName = GetItems().At(selectedIndex).label;
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
        TLwFindInfo find;
        find.SetString(label.data());
        found = FindItem(-1, find);
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
    TLwFindInfo find;
    find.SetString(label);
    return FindItem(-1, find) >= 0;
}

void TSavListWindow::showEditIcon() {
    trace("showEditIcon", "");
    if (currentFileName.empty() || doesDirtyFileExist(currentFileName.c_str(), false)) {
        return;
    }
    addDirtyFile(currentFileName.c_str());
    int index = replaceItemImage(selectedIndex, currentFileName, kEditImage);
    if (index >= 0) {
        selectIndex(index);
    }
}

void TSavListWindow::resetEditIcon(const char* label) {
    trace("resetEditIcon", "");
    if (label == nullptr || !doesDirtyFileExist(label, false)) {
        return;
    }
    removeDirtyFile(label);
    replaceItemImage(selectedIndex, label, kPlainImage);
}

void TSavListWindow::deleteCurrentItem() {
    trace("deleteCurrentItem", "");
    int first = getSelected();
    fillListWindow();
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
    if (label == nullptr ||
        std::find(dirtyFiles.begin(), dirtyFiles.end(), label) != dirtyFiles.end()) {
        return;
    }
    std::string entry(label);
    dirtyFiles.insert(std::lower_bound(dirtyFiles.begin(), dirtyFiles.end(), entry, collatesBefore),
                      std::move(entry));
}

void TSavListWindow::removeDirtyFile(const char* label) {
    trace("removeDirtyFile", "");
    if (label == nullptr) {
        return;
    }
    auto it = std::find(dirtyFiles.begin(), dirtyFiles.end(), label);
    if (it != dirtyFiles.end()) {
        dirtyFiles.erase(it);
    }
}

bool TSavListWindow::doesDirtyFileExist(const char* name, bool strip) const {
    trace("doesDirtyFileExist", "");
    if (name == nullptr) {
        return false;
    }
    std::string label = strip ? stripExtension(name) : std::string(name);
    return std::find(dirtyFiles.begin(), dirtyFiles.end(), label) != dirtyFiles.end();
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
    owner.processListKeyDown(key);
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

void TSavListWindow::clearSelection() {
    std::vector<int> selected = GetItems().Selected();
    if (!selected.empty()) {
        SetSelIndexes(selected.data(), static_cast<int>(selected.size()), false);
    }
}

int TSavListWindow::replaceItemImage(int index, const std::string& label, int image) {
    const TListItems& items = GetItems();
    if (!items.Valid(index) || !TListItems::EqualNoCase(items.At(index).label, label)) {
        // The caller normally has the label's item selected; when it has not (several items
        // being deleted one by one), the label's own item is the one to change.
        TLwFindInfo find;
        find.SetString(label.c_str());
        index = FindItem(-1, find);
        if (index < 0) {
            return -1;
        }
    }
    std::string itemLabel = items.At(index).label;
    bool wasSelected = items.At(index).selected;
    DeleteAnItem(index);
    TListWindItem item(itemLabel.c_str());
    item.SetImageIndex(image);
    int newIndex = InsertItem(item);
    if (wasSelected) {
        SetSel(newIndex, true);
    }
    RedrawItems(newIndex, newIndex + 1);
    return newIndex;
}
