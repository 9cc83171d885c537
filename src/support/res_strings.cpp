#include "support/res_strings.h"
#include "platform/cp1251.h"
#include <cstring>
#include <vector>

namespace tvx {

namespace {

constexpr int EntriesPerBlock = 16;
constexpr int ResStringBufferLength = 4097;

unsigned BlockOf(unsigned Id) {
    return ((Id >> 4) & 0xFFFF) + 1;
}

std::uint16_t ReadUnit(const QByteArray& Bytes, qsizetype At) {
    auto lo = std::uint8_t(Bytes[At]);
    auto hi = std::uint8_t(Bytes[At + 1]);
    return std::uint16_t(lo | (hi << 8));
}

void AppendUnit(QByteArray& Bytes, std::uint16_t Unit) {
    Bytes.append(char(Unit & 0xFF));
    Bytes.append(char(Unit >> 8));
}

// Splits a block into its 16 entries; a block cut short keeps the entries it
// holds whole, and the rest read as absent.
std::vector<QString> SplitBlock(const QByteArray& Block) {
    std::vector<QString> entries;
    qsizetype at = 0;
    while (int(entries.size()) < EntriesPerBlock && at + 2 <= Block.size()) {
        int count = ReadUnit(Block, at);
        at += 2;
        if (at + 2 * qsizetype(count) > Block.size()) {
            break;
        }
        QString text(count, Qt::Uninitialized);
        for (int i = 0; i < count; ++i) {
            text[i] = QChar(ReadUnit(Block, at + 2 * i));
        }
        entries.push_back(text);
        at += 2 * count;
    }
    return entries;
}

QByteArray JoinBlock(const std::vector<QString>& Entries) {
    QByteArray bytes;
    for (int i = 0; i < EntriesPerBlock; ++i) {
        QString text = i < int(Entries.size()) ? Entries[i] : QString();
        AppendUnit(bytes, std::uint16_t(text.size()));
        for (QChar c : text) {
            AppendUnit(bytes, c.unicode());
        }
    }
    return bytes;
}

TStringTable BuildProgramTable() {
    TStringTable table;
    table.SetString(SArrayIndexError, QStringLiteral("Array index out of range: %d"));
    table.SetString(SGeneralArrayError, QStringLiteral("General array error."));
    table.SetString(SInvalidStreamTag,
                    QStringLiteral("Invalid stream data at position %x. Tag %x expected"));
    table.SetString(SInvalidStreamValue, QStringLiteral("Invalid property value. Position %d"));
    return table;
}

} // namespace

void TStringTable::SetBlock(unsigned BlockNumber, QByteArray Bytes) {
    Blocks[BlockNumber] = std::move(Bytes);
}

const QByteArray* TStringTable::FindBlock(unsigned BlockNumber) const {
    auto it = Blocks.find(BlockNumber);
    return it == Blocks.end() ? nullptr : &it->second;
}

void TStringTable::SetString(unsigned Id, const QString& Text) {
    unsigned block = BlockOf(Id);
    const QByteArray* old = FindBlock(block);
    std::vector<QString> entries = old != nullptr ? SplitBlock(*old) : std::vector<QString>();
    entries.resize(EntriesPerBlock);
    entries[Id & 15] = Text.left(0xFFFF);
    SetBlock(block, JoinBlock(entries));
}

const TStringTable& ProgramStringTable() {
    static const TStringTable table = BuildProgramTable();
    return table;
}

TResStringRec ResString(unsigned Id) {
    return TResStringRec{&ProgramStringTable(), Id};
}

TResStringRec ResStringText(const char* EightBitText) {
    return TResStringRec{&ProgramStringTable(), reinterpret_cast<std::uintptr_t>(EightBitText)};
}

int LoadStringFromResource(const TStringTable* Module, unsigned Id, char16_t* Buffer, int BufLen) {
    // A negative 16-bit id widened to 32 bits names the same string.
    if ((Id & 0xFFFF0000u) == 0xFFFF0000u) {
        Id = 0u - Id;
    }
    const QByteArray* block = Module != nullptr ? Module->FindBlock(BlockOf(Id)) : nullptr;
    if (block == nullptr) {
        return 0;
    }
    // Walk to the entry; a block too short to hold it counts as missing.
    qsizetype at = 0;
    for (unsigned skip = Id & 15; skip > 0; --skip) {
        if (at + 2 > block->size()) {
            return 0;
        }
        at += 2 + 2 * qsizetype(ReadUnit(*block, at));
    }
    if (at + 2 > block->size()) {
        return 0;
    }
    int length = ReadUnit(*block, at);
    at += 2;
    if (at + 2 * qsizetype(length) > block->size()) {
        return 0;
    }
    if (Buffer == nullptr || BufLen < 1) {
        return length;
    }
    int copied = std::min(length, BufLen - 1);
    for (int i = 0; i < copied; ++i) {
        Buffer[i] = char16_t(ReadUnit(*block, at + 2 * i));
    }
    Buffer[copied] = u'\0';
    return copied;
}

int LoadStringWide(const TStringTable* Module, unsigned Id, char16_t* Buffer, int BufLen) {
    return LoadStringFromResource(Module, Id, Buffer, BufLen);
}

QString LoadResStringW(const TResStringRec* Record) {
    if (Record == nullptr) {
        return QString();
    }
    if (Record->Identifier < 65536) {
        std::vector<char16_t> buffer(ResStringBufferLength);
        int n = LoadStringWide(Record->Module, unsigned(Record->Identifier), buffer.data(),
                               ResStringBufferLength);
        return QString::fromUtf16(buffer.data(), n);
    }
    const char* text = reinterpret_cast<const char*>(Record->Identifier);
    QByteArray bytes(text, qsizetype(std::strlen(text)));
    if (bytes.size() > 3 && bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    return DecodeCp1251(bytes);
}

QString WideResString(const TResStringRec& Record) {
    return LoadResStringW(&Record);
}

} // namespace tvx
