#include "support/arrays.h"
#include "support/print_qstring.h"
#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace tvx;

namespace {

void* P(std::uintptr_t v) {
    return reinterpret_cast<void*>(v);
}

// Records its own destruction so ownership can be checked.
class Probe : public TObject {
public:
    explicit Probe(int* Destroyed) : Destroyed(Destroyed) {}
    ~Probe() override { ++*Destroyed; }
    int* Destroyed;
};

void ExpectIndexError(const std::function<void()>& f, int value) {
    try {
        f();
        FAIL() << "no error raised";
    } catch (const EArrayError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Array index out of range: %1").arg(value));
    }
}

int CompareInts(TBaseArray* a, int i, int j, void*) {
    auto* items = reinterpret_cast<int*>(a->Data());
    return items[i] < items[j] ? -1 : (items[i] > items[j] ? 1 : 0);
}

int CountingCompare(TBaseArray*, int, int, void* data) {
    ++*static_cast<int*>(data);
    return 0;
}

} // namespace

TEST(Arrays, GrowthSteps) {
    TPointerArray a;
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Capacity(), 32);
    std::vector<std::pair<int, int>> steps; // (count after Add, capacity)
    for (int i = 1; i <= 320; ++i) {
        int before = a.Capacity();
        a.Add(P(i));
        if (a.Capacity() != before) {
            steps.push_back({i, a.Capacity()});
        }
    }
    std::vector<std::pair<int, int>> expected{{33, 64},   {65, 96},   {97, 128},  {129, 160},
                                              {161, 200}, {201, 250}, {251, 312}, {313, 390}};
    EXPECT_EQ(steps, expected);
    for (int i = 0; i < 320; ++i) {
        ASSERT_EQ(a.GetItem(i), P(i + 1));
    }
}

TEST(Arrays, IndexErrorsLeaveArrayUnchanged) {
    TPointerArray a;
    a.Add(P(1));
    a.Add(P(2));
    a.Insert(2, P(3)); // Insert at Count appends
    EXPECT_EQ(a.GetItem(2), P(3));
    ExpectIndexError([&] { a.Insert(4, P(9)); }, 4);
    ExpectIndexError([&] { a.Insert(-1, P(9)); }, -1);
    ExpectIndexError([&] { a.GetItem(3); }, 3);
    ExpectIndexError([&] { a.Delete(3); }, 3);
    ExpectIndexError([&] { a.Exchange(0, 3); }, 3);
    ExpectIndexError([&] { a.SetCount(a.MaxCount() + 1); }, a.MaxCount() + 1);
    ExpectIndexError([&] { a.SetCount(-1); }, -1);
    ExpectIndexError([&] { a.SetCapacity(2); }, 2);
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(a.Capacity(), 32);
    EXPECT_EQ(a.GetItem(0), P(1));

    try {
        a.Error();
        FAIL();
    } catch (const EArrayError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("General array error."));
    }
    EXPECT_EQ(a.Count(), 0);
}

TEST(Arrays, InsertDeleteAndIndexOf) {
    TPointerArray a;
    a.Add(P(1));
    a.Add(P(3));
    a.Insert(1, P(2));
    a.Add(P(2));
    EXPECT_EQ(a.IndexOf(P(2)), 1);
    EXPECT_EQ(a.IndexOf(nullptr), -1);
    a.Delete(0);
    EXPECT_EQ(a.GetItem(0), P(2));
    EXPECT_EQ(a.GetItem(1), P(3));
    EXPECT_EQ(a.Count(), 3);
    // The freed last slot is zeroed.
    EXPECT_EQ(*reinterpret_cast<void**>(a.ItemPtr(3)), nullptr);

    TPointerArray one;
    one.Add(P(7));
    one.Delete(0);
    EXPECT_EQ(one.Count(), 0);
    EXPECT_EQ(*reinterpret_cast<void**>(one.ItemPtr(0)), nullptr);

    // SetCount beyond the capacity grows it to exactly that count.
    one.SetCount(45);
    EXPECT_EQ(one.Capacity(), 45);
    one.Clear();
    EXPECT_EQ(one.Capacity(), 0);
    one.Add(P(1)); // grows again from nothing
    EXPECT_EQ(one.Capacity(), 32);
}

TEST(Arrays, ObjectOwnership) {
    int destroyed = 0;
    {
        TObjectArray owning;
        for (int i = 0; i < 3; ++i) {
            owning.Add(new Probe(&destroyed));
        }
        owning.Add(nullptr); // skipped by the destroy
        std::unique_ptr<TObject> taken(owning.GetItem(0));
        owning.Delete(0);
        EXPECT_EQ(destroyed, 0); // Delete hands the object to the caller
        owning.Clear();
        EXPECT_EQ(destroyed, 2);
        EXPECT_EQ(owning.Count(), 0);
        EXPECT_EQ(owning.Capacity(), 0);
        owning.Add(new Probe(&destroyed));
    }
    EXPECT_EQ(destroyed, 4); // the taken one and the one freed by the destructor

    Probe kept(&destroyed);
    {
        TObjectArray borrowing;
        borrowing.OwnsObjects = false;
        borrowing.Add(&kept);
        borrowing.Clear();
        borrowing.Add(&kept);
    }
    EXPECT_EQ(destroyed, 4);

    // A copy of an owning array refers to the objects but never frees them;
    // what the copy owned before goes.
    {
        TObjectArray owner;
        owner.Add(new Probe(&destroyed));
        TObjectArray copy;
        copy.Add(new Probe(&destroyed));
        copy.Assign(&owner);
        EXPECT_EQ(destroyed, 5);
        EXPECT_FALSE(copy.OwnsObjects);
        EXPECT_EQ(copy.GetItem(0), owner.GetItem(0));
        owner.Assign(&owner);
        EXPECT_TRUE(owner.OwnsObjects);
        copy.Clear();
    }
    EXPECT_EQ(destroyed, 6);
}

TEST(Arrays, SortOrdersByIndexComparison) {
    TBaseArray a(sizeof(int));
    std::vector<int> values{5, 3, 9, 1, 5, 7, 2, 8, 0, 6, 4, 5};
    a.SetCount(int(values.size()));
    std::memcpy(a.Data(), values.data(), values.size() * sizeof(int));
    a.Sort(CompareInts, nullptr);
    std::vector<int> sorted(values.size());
    std::memcpy(sorted.data(), a.Data(), sorted.size() * sizeof(int));
    std::sort(values.begin(), values.end());
    EXPECT_EQ(sorted, values);
    EXPECT_FALSE(a.Sorted());

    int calls = 0;
    a.SetSorted(true);
    a.Sort(CountingCompare, &calls);
    TBaseArray single(4);
    single.SetCount(1);
    single.Sort(CountingCompare, &calls);
    EXPECT_EQ(calls, 0);
}

TEST(Arrays, AssignCopiesItemsAndFlags) {
    TPointerArray a;
    a.Add(P(1));
    a.Add(P(2));
    a.SetSorted(true);
    a.SetDuplicates(0);
    TPointerArray b;
    b.Add(P(9));
    b.Assign(&a);
    EXPECT_EQ(b.Count(), 2);
    EXPECT_EQ(b.GetItem(1), P(2));
    EXPECT_TRUE(b.Sorted());
    EXPECT_EQ(b.Duplicates(), 0);

    TPersistent other;
    try {
        b.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot assign a TPersistent to a TPointerArray"));
    }
}
