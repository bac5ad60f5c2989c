// Cutting a text file's bytes into the lines a list shows, which needs no window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// CR, LF and CR LF each end one line (so LF CR ends two); a line end at the very end adds
// no empty line; the first NUL ends the text. Lines keep every other byte as it stands.
std::vector<std::string> SplitLines(std::string_view text);
