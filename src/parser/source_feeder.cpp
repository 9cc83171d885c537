#include "parser/source_feeder.h"

namespace tvx {

namespace {

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

void TSourceFeeder::Read(size_t Count, bool Consume, bool Whole, std::string& Result) {
    Result.clear();
    if (Whole) {
        const size_t n = std::min(Count, Text.size() - std::min(Position, Text.size()));
        Result.assign(Text, Position, n);
        if (Consume) {
            Position += n;
        }
        return;
    }
    if (Count == 0 || Position + Count > Text.size()) {
        return;
    }
    Result.assign(1, Text[Position + Count - 1]);
    if (Consume) {
        Position += Count;
    }
}

void TSourceFeeder::ReadLine(std::string& Line) {
    while (Position < Text.size()) {
        const char c = Text[Position++];
        if (IsBreak(c)) {
            if (Position < Text.size() && IsBreak(Text[Position])) {
                ++Position;
            }
            return;
        }
        Line += c;
    }
}

} // namespace tvx
