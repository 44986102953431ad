#include "LinkedDataFolder.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace tavren::tool {

namespace fs = std::filesystem;

LinkedDataFolder::LinkedDataFolder(const fs::path& source, int64_t num)
    : Folder(fs::temp_directory_path() / ("tavren-data-" + std::to_string(::getpid()))) {
    if (!fs::exists(source / "Tavren.pp1")) {
        throw std::runtime_error(source.string() + " holds no data folder (no Tavren.pp1)");
    }
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
        if (entry.path().filename() != "Tavren.ini") {
            fs::create_symlink(fs::absolute(entry.path()), Folder / entry.path().filename());
        }
    }
    std::ofstream(Folder / "Tavren.ini") << "[Section]\r\nNum=" << num << "\r\n";
}

LinkedDataFolder::~LinkedDataFolder() {
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
}

} // namespace tavren::tool
