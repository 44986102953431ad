#include "../../DataFolder.h"

#include <algorithm>
#include <cstdlib>

namespace tavren {

namespace {

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

std::string DataFolderPrefix() {
    if (const std::string named = Environment("TAVREN_DATA"); !named.empty()) {
        return WithSeparator(named);
    }
    std::string dataHome = Environment("XDG_DATA_HOME");
    if (dataHome.empty()) {
        dataHome = Environment("HOME") + "/.local/share";
    }
    return WithSeparator(dataHome) + "Tavren_Data/";
}

std::string NativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

} // namespace tavren
