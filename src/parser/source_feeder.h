#pragma once
// The source text as a byte stream with a read position.
#include <algorithm>
#include <cstddef>
#include <string>

namespace tvx {

class TSourceFeeder {
public:
    void SetText(std::string text) {
        Text = std::move(text);
        Position = 0;
    }
    bool Done() const { return Position >= Text.size(); }

    // Whole: the next min(Count, remaining) bytes; otherwise the single byte
    // Count places ahead (1 = the next one; empty past the end). The position
    // moves past what was read only when Consume is set.
    void Read(size_t Count, bool Consume, bool Whole, std::string& Result);
    // Appends the bytes up to the first CR or LF to Line and consumes that
    // break; a CR or LF right after it is consumed as part of the same break.
    void ReadLine(std::string& Line);

    // Direct access for the scanner, which looks ahead byte by byte.
    const std::string& GetText() const { return Text; }
    size_t GetPosition() const { return Position; }
    void Skip(size_t Count) { Position = std::min(Text.size(), Position + Count); }

private:
    std::string Text;
    size_t Position = 0;
};

} // namespace tvx
