// Walking overloads and the wrapper registry.
#include "blob_bytes.h"
#include "clrprof/wrapper.h"
#include "clrprof/wrapper_manager.h"

#include <gtest/gtest.h>

#include <set>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

TEST(VectorIterator, WalksToTheEndAndStaysThere) {
    int a = 1, b = 2, c = 3;
    std::vector<int*> items = {&a, &b, &c};
    VectorIterator<int*> it(&items);
    EXPECT_EQ(it.size(), 3u);
    EXPECT_FALSE(it.atEnd());
    EXPECT_EQ(it.current(), &a);
    EXPECT_TRUE(it.next());
    EXPECT_EQ(it.current(), &b);
    EXPECT_TRUE(it.next());
    EXPECT_EQ(it.current(), &c);
    // Reaching the end reports false...
    EXPECT_FALSE(it.next());
    EXPECT_TRUE(it.atEnd());
    EXPECT_EQ(it.current(), nullptr);
    // ...and stays there.
    EXPECT_FALSE(it.next());
    EXPECT_TRUE(it.atEnd());
    it.reset();
    EXPECT_EQ(it.current(), &a);
}

TEST(VectorIterator, EmptyVectorStartsAtTheEnd) {
    std::vector<int*> items;
    VectorIterator<int*> it(&items);
    EXPECT_TRUE(it.atEnd());
    EXPECT_FALSE(it.next());
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(it.size(), 0u);
}

TEST(VectorIterator, IteratorsOfOneWrapperAreIndependent) {
    const Bytes blob = {0x00, 0x00, ELEMENT_TYPE_VOID};
    Wrapper w(VESK_W("A"), VESK_W("C"), VESK_W("M"), VESK_W("W"), VESK_W("WC"), VESK_W("WM"), blob.data(),
              static_cast<uint32_t>(blob.size()), nullptr);
    w.addSignature(blob.data(), static_cast<uint32_t>(blob.size()));
    IteratorHolder<signature*> first(w.getSignatures());
    IteratorHolder<signature*> second(w.getSignatures());
    EXPECT_TRUE(first->next());
    EXPECT_FALSE(first->next());
    EXPECT_FALSE(second->atEnd());
    EXPECT_NE(second->current(), nullptr);
    EXPECT_NE(second->current(), first->current());
    EXPECT_EQ(second->size(), 2u);
}

TEST(MapIterator, VisitsEveryWrapperOnceAndYieldsNullAtTheEnd) {
    const Bytes blob = {0x00, 0x00, ELEMENT_TYPE_VOID};
    WrapperManager manager;
    std::set<Wrapper*> added;
    for (const vesk::WChar* method : {VESK_W("A"), VESK_W("B"), VESK_W("C")}) {
        Wrapper* w = new Wrapper(VESK_W("Asm"), VESK_W("Cls"), method, VESK_W("W"), VESK_W("WC"), method,
                                 blob.data(), static_cast<uint32_t>(blob.size()), nullptr);
        ASSERT_TRUE(manager.addWrapper(w));
        added.insert(w);
    }
    IteratorHolder<Wrapper*> it(manager.getWrappers());
    EXPECT_EQ(it->size(), 3u);
    std::set<Wrapper*> seen;
    for (; !it->atEnd(); it->next()) seen.insert(it->current());
    EXPECT_EQ(seen, added);
    EXPECT_EQ(it->current(), nullptr);
    EXPECT_FALSE(it->next());
    EXPECT_TRUE(it->atEnd());
    it->reset();
    EXPECT_FALSE(it->atEnd());
    EXPECT_EQ(added.count(it->current()), 1u);

    IteratorHolder<Wrapper*> other(manager.getWrappers());
    EXPECT_EQ(other->current(), it->current());
    other->next();
    EXPECT_NE(other->current(), it->current());
}

TEST(MapIterator, EmptyRegistry) {
    WrapperManager manager;
    IteratorHolder<Wrapper*> it(manager.getWrappers());
    EXPECT_TRUE(it->atEnd());
    EXPECT_EQ(it->current(), nullptr);
    EXPECT_FALSE(it->next());
    EXPECT_EQ(it->size(), 0u);
}

}  // namespace
