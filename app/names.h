// Names the program derives from its own path: the title, its folder, the start-up failure text.
#pragma once

#include <string>
#include <string_view>

// The file name after the last "\".
std::string ModuleBaseName(std::string_view path);

// The title: the file name cut at its first ".", every character after the first
// passed through lower (the platform's lower-casing).
std::string TitleFromModulePath(std::string_view path, void (*lower)(std::string& tail));
void AsciiLower(std::string& text);

// The path cut after its last "\" or ":"; empty when it has neither. "/" is no separator.
std::string FolderOfPath(std::string_view path);

// "Exception <kind> in module <module> at <address>.\n<message>" and a final "." when the
// message is not empty and does not end with one. The module name is cut to 63 characters.
std::string StartupFailureText(const std::string& kind, const std::string& module, const void* address,
                               const std::string& message);
