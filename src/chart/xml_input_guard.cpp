#include "chart/xml_input_guard.h"

#include <algorithm>
#include <cctype>

namespace tvx {
namespace {

bool IsBlank(char32_t Unit) {
    return Unit == U' ' || Unit == U'\t' || Unit == U'\r' || Unit == U'\n';
}

// An encoding name without case, "-" and "_": "windows-1251" is "WINDOWS1251".
std::string Normalised(const std::string& Name) {
    std::string out;
    for (char c : Name) {
        if (c != '-' && c != '_') {
            out += char(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

bool HasNumberSuffix(const std::string& Name, const std::string& Prefix, int Lo, int Hi) {
    if (Name.size() <= Prefix.size() || Name.compare(0, Prefix.size(), Prefix) != 0 ||
        Name.size() > Prefix.size() + 2) {
        return false;
    }
    int number = 0;
    for (std::size_t i = Prefix.size(); i < Name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(Name[i]))) {
            return false;
        }
        number = number * 10 + (Name[i] - '0');
    }
    return number >= Lo && number <= Hi;
}

// Encodings in which every character of the markup is the one byte ASCII
// gives it: UTF-8 and the 8-bit code pages a chart file may come in.
bool IsAsciiFamily(const std::string& Name) {
    static const char* const names[] = {"UTF8",  "USASCII", "ASCII", "LATIN1",
                                        "KOI8R", "KOI8U",   "CP866", "IBM866"};
    return std::find_if(std::begin(names), std::end(names),
                        [&](const char* n) { return Name == n; }) != std::end(names) ||
           HasNumberSuffix(Name, "ISO8859", 1, 16) || HasNumberSuffix(Name, "WINDOWS125", 0, 8) ||
           HasNumberSuffix(Name, "CP125", 0, 8);
}

// The value of the encoding pseudo-attribute of an XML declaration; empty
// when there is none, "?" when it cannot be made out.
std::string DeclaredEncoding(const std::string& Declaration) {
    std::size_t at = Declaration.find("encoding");
    if (at == std::string::npos) {
        return std::string();
    }
    at += 8;
    auto skipBlanks = [&] {
        while (at < Declaration.size() && IsBlank(char32_t(Declaration[at]))) {
            ++at;
        }
    };
    skipBlanks();
    if (at >= Declaration.size() || Declaration[at] != '=') {
        return "?";
    }
    ++at;
    skipBlanks();
    if (at >= Declaration.size() || (Declaration[at] != '"' && Declaration[at] != '\'')) {
        return "?";
    }
    const char quote = Declaration[at++];
    const std::size_t end = Declaration.find(quote, at);
    return end == std::string::npos ? "?" : Declaration.substr(at, end - at);
}

} // namespace

// The first bytes tell the width and order of the code units, as libxml2
// tells them. Orders libxml2 would decode in a way the guard does not follow
// (EBCDIC, UTF-32 and its unusual byte orders) are refused.
bool TXmlInputGuard::DetectUnits(const unsigned char* b, std::size_t Size) {
    UnitWidth = 1;
    if (Size >= 4) {
        const std::uint32_t head = std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 |
                                   std::uint32_t(b[2]) << 8 | std::uint32_t(b[3]);
        switch (head) {
        case 0x4C6FA794: // "<?xm" in EBCDIC
        case 0x3C000000:
        case 0x0000003C:
        case 0x003C0000:
        case 0x00003C00:
        case 0xFFFE0000:
        case 0x0000FEFF:
            return false;
        case 0x3C003F00:
            UnitWidth = 2;
            return true;
        case 0x003C003F:
            UnitWidth = 2;
            BigEndian = true;
            return true;
        default:
            break;
        }
    }
    if (Size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        UnitWidth = 2;
    } else if (Size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        UnitWidth = 2;
        BigEndian = true;
    }
    return true;
}

// The declaration may name only an encoding that decodes markup in the
// units the guard reads: an ASCII-family name for a file of bytes, UTF-16 in
// the file's own byte order for a file of 16-bit units.
bool TXmlInputGuard::DeclarationAllowed() const {
    const std::string declared = DeclaredEncoding(Head);
    if (declared.empty()) {
        return true;
    }
    const std::string name = Normalised(declared);
    if (UnitWidth == 1) {
        return IsAsciiFamily(name);
    }
    return name == "UTF16" || name == (BigEndian ? "UTF16BE" : "UTF16LE");
}

// Collects the start of the file up to the end of an XML declaration, when
// it begins with one, then hands everything to the markup scan.
bool TXmlInputGuard::AcceptHead(char32_t Unit) {
    static const std::string declarationStart = "<?xml";
    // A byte order mark is no markup (nor is anything else outside ASCII).
    if (Head.empty() && Unit >= 0x80) {
        return true;
    }
    const std::size_t at = Head.size();
    bool declaration = true;
    if (at < declarationStart.size()) {
        declaration = Unit == char32_t(declarationStart[at]);
    } else if (at == declarationStart.size()) {
        declaration = IsBlank(Unit);
    }
    if (!declaration || Unit == U'>') {
        if (declaration && !DeclarationAllowed()) {
            return false;
        }
        State = TState::Text;
        for (char c : Head) {
            AcceptMarkup(char32_t(static_cast<unsigned char>(c)));
        }
        return AcceptMarkup(Unit);
    }
    if (Head.size() >= MaxDeclarationLength) {
        return false;
    }
    Head += Unit < 0x80 ? char(Unit) : '\x80';
    return true;
}

bool TXmlInputGuard::AcceptMarkup(char32_t Unit) {
    switch (State) {
    case TState::Head:
    case TState::Text:
        if (Unit == U'<') {
            State = TState::Open;
        }
        return true;
    case TState::Open:
        if (Unit == U'!') {
            State = TState::Bang;
            Keyword.clear();
            return true;
        }
        if (Unit == U'?') {
            State = TState::Other;
            return true;
        }
        State = TState::Tag;
        EqualsInTag = 0;
        return AcceptMarkup(Unit);
    case TState::Bang: {
        static const std::string doctype = "DOCTYPE";
        if (Keyword.size() < doctype.size() && Unit == char32_t(doctype[Keyword.size()])) {
            Keyword += char(Unit);
            if (Keyword == doctype) {
                State = TState::Doctype;
            }
            return true;
        }
        State = TState::Other;
        return AcceptMarkup(Unit);
    }
    case TState::Tag:
        if (Unit == U'"' || Unit == U'\'') {
            Quote = Unit;
            State = TState::Quoted;
        } else if (Unit == U'=') {
            return ++EqualsInTag <= MaxEqualsPerTag;
        } else if (Unit == U'>') {
            State = TState::Text;
        } else if (Unit == U'<') {
            State = TState::Open;
        }
        return true;
    case TState::Quoted:
        if (Unit == Quote) {
            State = TState::Tag;
        }
        return true;
    case TState::Other:
        if (Unit == U'>') {
            State = TState::Text;
        }
        return true;
    case TState::Doctype:
        // A name only: an internal subset ("[") could declare entities and
        // defaults, an external identifier (quoted) names a file never read.
        if (Unit == U'[' || Unit == U'"' || Unit == U'\'') {
            return false;
        }
        if (Unit == U'>') {
            State = TState::Text;
        }
        return true;
    }
    return true;
}

bool TXmlInputGuard::AcceptUnit(char32_t Unit) {
    return State == TState::Head ? AcceptHead(Unit) : AcceptMarkup(Unit);
}

bool TXmlInputGuard::Accept(const char* Data, std::size_t Size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(Data);
    if (Refused) {
        return false;
    }
    if (UnitWidth == 0 && Size > 0 && !DetectUnits(bytes, Size)) {
        Refused = true;
        return false;
    }
    for (std::size_t i = 0; i < Size; ++i) {
        Pending[PendingSize++] = bytes[i];
        if (PendingSize < UnitWidth) {
            continue;
        }
        char32_t unit = 0;
        for (int k = 0; k < UnitWidth; ++k) {
            int shift = BigEndian ? 8 * (UnitWidth - 1 - k) : 8 * k;
            unit |= char32_t(Pending[k]) << shift;
        }
        PendingSize = 0;
        if (!AcceptUnit(unit)) {
            Refused = true;
            return false;
        }
    }
    return true;
}

} // namespace tvx
