// Environment references ("%SystemRoot%\...") in registry texts and App Paths entries.
#pragma once

#include <string>

namespace kovar3 {

// `text` with its environment references replaced, read through 255 bytes first and again
// with the room the platform asks for when that is too small, so an expansion of any length
// comes back whole. False (and `expanded` untouched) when the expansion produced nothing.
// Throws std::bad_alloc.
bool ExpandEnvironment(const std::string& text, std::string& expanded);

}  // namespace kovar3
