#pragma once

#include <stdexcept>
#include <string>

// The layer's own exceptions. They stand for failures of the platform itself, not the
// program's expected failures (statuses) nor its thrown error texts.
class TXToolkit : public std::runtime_error {
  public:
    explicit TXToolkit(const std::string& what) : std::runtime_error(what) {}
};

// A bitmap file is missing or cannot be read as a bitmap.
class TXBitmap : public TXToolkit {
  public:
    explicit TXBitmap(const std::string& what) : TXToolkit(what) {}
};
