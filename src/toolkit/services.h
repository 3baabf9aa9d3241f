#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "support/maildraft.h"
#include "toolkit/window.h"

// The platform's services beside windows: clipboard, sounds, mail, launching documents.

// The clipboard, open for the object's life. Text crosses it as the game's 8-bit codes; a
// backend converts them as Windows-1252 where the platform wants Unicode.
class TClipboard {
  public:
    explicit TClipboard(TWindow& owner);
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    bool IsOpen() const { return open_; }
    bool EmptyClipboard();
    bool IsClipboardFormatAvailable(uint format) const; // CF_TEXT
    bool SetText(std::string_view bytes);               // replaces the contents
    std::string GetText() const;                        // empty when it holds no text

  private:
    bool open_ = false;
};

// A wave sound named by its element ("button", "startUp"). Play starts it and returns at
// once; a sound that cannot be played is silent and reports false.
class TWaveSound {
  public:
    explicit TWaveSound(const char* elementName);
    ~TWaveSound();
    TWaveSound(const TWaveSound&) = delete;
    TWaveSound& operator=(const TWaveSound&) = delete;

    bool Play();
    const std::string& GetName() const { return name_; }

    struct Impl;

  private:
    std::string name_;
    std::unique_ptr<Impl> impl_;
};

// Which of the desktop's mail programs took a message.
enum class TMailProgram { None, Message, Link };

// Hands a composed message to the desktop's mail program in the way it takes one: the message
// file to a program set for mail messages (message/rfc822, .eml), else the draft to the
// handler of mailto links, its attachment included. Returns which took it; None when there is
// no mail program or it could not be started.
TMailProgram OpenMail(const char* messageFile, const TMailDraft& draft);

// Opens a document with the program the system associates with it, maximized, without
// waiting. False when no program is set up for it or it could not even be started.
bool LaunchDocument(const char* path);

// Moves a file to the desktop's trash; false (the file stays) when there is no trash for it.
bool MoveToTrash(const char* path);

// Milliseconds on a clock that only moves forward (the headless clock in tests).
std::uint64_t GetTickCount64();

// One running program per settings folder, named by key. True when this process is that
// program, or became it because the one before ended (a crashed one's claim is taken over at
// once, never waited on); the claim lasts until the process ends.
bool ClaimSingleInstance(const std::string& key);
// Hands the running program of key what this start was asked for (a file, or none): true
// when it took it. Its window (AcceptStartRequests) comes to the front and gets the request.
bool HandToRunningInstance(const std::string& key, const std::string& file);

// Shows an error while no window of the program is open (a start that failed). False when
// there is no desktop to show it on.
bool ShowStartupError(const char* text, const char* caption);
