// Text between our UTF-8 strings and the wide characters of the Windows calls, so that
// Japanese names pass whatever the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace tavren::saver {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

} // namespace tavren::saver
