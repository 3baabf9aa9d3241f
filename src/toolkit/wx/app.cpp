// The application: starting wxWidgets, the message loop and the quit message.

#include <cstdio>
#include <cstdlib>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/toplevel.h>

#include "toolkit/errors.h"
#include "toolkit/wx/convert.h"
#include "toolkit/wx/wxbackend.h"

namespace toolkit_wx {
namespace {

bool g_started = false; // wx was started by the layer
bool g_quitPosted = false;
int g_exitCode = 0;

// A failed assertion inside wx would otherwise ask in a modal box, which nobody answers in
// an unattended run.
void assertToStderr(const wxString& file, int line, const wxString& func, const wxString& cond,
                    const wxString& msg) {
    std::fprintf(
        stderr, "wx assertion %s failed in %s (%s:%d): %s\n",
        static_cast<const char*>(cond.utf8_str()), static_cast<const char*>(func.utf8_str()),
        static_cast<const char*>(file.utf8_str()), line, static_cast<const char*>(msg.utf8_str()));
}

} // namespace

bool ensureWx() {
    if (wxTheApp)
        return true;
    if (g_started)
        return false;
    g_started = true;
    static int argc = 1;
    static char name[] = "drovak";
    static char* argv[] = {name, nullptr};
    wxApp::SetInstance(new wxApp());
#if defined(__WXGTK__)
    // The program draws nothing with OpenGL, yet GTK loads and probes the GL driver when it
    // opens the display: a third of the start-up. Unless the user chose otherwise, that is
    // skipped; the programs it starts later get the environment as it was.
    const bool glChosen = std::getenv("GDK_GL") != nullptr;
    if (!glChosen)
        setenv("GDK_GL", "disable", 0);
#endif
    const bool started = wxEntryStart(argc, argv);
#if defined(__WXGTK__)
    if (!glChosen)
        unsetenv("GDK_GL");
#endif
    if (!started)
        return false;
    // wx's log messages go to standard error rather than into modal boxes: the program
    // reports its own errors, and a box nobody expects would stop an unattended run.
    delete wxLog::SetActiveTarget(new wxLogStderr());
    wxSetAssertHandler(assertToStderr);
    wxInitAllImageHandlers();
    wxTheApp->SetExitOnFrameDelete(true);
    return true;
}

wxString toWx(const char* text) {
    if (!text)
        return wxString();
    return wxString::FromUTF8(utf8FromProgramText(text));
}

wxString toWx(const std::string& text) {
    return wxString::FromUTF8(utf8FromProgramText(text));
}

std::string fromWx(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

} // namespace toolkit_wx

using namespace toolkit_wx;

TApplication::TApplication(const char* name) : name_(name ? name : "") {
    ensureWx();
    if (wxTheApp && !name_.empty())
        wxTheApp->SetAppDisplayName(toWx(name_));
}

TApplication::~TApplication() {
    delete mainWindow_;
    mainWindow_ = nullptr;
    if (g_started && wxTheApp)
        wxEntryCleanup();
}

void TApplication::SetMainWindow(TFrameWindow* window) {
    if (window == mainWindow_)
        return;
    delete mainWindow_;
    mainWindow_ = window;
}

int TApplication::Run() {
    g_quitPosted = false;
    g_exitCode = 0;
    if (!ensureWx())
        throw TXToolkit("cannot open the display; start Drovak from the desktop, or set DISPLAY");
    InitMainWindow();
    if (!mainWindow_ || !wxTheApp || g_quitPosted)
        return g_exitCode;
    if (!mainWindow_->Create())
        return -1;
    mainWindow_->Show(nCmdShow);
    if (wxWindow* top = mainWindow_->GetImpl().wx)
        wxTheApp->SetTopWindow(top);
    // A splash opened while the main window was being built stays in front of it, also where
    // no window manager keeps stay-on-top windows up.
    for (wxWindow* w : wxTopLevelWindows)
        if (w->IsShown() && (w->GetWindowStyleFlag() & wxSTAY_ON_TOP))
            w->Raise();
    if (!g_quitPosted)
        wxTheApp->MainLoop();
    return g_exitCode;
}

void PostQuitMessage(int exitCode) {
    g_exitCode = exitCode;
    g_quitPosted = true;
    if (wxTheApp && wxTheApp->IsMainLoopRunning())
        wxTheApp->ExitMainLoop();
}
