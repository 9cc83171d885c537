#pragma once
// Growable arrays: TBaseArray keeps items of one fixed byte size in one
// contiguous block, TPointerArray holds pointers and TObjectArray may own the
// objects its pointers refer to. Every index or size fault raises EArrayError
// and leaves the array as it was.
#include "platform/exception.h"
#include "support/streamed_object.h"
#include <cstddef>

namespace tvx {

class EArrayError : public Exception {
public:
    using Exception::Exception;
};

// Raises EArrayError with "Array index out of range: %d" for Index.
[[noreturn]] void RaiseArrayIndexError(int Index);

class TBaseArray;

// Orders item Index1 before (< 0), with (0) or after (> 0) item Index2.
using TArraySortCompare = int (*)(TBaseArray* Array, int Index1, int Index2, void* Data);

class TBaseArray : public TStreamedObject {
public:
    static constexpr int InitialCapacity = 32;

    explicit TBaseArray(int ItemSize);
    ~TBaseArray() override;
    TBaseArray(const TBaseArray&) = delete;
    TBaseArray& operator=(const TBaseArray&) = delete;

    QString ClassName() const override { return QStringLiteral("TBaseArray"); }

    // Copies count, items, Duplicates and Sorted of another array of the
    // same item size; any other source raises EConvertError.
    void Assign(const TPersistent* Source) override;

    void SaveToStream(TStream& Stream) const override;
    void LoadFromStream(TStream& Stream) override;
    int StreamSize() const override;

    int Count() const { return FCount; }
    void SetCount(int NewCount);
    int Capacity() const { return FCapacity; }
    void SetCapacity(int NewCapacity);
    int ItemSize() const { return FItemSize; }
    int MaxCount() const { return FMaxCount; }
    bool Sorted() const { return FSorted; }
    virtual void SetSorted(bool Value);
    unsigned char Duplicates() const { return FDuplicates; }
    void SetDuplicates(unsigned char Value) { FDuplicates = Value; }

    // The item block; Capacity() x ItemSize() bytes, nullptr when released.
    std::byte* Data() { return FData; }
    const std::byte* Data() const { return FData; }
    // Address of item Index; Index may equal Count (the slot behind the last).
    std::byte* ItemPtr(int Index);
    const std::byte* ItemPtr(int Index) const;

    // Capacity grows by 32 up to 128, then by a quarter.
    void Grow();
    // Count 0 and the block released.
    virtual void Clear();
    // Removes item Index (0 <= Index < Count); the freed last slot is zeroed.
    virtual void Delete(int Index);
    // Quick sort by index comparison; nothing happens while Sorted is set.
    virtual void Sort(TArraySortCompare Compare, void* Data);
    // Swaps two items without checking the indices.
    virtual void Exchange(int Index1, int Index2);
    virtual void ExchangeFast(int Index1, int Index2);
    // Clears the array and raises "General array error.".
    [[noreturn]] void Error();

protected:
    void CheckIndex(int Index, int Limit) const;

private:
    void QuickSort(int L, int R, void* Data, TArraySortCompare Compare);
    void Reallocate(int NewCapacity);
    void ReleaseBlock();

    int FCapacity = 0;
    bool FSorted = false;
    unsigned char FDuplicates = 1;
    int FMaxCount = 0;
    int FItemSize = 0;
    std::byte* FData = nullptr;
    int FCount = 0;
};

class TPointerArray : public TBaseArray {
public:
    TPointerArray();

    QString ClassName() const override { return QStringLiteral("TPointerArray"); }

    // Inserts P before item Index (0 <= Index <= Count).
    void Insert(int Index, void* P);
    // Appends P and returns its index.
    int Add(void* P);
    void* GetItem(int Index) const;
    // First index holding P, or -1.
    int IndexOf(const void* P) const;

    void Exchange(int Index1, int Index2) override;
    void ExchangeFast(int Index1, int Index2) override;

protected:
    void* RawItem(int Index) const;
    void SetRawItem(int Index, void* P);
};

// An array of objects. While OwnsObjects is set, Clear (and so destruction)
// destroys the objects; Delete never does: a deleted item passes to the caller.
class TObjectArray : public TPointerArray {
public:
    TObjectArray();
    ~TObjectArray() override;

    QString ClassName() const override { return QStringLiteral("TObjectArray"); }

    // Frees its own objects when it owns them, then copies the source's
    // pointers without taking the objects over: afterwards it owns nothing,
    // whoever owned them before still does.
    void Assign(const TPersistent* Source) override;
    void Clear() override;

    void Insert(int Index, TObject* Object);
    int Add(TObject* Object);
    TObject* GetItem(int Index) const;
    int IndexOf(const TObject* Object) const;

    bool OwnsObjects = true;
};

} // namespace tvx
