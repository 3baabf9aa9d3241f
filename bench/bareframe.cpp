// The start-up benchmark's baseline: a bare wx frame shaped like Drovak's main window (a 780
// by 520 client area, a menu bar and a report list) that draws nothing of its own. Under
// DROVAK_REPORT_FIRST_PAINT it says "first paint N" on standard error, N in wall-clock
// milliseconds, as the program does, so bench/startup.sh times both the same way.

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

void reportFirstPaint() {
    if (std::getenv("DROVAK_REPORT_FIRST_PAINT") != nullptr) {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
        std::fprintf(stderr, "first paint %lld\n", ms);
    }
}

wxMenuBar* menuBar() {
    auto* bar = new wxMenuBar();
    const char* const menus[][4] = {{"&File", "&New\tCtrl+N", "&Save\tCtrl+S", "E&xit\tAlt+F4"},
                                    {"&Edit", "&Undo\tCtrl+Z", "Cu&t\tCtrl+X", "&Copy\tCtrl+C"},
                                    {"&Help", "&Help", "&Settings", "&About"}};
    int id = wxID_HIGHEST + 1;
    for (const auto& entries : menus) {
        auto* menu = new wxMenu();
        for (int i = 1; i < 4; ++i)
            menu->Append(id++, entries[i]);
        bar->Append(menu, entries[0]);
    }
    return bar;
}

class Canvas : public wxWindow {
  public:
    explicit Canvas(wxWindow* parent) : wxWindow(parent, wxID_ANY) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &Canvas::OnPaint, this);
    }

  private:
    void OnPaint(wxPaintEvent&) {
        wxPaintDC dc(this);
        dc.SetBrush(wxBrush(wxColour(34, 34, 34)));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(GetClientRect());
        if (!painted_) {
            painted_ = true;
            reportFirstPaint();
        }
    }

    bool painted_ = false;
};

} // namespace

// Outside the anonymous namespace: wxIMPLEMENT_APP defines wxGetApp for it.
class BareFrameApp : public wxApp {
  public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Bare frame", wxDefaultPosition, wxDefaultSize,
                                  wxDEFAULT_FRAME_STYLE & ~wxMAXIMIZE_BOX);
        frame->SetMenuBar(menuBar());
        auto* canvas = new Canvas(frame);
        auto* list = new wxListCtrl(canvas, wxID_ANY, wxPoint(2, 24), wxSize(348, 142),
                                    wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN);
        list->InsertColumn(0, "SAV File", wxLIST_FORMAT_LEFT, 120);
        list->InsertColumn(1, "Callsign", wxLIST_FORMAT_LEFT, 133);
        list->InsertColumn(2, "Modified", wxLIST_FORMAT_LEFT, 75);
        // The key latency benchmark's baseline: a GTK entry where the callsign field is.
        if (std::getenv("DROVAK_BARE_ENTRY") != nullptr) {
            auto* entry =
                new wxTextCtrl(canvas, wxID_ANY, "GHOST", wxPoint(353, 8), wxSize(414, 40));
            entry->SetFont(wxFont(wxFontInfo(20).Family(wxFONTFAMILY_TELETYPE)));
        }
        frame->SetClientSize(780, 520);
        frame->Centre();
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP_NO_MAIN(BareFrameApp);

// GTK opens the display as the program's toolkit layer has it open (no OpenGL probe), so the
// ratio measures what the program adds to a window, not what both skip.
int main(int argc, char** argv) {
    if (std::getenv("GDK_GL") == nullptr)
        setenv("GDK_GL", "disable", 0);
    return wxEntry(argc, argv);
}
