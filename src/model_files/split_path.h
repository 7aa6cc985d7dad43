// A path cut into its folder and its last part, by the rules of the system's paths.
#pragma once

#include <string_view>

/// Which paths a system has: '/' the one separator, or '/' and '\' both with drive letters.
enum class PathStyle { Posix, Windows };

/// The style of the system this program is built for.
#if defined(_WIN32)
constexpr PathStyle kSystemPathStyle = PathStyle::Windows;
#else
constexpr PathStyle kSystemPathStyle = PathStyle::Posix;
#endif

/// A path's two parts; `folder` followed by `base` is the whole path.
struct PathParts {
  std::string_view folder;  // up to its last separator, that included ("Z:" for "Z:a.png");
                            // empty for a name in the current folder
  std::string_view base;    // the rest: the name of the file in that folder
};

/// Cuts `path` after its last separator, or on Windows after a leading drive letter.
PathParts splitPath(std::string_view path, PathStyle style = kSystemPathStyle);
