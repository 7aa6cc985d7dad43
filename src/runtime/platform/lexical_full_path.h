// A full path made from a name and the current directory by text alone, as a system
// whose calls take the arguments already split resolves names.
#pragma once

#include <string>
#include <string_view>

/// `name` joined to `currentDirectory` when relative, normalised lexically: repeated
/// slashes collapsed, "." dropped, ".." removing the component before it ("/.." is
/// "/"). A name that ends in "/" or whose last component is "." or ".." keeps one
/// trailing "/". Symbolic links are not followed and nothing need exist.
std::string lexicalFullPath(std::string_view name, std::string_view currentDirectory);
