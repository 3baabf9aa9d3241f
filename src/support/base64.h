#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Base64 as RFC 4648 has it, padded with "=". With lineLength above 0 the text is cut into
// lines of that many characters, each ended with lineEnd, as MIME bodies need; 0 gives one line
// without an end.
std::string base64Encode(std::string_view bytes, std::size_t lineLength = 0,
                         std::string_view lineEnd = "\r\n");
