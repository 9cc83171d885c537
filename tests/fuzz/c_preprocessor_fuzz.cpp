// The C import's preprocessing: any text is prepared in time and memory
// bounded by its size, the prepared text keeps every line where the source
// has it, and no text the preprocessing makes opens a comment.
#include "fuzz_input.h"
#include "import/c_preprocessor.h"

#include <algorithm>
#include <string_view>

using namespace tvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    // The import hands over lines ended by CR LF.
    std::string text;
    text.reserve(Size * 2);
    for (std::size_t i = 0; i < Size; ++i) {
        const char c = char(Data[i]);
        if (c == '\n') {
            text += "\r\n";
        } else if (c != '\r') {
            text += c;
        }
    }
    const TCPreprocessed prepared = PreprocessC(text);
    if (prepared.Error.isEmpty()) {
        const auto lines = [](std::string_view Text) {
            return std::count(Text.begin(), Text.end(), '\n');
        };
        fuzz::Expect(lines(prepared.Text) == lines(text), "the prepared text keeps every line");
        const auto opensComment = [](std::string_view Text) {
            return Text.find("//") != std::string_view::npos ||
                   Text.find("/*") != std::string_view::npos;
        };
        // A line splice may join two slashes in the source itself.
        const bool splices = text.find("\\\r\n") != std::string::npos;
        fuzz::Expect(opensComment(text) || splices || !opensComment(prepared.Text),
                     "no comment where the source has none");
    }
    return 0;
}
