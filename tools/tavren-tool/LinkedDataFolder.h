// A temporary data folder of links to the files of another, with a settings file of its own.
#pragma once

#include <cstdint>
#include <filesystem>

namespace tavren::tool {

class LinkedDataFolder {
public:
    // Links every file of source but its settings file, and writes one asking for num + 1 fish.
    LinkedDataFolder(const std::filesystem::path& source, int64_t num);
    ~LinkedDataFolder();
    LinkedDataFolder(const LinkedDataFolder&) = delete;
    LinkedDataFolder& operator=(const LinkedDataFolder&) = delete;

    const std::filesystem::path& Path() const { return Folder; }

private:
    std::filesystem::path Folder;
};

} // namespace tavren::tool
