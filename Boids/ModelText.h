// The text reader under the model loader: lines, and decimal integers and reals separated by
// blanks, with the line numbers that error messages name.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavren {

// Every error of model loading.
class ModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file cannot be opened or read, or a number in a data line does not parse.
class ModelInputError : public ModelError {
public:
    using ModelError::ModelError;
};

// A keyword value or a mesh header field is not a whole integer.
class ModelConversionError : public ModelError {
public:
    using ModelError::ModelError;
};

// The model breaks a rule the loader or the posing asserts.
class ModelAssertionError : public ModelError {
public:
    using ModelError::ModelError;
};

// "Assertion failure (Boids\Model.cpp, line <sourceLine>): <what>".
std::string AssertionMessage(int sourceLine, std::string_view what);

// A decimal integer with an optional sign filling the whole text; leading blanks are allowed.
std::optional<int32_t> ParseWholeInteger(std::string_view text);
// A decimal real with a point, an optional sign and an optional exponent, filling the whole
// text; independent of the locale.
std::optional<float> ParseDecimalReal(std::string_view text);

class ModelTextReader {
public:
    // Reads the whole file. Throws ModelInputError when it cannot.
    explicit ModelTextReader(const std::string& fileName);
    // For tests: reads text as if it were the file named fileName.
    ModelTextReader(std::string fileName, std::string text);

    bool AtEnd() const { return Position >= Text.size(); }

    // The rest of the current line without its line end ("" at the end of the file).
    std::string ReadLine();
    void SkipLine();
    // The next number, after any blanks and line ends; 0 at the end of the file. Throws
    // ModelInputError for a word that is not a number.
    int32_t ReadInteger();
    float ReadReal();

    // Whole-text integer conversion for keyword values and mesh headers, naming the current
    // line. Throws ModelConversionError.
    int32_t ConvertInteger(std::string_view text) const;

    // "<file>, line <n>: " for the line read last.
    std::string Where() const;
    const std::string& FileName() const { return Name; }

private:
    std::string_view NextWord();

    std::string Name;
    std::string Text;
    size_t Position = 0;
    int32_t LinesEnded = 0;
    int32_t WordLine = 0;
};

} // namespace tavren
