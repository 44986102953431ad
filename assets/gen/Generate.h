// Makes every asset of the product into a folder laid out as the repository's assets/ folder.
#pragma once

#include <filesystem>
#include <vector>

namespace tavren {

// Writes all files under root (creating folders) and returns their paths relative to root.
std::vector<std::filesystem::path> GenerateAssets(const std::filesystem::path& root);

} // namespace tavren
