#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/strutil.h"
#include "toolkit/window.h"

// Modal dialogs built from the dialog resources (resources/resources.h), their controls,
// and the platform's file-open and file-save dialogs.

class TDialog : public TWindow {
  public:
    TDialog(TWindow* parent, int resId);
    ~TDialog() override;

    int GetResId() const { return resId_; }

    // Creates the dialog and its controls from the resource, calls SetupWindow and runs it
    // modally; returns the value given to CloseWindow (IDCANCEL when closed otherwise).
    virtual int Execute();
    void CloseWindow(int retValue = IDCANCEL);

    // The default answers to the OK and Cancel buttons: close with IDOK or IDCANCEL.
    void CmOk();
    void CmCancel();

    DECLARE_RESPONSE_TABLE(TDialog);

  private:
    int resId_;
};

// A control of a dialog resource, reached through its id. Its object may be built before the
// dialog runs; the control itself exists while the dialog runs.
class TControl : public TWindow {
  public:
    TControl(TWindow* parent, int resId);
};

class TStatic : public TControl {
  public:
    TStatic(TWindow* parent, int resId, uint textLimit = 0);

    // Sets the text on screen. For an edit this is also "about to change" (EnUpdate).
    void SetText(const char* text);
    // Writes up to maxChars-1 characters and a terminator; returns the length written.
    int GetText(char* text, int maxChars) const;
    std::string GetText() const;
    int GetTextLen() const;
    uint GetTextLimit() const { return textLimit_; }

  private:
    uint textLimit_;
};

// An edit control; textLimit is the capacity with the terminator (typing stops at
// textLimit-1 characters).
class TEdit : public TStatic {
  public:
    TEdit(TWindow* parent, int resId, uint textLimit = 0);
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const;
};

class TButton : public TControl {
  public:
    TButton(TWindow* parent, int resId);
};

// An auto check box: a click toggles it, then notifies (BnClicked).
class TCheckBox : public TButton {
  public:
    TCheckBox(TWindow* parent, int resId);
    uint GetCheck() const; // BF_CHECKED or BF_UNCHECKED
    void SetCheck(uint state);
    void Check() { SetCheck(BF_CHECKED); }
    void Uncheck() { SetCheck(BF_UNCHECKED); }
    void Toggle() { SetCheck(GetCheck() == BF_CHECKED ? BF_UNCHECKED : BF_CHECKED); }
};

// The platform's choice from a list: a prompt over lines of text, OK and Cancel; the first
// line starts chosen.
class TChoiceDialog {
  public:
    TChoiceDialog(TWindow* parent, std::string caption, std::string prompt,
                  std::vector<std::string> lines)
        : parent_(parent), caption_(std::move(caption)), prompt_(std::move(prompt)),
          lines_(std::move(lines)) {}
    // IDOK with the chosen line in GetSelection, or IDCANCEL.
    int Execute();
    int GetSelection() const { return selection_; }
    TWindow* GetParentO() const { return parent_; }
    const std::string& GetCaption() const { return caption_; }
    const std::string& GetPrompt() const { return prompt_; }
    const std::vector<std::string>& GetLines() const { return lines_; }

  private:
    TWindow* parent_;
    std::string caption_;
    std::string prompt_;
    std::vector<std::string> lines_;
    int selection_ = -1;
};

// The platform's file-open and file-save dialogs.
class TOpenSaveDialog {
  public:
    class TData {
      public:
        explicit TData(std::uint32_t flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                                             OFN_FILEMUSTEXIST,
                       const char* filter = nullptr, const char* initialDir = nullptr,
                       int maxPath = static_cast<int>(kPathCapacity));

        // "description|pattern|..." pairs, each part ended by a vertical bar.
        void SetFilter(const char* filter) { Filter = filter ? filter : ""; }

        std::uint32_t Flags;
        std::string Filter;
        std::string InitialDir;
        std::string FileName; // proposed on entry, chosen on IDOK
        // With OFN_ALLOWMULTISELECT on an open dialog: every path chosen, FileName the first.
        std::vector<std::string> FileNames;
        int MaxPath; // a chosen path of MaxPath characters or more counts as cancelled
    };

    enum class TKind { Open, Save };

    TOpenSaveDialog(TWindow* parent, TData& data, TKind kind);
    // Runs the dialog modally: IDOK with data.FileName set to the chosen path, or IDCANCEL.
    int Execute();

    TWindow* GetParentO() const { return parent_; }
    TData& GetData() const { return data_; }
    TKind GetKind() const { return kind_; }

  private:
    TWindow* parent_;
    TData& data_;
    TKind kind_;
};

class TFileOpenDialog : public TOpenSaveDialog {
  public:
    TFileOpenDialog(TWindow* parent, TData& data) : TOpenSaveDialog(parent, data, TKind::Open) {}
};

class TFileSaveDialog : public TOpenSaveDialog {
  public:
    TFileSaveDialog(TWindow* parent, TData& data) : TOpenSaveDialog(parent, data, TKind::Save) {}
};
