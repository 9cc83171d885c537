#include "support/arrays.h"
#include "support/res_strings.h"
#include "support/stream.h"
#include "support/tag_stream.h"
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tvx {

namespace {

constexpr std::uint16_t TagArrayStart = 256;
constexpr std::uint16_t TagItemSize = 261;
constexpr std::uint16_t TagDuplicates = 266;
constexpr std::uint16_t TagSorted = 271;
constexpr std::uint16_t TagCount = 276;
constexpr std::uint16_t TagData = 281;
constexpr std::uint16_t TagArrayEnd = 511;

QString FormatMessage(unsigned Id, int Value) {
    QString text = WideResString(ResString(Id));
    return QString::asprintf(text.toUtf8().constData(), Value);
}

} // namespace

void RaiseArrayIndexError(int Index) {
    throw EArrayError(FormatMessage(SArrayIndexError, Index));
}

// --- TBaseArray ---

TBaseArray::TBaseArray(int ItemSize) : FItemSize(ItemSize) {
    if (ItemSize <= 0) {
        RaiseArrayIndexError(ItemSize);
    }
    FMaxCount = INT_MAX / ItemSize;
    SetCapacity(InitialCapacity);
}

TBaseArray::~TBaseArray() {
    // A derived array that owns objects has released them in its own
    // destructor already; here only the block goes.
    if (FData != nullptr) {
        TBaseArray::Clear();
    }
}

void TBaseArray::ReleaseBlock() {
    std::free(FData);
    FData = nullptr;
    FCapacity = 0;
}

void TBaseArray::Reallocate(int NewCapacity) {
    size_t oldBytes = size_t(FCapacity) * size_t(FItemSize);
    size_t newBytes = size_t(NewCapacity) * size_t(FItemSize);
    if (newBytes == 0) {
        ReleaseBlock();
        return;
    }
    auto* block = static_cast<std::byte*>(std::realloc(FData, newBytes));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    if (newBytes > oldBytes) {
        std::memset(block + oldBytes, 0, newBytes - oldBytes);
    }
    FData = block;
    FCapacity = NewCapacity;
}

void TBaseArray::SetCapacity(int NewCapacity) {
    if (NewCapacity < FCount || NewCapacity > FMaxCount) {
        RaiseArrayIndexError(NewCapacity);
    }
    if (NewCapacity != FCapacity) {
        Reallocate(NewCapacity);
    }
}

void TBaseArray::SetCount(int NewCount) {
    if (NewCount < 0 || NewCount > FMaxCount) {
        RaiseArrayIndexError(NewCount);
    }
    if (NewCount > FCapacity) {
        SetCapacity(NewCount);
    }
    FCount = NewCount;
}

void TBaseArray::SetSorted(bool Value) {
    FSorted = Value;
}

void TBaseArray::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit) {
        RaiseArrayIndexError(Index);
    }
}

std::byte* TBaseArray::ItemPtr(int Index) {
    CheckIndex(Index, FCount + 1);
    return FData + size_t(Index) * size_t(FItemSize);
}

const std::byte* TBaseArray::ItemPtr(int Index) const {
    CheckIndex(Index, FCount + 1);
    return FData + size_t(Index) * size_t(FItemSize);
}

void TBaseArray::Grow() {
    SetCapacity(FCapacity + (FCapacity > 128 ? FCapacity / 4 : 32));
}

void TBaseArray::Clear() {
    FCount = 0;
    ReleaseBlock();
}

void TBaseArray::Delete(int Index) {
    CheckIndex(Index, FCount);
    std::byte* slot = FData + size_t(Index) * size_t(FItemSize);
    size_t tail = size_t(FCount - Index - 1) * size_t(FItemSize);
    std::memmove(slot, slot + FItemSize, tail);
    --FCount;
    std::memset(FData + size_t(FCount) * size_t(FItemSize), 0, size_t(FItemSize));
}

void TBaseArray::Sort(TArraySortCompare Compare, void* Data) {
    if (FSorted || FCount < 2) {
        return;
    }
    QuickSort(0, FCount - 1, Data, Compare);
}

