// The settings file through the wide-character profile functions. A file that we create starts
// with the UTF-16 byte order mark, which keeps it Unicode, so that the Japanese key names
// survive on every system; a file made elsewhere is read in the code page it was made in, as
// the profile functions read it.
#pragma once

#include <filesystem>
#include <string>

namespace tavren::saver {

// The reply buffer holds 256 characters: a longer value comes back cut to 255.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::filesystem::path& file);
// Creates the file (Unicode) and the section when they are missing. The file is replaced by a
// whole new copy, or left as it was: false then (a read-only file, too little room on the
// disk, a file another program holds).
bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::filesystem::path& file);

} // namespace tavren::saver
