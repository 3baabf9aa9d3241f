#pragma once

#include <string>
#include <string_view>

// A message as a mailto link carries it: what a mail program that takes only links is given.
struct TMailDraft {
    std::string to;
    std::string subject;
    std::string body;       // lines ended by a line feed
    std::string attachment; // the path of a file to attach; empty for none
};

// The addressee, the subject and the first plain-text part of a composed message (the whole
// body of a message of one part). Header lines may be folded; line ends may be CR LF or LF.
TMailDraft mailDraftOf(std::string_view message);