void TBaseArray::QuickSort(int L, int R, void* Data, TArraySortCompare Compare) {
    int I = 0;
    do {
        I = L;
        int J = R;
        int P = int((unsigned(L) + unsigned(R)) >> 1);
        do {
            while (Compare(this, I, P, Data) < 0) {
                ++I;
            }
            while (Compare(this, J, P, Data) > 0) {
                --J;
            }
            if (I <= J) {
                ExchangeFast(I, J);
                // The pivot is an index: follow its item when it moves.
                if (P == I) {
                    P = J;
                } else if (P == J) {
                    P = I;
                }
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J) {
            QuickSort(L, J, Data, Compare);
        }
        L = I;
    } while (I < R);
}

void TBaseArray::Exchange(int Index1, int Index2) {
    std::byte* a = FData + size_t(Index1) * size_t(FItemSize);
    std::byte* b = FData + size_t(Index2) * size_t(FItemSize);
    for (int i = 0; i < FItemSize; ++i) {
        std::byte t = a[i];
        a[i] = b[i];
        b[i] = t;
    }
}

void TBaseArray::ExchangeFast(int Index1, int Index2) {
    Exchange(Index1, Index2);
}

void TBaseArray::Assign(const TPersistent* Source) {
    const auto* source = dynamic_cast<const TBaseArray*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) {
        return;
    }
    // Only the bytes both arrays share per item are copied when the item sizes differ.
    Clear();
    SetCount(source->FCount);
    size_t itemBytes = size_t(std::min(FItemSize, source->FItemSize));
    for (int i = 0; i < FCount; ++i) {
        std::memcpy(FData + size_t(i) * size_t(FItemSize),
                    source->FData + size_t(i) * size_t(source->FItemSize), itemBytes);
    }
    FDuplicates = source->FDuplicates;
    FSorted = source->FSorted;
}

void TBaseArray::Error() {
    Clear();
    throw EArrayError(WideResString(ResString(SGeneralArrayError)));
}

// --- streaming ---

void TBaseArray::SaveToStream(TStream& Stream) const {
    WriteTag(Stream, TagArrayStart);
    if (FItemSize != 0) {
        WriteTag(Stream, TagItemSize);
        WriteIntegerValue(Stream, FItemSize);
    }
    if (FDuplicates != 0) {
        WriteTag(Stream, TagDuplicates);
        WriteByteValue(Stream, FDuplicates);
    }
    if (FSorted) {
        WriteTag(Stream, TagSorted);
        WriteBooleanValue(Stream, true);
    }
    WriteTag(Stream, TagCount);
    WriteIntegerValue(Stream, FCount);
    if (FCount > 0) {
        WriteTag(Stream, TagData);
        WriteBinaryValue(Stream, FData, FCount * FItemSize);
    }
    WriteTag(Stream, TagArrayEnd);
}

int TBaseArray::StreamSize() const {
    int size = 4;
    if (FItemSize != 0) {
        size += 2 + IntegerValueSize(FItemSize);
    }
    if (FDuplicates != 0) {
        size += 4;
    }
    if (FSorted) {
        size += 3;
    }
    size += 2 + IntegerValueSize(FCount);
    if (FCount > 0) {
        size += 2 + BinaryValueSize(FCount * FItemSize);
    }
    return size;
}

