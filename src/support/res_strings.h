#pragma once
// Wide (UTF-16) resource strings. The program keeps its own string table,
// stored as the classic string-table resource: string n lies in block
// (n shr 4) + 1 at position n and 15, a block being 16 entries, each a 16-bit
// little-endian character count followed by that many UTF-16 code units.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>

namespace tvx {

// Ids of the library's own messages.
constexpr unsigned SArrayIndexError = 65223;   // "Array index out of range: %d"
constexpr unsigned SGeneralArrayError = 65224; // "General array error."
constexpr unsigned SInvalidStreamTag =
    65225; // "Invalid stream data at position %x. Tag %x expected"
constexpr unsigned SInvalidStreamValue = 65226; // "Invalid property value. Position %d"

// The string-table resources of one module, keyed by block number.
class TStringTable {
public:
    // Stores a block as it stands (its bytes are not checked here).
    void SetBlock(unsigned BlockNumber, QByteArray Bytes);
    const QByteArray* FindBlock(unsigned BlockNumber) const;
    // Puts Text into entry Id, creating its block with empty entries as needed.
    void SetString(unsigned Id, const QString& Text);

private:
    std::map<unsigned, QByteArray> Blocks;
};

// The program's own string table, holding the messages above.
const TStringTable& ProgramStringTable();

// A resource-string record: an Identifier below 65536 is a string number in
// Module; 65536 or more is the address of an 8-bit text standing for itself.
struct TResStringRec {
    const TStringTable* Module = nullptr;
    std::uintptr_t Identifier = 0;
};

TResStringRec ResString(unsigned Id);                  // a string of the program's table
TResStringRec ResStringText(const char* EightBitText); // a text standing for itself

// Reads string Id of Module into Buffer (BufLen units, including the closing
// 0) and returns the number copied. With no buffer or BufLen < 1 it returns
// the full length without copying. A missing block (or one too short to
// hold the entry) gives 0 and leaves the buffer as it was.
int LoadStringFromResource(const TStringTable* Module, unsigned Id, char16_t* Buffer, int BufLen);
// The same through the system's loader; here both read the same table.
int LoadStringWide(const TStringTable* Module, unsigned Id, char16_t* Buffer, int BufLen);

// The text of a record: at most 4096 characters of a table string, or the
// 8-bit text decoded (UTF-8 after a byte-order mark, windows-1251 otherwise).
QString LoadResStringW(const TResStringRec* Record);
QString WideResString(const TResStringRec& Record);

} // namespace tvx
