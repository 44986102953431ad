#include "../../DataFolder.h"

#include <cstdlib>

namespace tavren {

std::string DataFolderPrefix() {
    const char* named = std::getenv("TAVREN_DATA");
    if (named == nullptr || *named == '\0') {
        return "C:\\Tavren_Data\\";
    }
    std::string folder = named;
    if (folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    return folder;
}

std::string NativePath(std::string_view path) {
    return std::string(path);
}

} // namespace tavren
