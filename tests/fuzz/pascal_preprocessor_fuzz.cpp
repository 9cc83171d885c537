// The Pascal import's conditional compilation: any text is read in time
// bounded by its size, and the text handed to the parser is as long as the
// source with every line break where the source has it.
#include "fuzz_input.h"
#include "import/pascal_preprocessor.h"

#include <string>

using namespace tvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    TPascalPreprocessor preprocessor;
    const std::string read = preprocessor.Run(text);
    bool linesKept = read.size() == text.size();
    for (std::size_t i = 0; linesKept && i < text.size(); ++i) {
        const bool isBreak = text[i] == '\r' || text[i] == '\n';
        linesKept =
            isBreak == (read[i] == '\r' || read[i] == '\n') && (!isBreak || read[i] == text[i]);
    }
    fuzz::Expect(linesKept, "the text read keeps its length and every line break");
    return 0;
}
