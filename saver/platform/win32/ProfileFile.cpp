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

// Whether the file may be rewritten (it is not read-only) and its disk has room for a copy of
// it holding one more value. The profile functions do not report a write that ran out of room,
// so the room is made sure of before; the margin covers allocation to whole clusters.
bool CanRewrite(const std::filesystem::path& file, size_t addedCharacters) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &attributes)) {
        return false;
    }
    if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    const ULONGLONG size =
        (ULONGLONG{attributes.nFileSizeHigh} << 32) | ULONGLONG{attributes.nFileSizeLow};
    ULARGE_INTEGER available{};
    const std::filesystem::path folder = file.parent_path();
    if (!GetDiskFreeSpaceExW(folder.empty() ? nullptr : folder.c_str(), &available, nullptr,
                             nullptr)) {
        return false;
    }
    constexpr ULONGLONG Margin = 64 * 1024;
    return available.QuadPart >= size + 2 * ULONGLONG{addedCharacters} + Margin;
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
    // The profile functions rewrite the whole file where it is: if the disk filled up on the
    // way, the file would be cut short and every value after the cut lost. The change goes into
    // a copy instead, which replaces the file in one step once it is written.
    const std::wstring wideSection = Wide(section);
    const std::wstring wideKey = Wide(key);
    const std::wstring wideValue = Wide(value);
    if (!CanRewrite(file, wideSection.size() + wideKey.size() + wideValue.size() + 8)) {
        return false;
    }
    std::filesystem::path copy = file;
    copy += L".new";
    if (!CopyFileW(file.c_str(), copy.c_str(), FALSE)) {
        DeleteFileW(copy.c_str());
        return false;
    }
    const bool written = WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(),
                                                    wideValue.c_str(), copy.c_str()) != FALSE;
    // Writes out whatever the profile functions still hold of the copy.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copy.c_str());
    if (!written || !MoveFileExW(copy.c_str(), file.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(copy.c_str());
        return false;
    }
    return true;
}

} // namespace tavren::saver
