// The pools of the parse tree: objects made over many chunks (the later ones
// made ahead on another thread) keep what they were made with until the pool
// is cleared, and a cleared pool is used again.
#include "parser/object_pool.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tvx {
namespace {

struct TCounted {
    static inline int Alive = 0;
    explicit TCounted(int Value) : Value(Value), Text(std::to_string(Value)) { ++Alive; }
    ~TCounted() { --Alive; }
    int Value;
    std::string Text;
};

TEST(ObjectPoolTest, ObjectsOverManyChunksKeepTheirValuesUntilCleared) {
    TObjectPool<TCounted> Pool;
    for (int Round = 0; Round < 3; ++Round) {
        std::vector<TCounted*> Made;
        const int Count = 50000 + Round * 7; // several chunks, the last one part-filled
        for (int I = 0; I < Count; ++I) {
            Made.push_back(Pool.New(I));
        }
        EXPECT_EQ(TCounted::Alive, Count);
        for (int I = 0; I < Count; I += 997) {
            ASSERT_EQ(Made[size_t(I)]->Value, I);
            ASSERT_EQ(Made[size_t(I)]->Text, std::to_string(I));
        }
        EXPECT_EQ(Made.back()->Value, Count - 1);
        Pool.Clear();
        EXPECT_EQ(TCounted::Alive, 0);
        EXPECT_TRUE(Pool.IsEmpty());
    }
    // Dropped while a chunk is being made ahead, and destroyed so.
    TObjectPool<long long> Plain;
    for (int I = 0; I < 40000; ++I) {
        Plain.New(I);
    }
    Plain.Drop();
    EXPECT_TRUE(Plain.IsEmpty());
    for (int I = 0; I < 40000; ++I) {
        EXPECT_EQ(*Plain.New(I), I);
    }
}

} // namespace
} // namespace tvx
