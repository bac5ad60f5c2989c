// Files in folders whose full name is longer than the classic 260 characters, which the
// platform's ANSI file functions refuse.
#pragma once

#include <string>
#include <vector>

// The name in the extended form ("\\?\C:\...", "\\?\UNC\server\..."), for the wide
// functions: wide characters ending in a NUL.
std::vector<wchar_t> ExtendedPath(const std::string& path);

// A name of at most 259 characters for the same file (its short form), for functions that
// take no longer one; the name itself when it is short enough or has no short form.
std::string ShortEnoughPath(const std::string& path);
