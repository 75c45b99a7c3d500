// Fields of a separated text: a device entry ("address,description,...") and
// an autorun start line ("program parameters") are both cut this way.
#pragma once

#include <string>

namespace platform {

// The n-th (1-based) field of `text` cut at `separator`; empty when there is
// no such field.
std::string GetNthField(char separator, const std::string& text, int n);

}  // namespace platform
