#include "../../Settings.h"

#include <fstream>
#include <sstream>

namespace tavren {

std::optional<std::string> ReadProfileValue(const std::string& path, const std::string& section,
                                            const std::string& key) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return FindProfileValue(bytes.str(), section, key);
}

} // namespace tavren
