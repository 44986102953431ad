// The data folder that holds the models, the pictures and the settings file, and the
// spelling of paths on this platform.
#pragma once

#include <string>
#include <string_view>

namespace tavren {

// The data folder with a separator at its end, so that a file name can follow it directly:
// the folder named by TAVREN_DATA when that is set, otherwise C:\Tavren_Data\ on Windows and
// $XDG_DATA_HOME/Tavren_Data/ (by default ~/.local/share/Tavren_Data/) on Linux.
std::string DataFolderPrefix();

// A path as the renderer writes it (Windows style) in this platform's spelling: on Linux each
// backslash becomes a slash, so "C:\Tavren_Data\" + ".\Tavren202.bmp" names a file in the
// data folder. Unchanged on Windows.
std::string NativePath(std::string_view path);

} // namespace tavren
