// Walking instructions, and the lifetimes of iterators and methods in every
// order the caller may release them.
#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::IInstruction;
using tavoli::IInstructionIterator;

const Bytes kThree = tinyBody(Code().op(0x02).op(0x26).op(0x2A).bytes());

class Iterate : public EngineTest {};

TEST_F(Iterate, FirstNextAndCurrent) {
    MethodPtr method = load(kThree);
    ASSERT_NE(nullptr, method);
    IteratorPtr it(method->getInstructions(1));
    ASSERT_NE(nullptr, it);
    EXPECT_EQ(nullptr, it->current());
    IInstruction* a = it->first();
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a, it->current());
    EXPECT_EQ(0x02u, a->getOpcode());
    IInstruction* b = it->next();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(0x26u, b->getOpcode());
    EXPECT_EQ(b, it->current());
    IInstruction* c = it->next();
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(0x2Au, c->getOpcode());
    EXPECT_EQ(nullptr, it->next());
    EXPECT_EQ(nullptr, it->current());
    EXPECT_EQ(nullptr, it->next());
    // first() starts over, and gives the same objects.
    EXPECT_EQ(a, it->first());
    EXPECT_EQ(b, it->next());
}

TEST_F(Iterate, NextOnANewIteratorGivesTheFirst) {
    MethodPtr method = load(kThree);
    IteratorPtr it(method->getInstructions(0));
    IInstruction* first = it->next();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0u, first->getOffset());
    size_t n = 1;
    while (it->next() != nullptr) ++n;
    EXPECT_EQ(3u, n);
    EXPECT_EQ(3u, method->instructionCount());
}

TEST_F(Iterate, IteratorsAreIndependent) {
    MethodPtr method = load(kThree);
    IteratorPtr one(method->getInstructions(1));
    IteratorPtr two(method->getInstructions(1));
    ASSERT_NE(one.get(), two.get());
    one->first();
    one->next();
    EXPECT_EQ(0x02u, two->first()->getOpcode());
    EXPECT_EQ(0x26u, one->current()->getOpcode());
    // Edits through one are seen through the other: they are the same
    // instructions.
    EXPECT_EQ(one->current(), two->next());
}

TEST_F(Iterate, IteratorReleasedBeforeTheMethod) {
    MethodPtr method = load(kThree);
    IInstructionIterator* it = method->getInstructions(1);
    it->first();
    it->release();
    IteratorPtr again(method->getInstructions(1));
    EXPECT_NE(nullptr, again->first());
}

TEST_F(Iterate, IteratorsNeverReleasedGoWithTheirMethod) {
    // Under the leak checker: the method's release frees them all, the ones
    // released early are not freed twice.
    MethodPtr method = load(kThree);
    for (int i = 0; i < 5; ++i) ASSERT_NE(nullptr, method->getInstructions(1)->first());
    method->getInstructions(1)->release();
    IInstructionIterator* kept = method->getInstructions(1);
    method->getInstructions(1)->release();
    EXPECT_EQ(0x02u, kept->next()->getOpcode());
}

TEST_F(Iterate, InstructionsStayValidAcrossApply) {
    MethodPtr method = load(fatBody(Code().op(0x6F).u32(0x0A000001).op(0x2A).bytes()));
    IteratorPtr it(method->getInstructions(1));
    IInstruction* call = it->first();
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, call->setOpcode(0x28));
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(0x28u, call->getOpcode());
    EXPECT_EQ(call, it->current());
}

}  // namespace
}  // namespace cie_test
