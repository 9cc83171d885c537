#pragma once
// Errors and warnings of one compilation, each "file:line: text".
#include <string>
#include <vector>

namespace tvx::grammar {

class Diagnostics {
public:
    explicit Diagnostics(std::string fileName) : FileName(std::move(fileName)) {}

    void Error(int line, const std::string& text) { Errors.push_back(Format(line, text)); }
    void Warning(int line, const std::string& text) {
        Warnings.push_back(Format(line, "warning: " + text));
    }
    bool HasErrors() const { return !Errors.empty(); }

    std::vector<std::string> Errors;
    std::vector<std::string> Warnings;

private:
    std::string Format(int line, const std::string& text) const {
        return line > 0 ? FileName + ":" + std::to_string(line) + ": " + text
                        : FileName + ": " + text;
    }

    std::string FileName;
};

} // namespace tvx::grammar