// Reads the array's record. The record is read whole before the array
// changes, so a damaged or short record raises EStreamError and leaves the
// array as it was. The item size is fixed by the array's kind: a record of
// another item size is refused rather than reinterpreted.
void TBaseArray::LoadFromStream(TStream& Stream) {
    ReadTag(Stream, TagArrayStart);
    unsigned char duplicates = FDuplicates;
    bool sorted = FSorted;
    int count = FCount;
    bool haveData = false;
    std::int64_t dataAt = 0;
    QByteArray data;
    for (;;) {
        std::uint16_t tag = ReadRawTag(Stream);
        if (tag == TagArrayEnd) {
            break;
        }
        std::int64_t valueAt = Stream.Position();
        switch (tag) {
        case TagItemSize:
            if (ReadIntegerValue(Stream) != FItemSize) {
                RaiseInvalidValue(valueAt);
            }
            break;
        case TagDuplicates:
            duplicates = ReadByteValue(Stream);
            break;
        case TagSorted:
            sorted = ReadBooleanValue(Stream);
            break;
        case TagCount:
            count = ReadIntegerValue(Stream);
            if (count < 0 || count > FMaxCount) {
                RaiseInvalidValue(valueAt);
            }
            break;
        case TagData:
            // Checked against the count before anything is copied.
            data = ReadBinaryValue(Stream, std::int32_t(qint64(count) * FItemSize));
            haveData = true;
            dataAt = valueAt;
            break;
        default:
            SkipValue(Stream);
            break;
        }
    }
    if (haveData && data.size() != qsizetype(count) * FItemSize) {
        // A count that came after the data disagrees with it.
        RaiseInvalidValue(dataAt);
    }
    if (haveData) {
        TBaseArray::Clear();
    }
    FDuplicates = duplicates;
    FSorted = sorted;
    SetCount(count);
    if (haveData && count > 0) {
        std::memcpy(FData, data.constData(), size_t(data.size()));
    }
}

// --- TPointerArray ---

TPointerArray::TPointerArray() : TBaseArray(int(sizeof(void*))) {}

void* TPointerArray::RawItem(int Index) const {
    void* p = nullptr;
    std::memcpy(&p, Data() + size_t(Index) * sizeof(void*), sizeof(void*));
    return p;
}

void TPointerArray::SetRawItem(int Index, void* P) {
    std::memcpy(Data() + size_t(Index) * sizeof(void*), &P, sizeof(void*));
}

void TPointerArray::Insert(int Index, void* P) {
    CheckIndex(Index, Count() + 1);
    if (Count() == Capacity()) {
        Grow();
    }
    if (Index < Count()) {
        std::byte* slot = Data() + size_t(Index) * sizeof(void*);
        std::memmove(slot + sizeof(void*), slot, size_t(Count() - Index) * sizeof(void*));
    }
    SetCount(Count() + 1);
    SetRawItem(Index, P);
}

int TPointerArray::Add(void* P) {
    int index = Count();
    Insert(index, P);
    return index;
}

void* TPointerArray::GetItem(int Index) const {
    CheckIndex(Index, Count());
    return RawItem(Index);
}

int TPointerArray::IndexOf(const void* P) const {
    for (int i = 0; i < Count(); ++i) {
        if (RawItem(i) == P) {
            return i;
        }
    }
    return -1;
}

void TPointerArray::Exchange(int Index1, int Index2) {
    CheckIndex(Index1, Count());
    CheckIndex(Index2, Count());
    ExchangeFast(Index1, Index2);
}

void TPointerArray::ExchangeFast(int Index1, int Index2) {
    void* a = RawItem(Index1);
    SetRawItem(Index1, RawItem(Index2));
    SetRawItem(Index2, a);
}

// --- TObjectArray ---

TObjectArray::TObjectArray() = default;

TObjectArray::~TObjectArray() {
    if (Data() != nullptr) {
        TObjectArray::Clear();
    }
}

void TObjectArray::Assign(const TPersistent* Source) {
    if (Source == this) {
        return;
    }
    TPointerArray::Assign(Source);
    OwnsObjects = false;
}

void TObjectArray::Clear() {
    for (int i = 0; i < Count(); ++i) {
        if (OwnsObjects) {
            delete static_cast<TObject*>(RawItem(i));
        }
        SetRawItem(i, nullptr);
    }
    TPointerArray::Clear();
}

void TObjectArray::Insert(int Index, TObject* Object) {
    TPointerArray::Insert(Index, static_cast<void*>(Object));
}

int TObjectArray::Add(TObject* Object) {
    return TPointerArray::Add(static_cast<void*>(Object));
}

TObject* TObjectArray::GetItem(int Index) const {
    return static_cast<TObject*>(TPointerArray::GetItem(Index));
}

int TObjectArray::IndexOf(const TObject* Object) const {
    return TPointerArray::IndexOf(static_cast<const void*>(Object));
}

} // namespace tvx
