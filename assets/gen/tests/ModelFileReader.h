// A strict reader of the model text format, for checking the generated files as written.
#pragma once

#include "ModelText.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavren {

class ModelFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ModelFile {
    std::vector<std::string> Lines; // without their CR LF
    ModelText Model;
    size_t LineAfterLastTriangle = 0; // index of the line that follows the last triangle line
};

// Throws ModelFileError on any line that does not follow the format, or a line not ended by
// CR LF.
ModelFile ReadModelFile(const std::filesystem::path& path);

std::filesystem::path AssetPath(const std::string& relative);

} // namespace tavren
