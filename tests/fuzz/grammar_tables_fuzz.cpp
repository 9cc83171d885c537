// Grammar table files: any bytes are loaded or refused, never crash, hang or
// grow without bound; tables that load drive a parse without harm, whatever
// the text.
#include "fuzz_input.h"
#include "parser/gold_parser.h"
#include "parser/grammar_reader.h"

#include <algorithm>
#include <memory>
#include <string>

using namespace tvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string bytes(reinterpret_cast<const char*>(Data), Size);
    auto tables = std::make_shared<TGrammarTables>();
    if (!TGrammarReader(*tables).LoadFromBytes(bytes)) {
        return 0;
    }
    TGOLDParser parser;
    fuzz::Expect(parser.UseGrammar(std::move(tables)), "loaded tables can be used");
    // The file's own last bytes make a text as good as any: the tables may
    // scan and parse it in any way, but must come to an end.
    constexpr std::size_t TextBytes = 256;
    parser.OpenTextString(bytes.substr(bytes.size() - std::min(bytes.size(), TextBytes)));
    constexpr int MaxMessages = 100000;
    for (int i = 0; i < MaxMessages; ++i) {
        const TParseMessage message = parser.Parse();
        if (message != msgTokenRead && message != msgReduction) {
            return 0;
        }
    }
    fuzz::Expect(false, "a parse of a short text ends");
    return 0;
}
