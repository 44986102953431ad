#include "ModelText.h"

#include "DataFolder.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tavren {

namespace {

// Blanks, tabs and line ends: everything up to the space character separates numbers.
bool IsSeparator(char character) {
    return static_cast<unsigned char>(character) <= ' ';
}

bool IsBlank(char character) {
    return character == ' ' || character == '\t';
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream file(NativePath(fileName), std::ios::binary);
    if (!file) {
        throw ModelInputError("cannot open model file " + Quoted(fileName) + ": " +
                              std::strerror(errno));
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad() || contents.fail()) {
        throw ModelInputError("cannot read model file " + Quoted(fileName));
    }
    return std::move(contents).str();
}

} // namespace

std::string AssertionMessage(int sourceLine, std::string_view what) {
    return "Assertion failure (Boids\\Model.cpp, line " + std::to_string(sourceLine) +
           "): " + std::string(what);
}

std::optional<int32_t> ParseWholeInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> ParseDecimalReal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hexadecimal digits; a real starts with a
    // digit or a point.
    if (text.empty() ||
        !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.')) {
        return std::nullopt;
    }
    float value = 0.0f;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (stop != end) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Too small for a float is zero; too large is no number.
        double wide = 0.0;
        const bool tiny =
            std::from_chars(text.data(), end, wide, std::chars_format::general).ec == std::errc()
                ? std::abs(wide) < 1.0
                : text.find("e-") != std::string_view::npos ||
                      text.find("E-") != std::string_view::npos;
        if (!tiny) {
            return std::nullopt;
        }
        value = 0.0f;
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

ModelTextReader::ModelTextReader(const std::string& fileName)
    : ModelTextReader(fileName, ReadWholeFile(fileName)) {}

ModelTextReader::ModelTextReader(std::string fileName, std::string text)
    : Name(std::move(fileName)), Text(std::move(text)) {}

std::string ModelTextReader::ReadLine() {
    WordLine = LinesEnded + 1;
    const size_t lineEnd = Text.find('\n', Position);
    size_t stop = lineEnd == std::string::npos ? Text.size() : lineEnd;
    std::string line = Text.substr(Position, stop - Position);
    if (!line.empty() && line.back() == '\r' && lineEnd != std::string::npos) {
        line.pop_back();
    }
    Position = lineEnd == std::string::npos ? Text.size() : lineEnd + 1;
    if (lineEnd != std::string::npos) {
        ++LinesEnded;
    }
    return line;
}

void ModelTextReader::SkipLine() {
    const size_t lineEnd = Text.find('\n', Position);
    if (lineEnd == std::string::npos) {
        Position = Text.size();
        return;
    }
    Position = lineEnd + 1;
    ++LinesEnded;
}

std::string_view ModelTextReader::NextWord() {
    while (Position < Text.size() && IsSeparator(Text[Position])) {
        if (Text[Position] == '\n') {
            ++LinesEnded;
        }
        ++Position;
    }
    WordLine = LinesEnded + 1;
    const size_t start = Position;
    while (Position < Text.size() && !IsSeparator(Text[Position])) {
        ++Position;
    }
    return std::string_view(Text).substr(start, Position - start);
}

int32_t ModelTextReader::ReadInteger() {
    const std::string_view word = NextWord();
    if (word.empty()) {
        return 0;
    }
    // The word holds no blanks, so the whole-text conversion takes exactly the word.
    const auto value = ParseWholeInteger(word);
    if (!value) {
        throw ModelInputError(Where() + Quoted(word) + " is not a valid integer");
    }
    return *value;
}

float ModelTextReader::ReadReal() {
    const std::string_view word = NextWord();
    if (word.empty()) {
        return 0.0f;
    }
    const auto value = ParseDecimalReal(word);
    if (!value) {
        throw ModelInputError(Where() + Quoted(word) + " is not a valid number");
    }
    return *value;
}

int32_t ModelTextReader::ConvertInteger(std::string_view text) const {
    const auto value = ParseWholeInteger(text);
    if (!value) {
        throw ModelConversionError(Where() + Quoted(text) + " is not a valid integer value");
    }
    return *value;
}

std::string ModelTextReader::Where() const {
    return Name + ", line " + std::to_string(WordLine) + ": ";
}

} // namespace tavren
