#pragma once

// The one path separator of the platform. Folder paths end with it; file paths are a
// folder path followed by a bare name.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif
