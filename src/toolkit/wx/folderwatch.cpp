// WatchFolder on the desktop: wxFileSystemWatcher (inotify on Linux) over the folder's entries.
#include "toolkit/wx/wxbackend.h"

#include <wx/filename.h>
#include <wx/fswatcher.h>
#include <wx/log.h>

namespace {

class TFolderWatch : public wxEvtHandler {
  public:
    TFolderWatch(TWindow& owner, const std::string& folder) : owner_(owner), folder_(folder) {
        watcher_.SetOwner(this);
        Bind(wxEVT_FSWATCHER, &TFolderWatch::OnChange, this);
    }

    bool Start() {
        wxLogNull quiet; // a folder that cannot be watched is said by the return, not a box
        // Attribute and access news would only wake the window for nothing.
        constexpr int kWanted = wxFSW_EVENT_CREATE | wxFSW_EVENT_DELETE | wxFSW_EVENT_RENAME |
                                wxFSW_EVENT_MODIFY | wxFSW_EVENT_WARNING | wxFSW_EVENT_ERROR;
        return watcher_.Add(wxFileName::DirName(toolkit_wx::toWx(folder_)), kWanted);
    }

  private:
    void OnChange(wxFileSystemWatcherEvent& event) {
        TFolderChange change{folder_, {}};
        // A lost or failed watch may have missed anything: no names says so.
        if ((event.GetChangeType() & (wxFSW_EVENT_WARNING | wxFSW_EVENT_ERROR)) == 0) {
            change.names.push_back(toolkit_wx::fromWx(event.GetPath().GetFullName()));
            if (event.GetChangeType() == wxFSW_EVENT_RENAME) {
                change.names.push_back(toolkit_wx::fromWx(event.GetNewPath().GetFullName()));
            }
        }
        TMsg msg;
        msg.kind = TMsgKind::FolderChange;
        msg.folderChange = &change;
        owner_.Dispatch(msg);
    }

    TWindow& owner_;
    std::string folder_;
    wxFileSystemWatcher watcher_;
};

} // namespace

bool TWindow::WatchFolder(const std::string& folder) {
    GetImpl().folderWatch.reset();
    if (folder.empty()) {
        return true;
    }
    auto watch = std::make_unique<TFolderWatch>(*this, folder);
    if (!watch->Start()) {
        return false;
    }
    GetImpl().folderWatch = std::move(watch);
    return true;
}
