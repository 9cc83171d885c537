#pragma once
// A first look at the raw bytes of a chart file while libxml2 reads them.
// Two kinds of markup make the parser itself spend time without bound before
// it hands anything over: a start tag with a great many attributes (the
// duplicate check is quadratic) and the internal subset of a document type
// declaration (entity and attribute-default expansion). A chart file has
// neither: it holds no attribute at all, and at most a document type
// declaration that names the document element. The guard refuses such input
// early.
//
// It works on the code units of the file's encoding family (one byte for
// UTF-8 and the 8-bit code pages, two for UTF-16, told from the first bytes
// as XML prescribes), so that the bytes of other characters are never taken
// for markup. That only holds while the parser decodes the file the same way,
// so a file in any other encoding (EBCDIC, UTF-7, UTF-32, ...) is refused by
// its first bytes or its XML declaration.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tvx {

class TXmlInputGuard {
public:
    // Attributes allowed in one start tag: every "=" inside a tag counts,
    // outside quoted values. The parser's work per tag grows with the square
    // of this, so it is kept small: a file of tags with this many attributes
    // each is read as fast as a chart of the same size.
    static constexpr int MaxEqualsPerTag = 64;
    // The XML declaration is short; one that does not end by then is refused.
    static constexpr std::size_t MaxDeclarationLength = 256;

    // Looks at the next bytes of the file; false once the input is refused.
    bool Accept(const char* Data, std::size_t Size);

private:
    enum class TState {
        Head,    // at the start, collecting an XML declaration
        Text,    // character data
        Open,    // just after "<"
        Bang,    // after "<!", telling a DOCTYPE from comments and CDATA
        Tag,     // inside a start or end tag
        Quoted,  // inside a quoted value of a tag
        Other,   // a comment, CDATA section or processing instruction
        Doctype, // inside "<!DOCTYPE", which may hold nothing but its name
    };

    bool DetectUnits(const unsigned char* Head, std::size_t Size);
    bool AcceptUnit(char32_t Unit);
    bool AcceptHead(char32_t Unit);
    bool AcceptMarkup(char32_t Unit);
    bool DeclarationAllowed() const;

    int UnitWidth = 0; // 0 until the first bytes were seen
    bool BigEndian = false;
    unsigned char Pending[2] = {};
    int PendingSize = 0;
    TState State = TState::Head;
    std::string Head;    // the XML declaration so far
    std::string Keyword; // the units after "<!" so far, to spot "DOCTYPE"
    char32_t Quote = 0;  // the quote that ends the current value
    int EqualsInTag = 0;
    bool Refused = false;
};

} // namespace tvx
