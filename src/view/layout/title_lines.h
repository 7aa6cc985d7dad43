// A picture's title set on the lines it takes, at the size of the rest of its text.
#pragma once

#include <string>
#include <vector>

#include "view/scene/picture_scene.h"

/// The lines on which `title` (base text, and an optional `note` such as "vertical
/// exaggeration x2") is drawn within `room` units at `size`: one line when it fits;
/// else two, the base on the first and the note in parentheses on the second, or broken
/// at the blank that balances them; where two do not hold it, the base cut to one line
/// and the note on the other, a line that is still too wide ending in an ellipsis. No
/// line for an empty title.
std::vector<std::string> titleLines(const std::string& base, const std::string& note, double room,
                                    double size, const TextMetrics& metrics);

/// The whole title on one line: the base, and the note in parentheses after it.
std::string titleText(const std::string& base, const std::string& note);
