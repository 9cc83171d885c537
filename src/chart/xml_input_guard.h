#pragma once
// A first look at the raw bytes of a chart file while libxml2 reads them.
// Two kinds of markup make the parser itself spend time without bound before
// it hands anything over: a start tag with a great many attributes (the
// duplicate check is quadratic) and a document type declaration (entity and
// attribute-default expansion). A chart file has neither: it holds no
// attribute at all and no DOCTYPE. The guard refuses such input early.
//
// It works on the code units of the file's encoding family (one byte for
// UTF-8 and the 8-bit code pages, two for UTF-16, four for UTF-32, told from
// the first bytes as XML prescribes), so that the bytes of other characters
// are never taken for markup.
#include <cstddef>
#include <cstdint>

namespace tvx {

class TXmlInputGuard {
public:
    // Attributes allowed in one start tag; every "=" between two "<" counts.
    static constexpr int MaxEqualsPerTag = 4096;

    // Looks at the next bytes of the file; false once the input is refused.
    bool Accept(const char* Data, std::size_t Size);

private:
    void DetectUnits(const unsigned char* Head, std::size_t Size);
    bool AcceptUnit(char32_t Unit);

    int UnitWidth = 0; // 0 until the first bytes were seen
    bool BigEndian = false;
    unsigned char Pending[4] = {};
    int PendingSize = 0;
    char32_t Previous1 = 0;
    char32_t Previous2 = 0;
    int EqualsInTag = 0;
    bool Refused = false;
};

} // namespace tvx
