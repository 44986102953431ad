#include "ProfileFile.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "WideText.h"

namespace tavren::saver {

namespace {

constexpr DWORD ReplyCharacters = 256;

// A missing or empty file becomes an empty Unicode file: the profile functions write the ANSI
// code page into any file that does not start with the byte order mark.
void MakeUnicodeFile(const std::filesystem::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle, &size) && size.QuadPart == 0) {
        const unsigned char byteOrderMark[] = {0xFF, 0xFE};
        DWORD written = 0;
        WriteFile(handle, byteOrderMark, sizeof byteOrderMark, &written, nullptr);
    }
    CloseHandle(handle);
}

} // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::filesystem::path& file) {
    wchar_t reply[ReplyCharacters] = {};
    GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", reply, ReplyCharacters,
                             file.c_str());
    return Utf8(reply);
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::filesystem::path& file) {
    MakeUnicodeFile(file);
    return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      file.c_str()) != FALSE;
}

} // namespace tavren::saver
