// apply() against a runtime that accepts the new body, and against every way
// it can refuse one.
#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::IInstruction;
using tavoli::MRTE_ERROR_UNABLE_TO_INSTRUMENT;
using tavoli::MRTE_RESULT_OK;

const Bytes kFatCode = Code().op(0x02).op(0x6F).u32(0x0A000001).op(0x2A).bytes();

class Apply : public EngineTest {
protected:
    // Loads the body and turns its callvirt into a call.
    MethodPtr edited(const Bytes& body) {
        MethodPtr method = load(body);
        EXPECT_NE(nullptr, method);
        std::vector<IInstruction*> in = instructions(method.get());
        EXPECT_EQ(MRTE_RESULT_OK, in[1]->setOpcode(0x28));
        return method;
    }
    Bytes expectedAfterEdit(const Bytes& body, size_t headerSize) {
        Bytes out = body;
        out[headerSize + 1] = 0x28;
        return out;
    }
};

TEST_F(Apply, InstallsThroughTheRuntimesAllocator) {
    const Bytes body = fatBody(kFatCode, 2, 0x11000001, true);
    MethodPtr method = edited(body);
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    std::vector<InstalledBody> installed = info.installed();
    ASSERT_EQ(1u, installed.size());
    EXPECT_EQ(kModule, installed[0].module);
    EXPECT_EQ(kMethodToken, installed[0].token);
    EXPECT_EQ(expectedAfterEdit(body, 12), installed[0].bytes);
    EXPECT_EQ(1, info.allocator.allocations.load());
    EXPECT_EQ(0, info.allocator.references.load());  // the allocator was given back
}

TEST_F(Apply, RefusalsLeaveTheMethodAsItWas) {
    struct Case {
        AllocatorMode mode;
        cor::HRESULT setResult;
    };
    const Case cases[] = {
        {AllocatorMode::NoAllocator, cor::S_OK},
        {AllocatorMode::NullAllocator, cor::S_OK},
        {AllocatorMode::AllocFails, cor::S_OK},
        {AllocatorMode::Works, cor::E_FAIL},
        {AllocatorMode::Works, static_cast<cor::HRESULT>(0x80131360u)},
    };
    for (const Case& c : cases) {
        info.allocatorMode = c.mode;
        info.setBodyResult = c.setResult;
        MethodPtr method = edited(fatBody(kFatCode));
        EXPECT_EQ(MRTE_ERROR_UNABLE_TO_INSTRUMENT, method->apply()) << static_cast<int>(c.mode);
        EXPECT_TRUE(info.installed().empty());
        EXPECT_EQ(0, info.allocator.references.load());
    }
    // The edits stay: once the runtime takes bodies again, the same method
    // installs them.
    info.allocatorMode = AllocatorMode::AllocFails;
    MethodPtr method = edited(fatBody(kFatCode));
    EXPECT_EQ(MRTE_ERROR_UNABLE_TO_INSTRUMENT, method->apply());
    info.allocatorMode = AllocatorMode::Works;
    info.setBodyResult = cor::S_OK;
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(expectedAfterEdit(fatBody(kFatCode), 12), lastInstalled());
}

TEST_F(Apply, FatBodiesNeedMemoryOnA4ByteBoundary) {
    info.allocatorMode = AllocatorMode::MisalignedAlloc;
    MethodPtr fat = edited(fatBody(kFatCode));
    EXPECT_EQ(MRTE_ERROR_UNABLE_TO_INSTRUMENT, fat->apply());
    EXPECT_TRUE(info.installed().empty());
    // A tiny header has no alignment to keep.
    const Bytes tiny = tinyBody(kFatCode);
    MethodPtr method = edited(tiny);
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(expectedAfterEdit(tiny, 1), lastInstalled());
}

TEST_F(Apply, InstallsOnlyWhatChangedSinceTheLastInstall) {
    MethodPtr method = edited(fatBody(kFatCode));
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(1u, info.installed().size());
    std::vector<IInstruction*> in = instructions(method.get());
    tavoli::EngineOperand op = token(0x0A000002);
    ASSERT_EQ(MRTE_RESULT_OK, in[1]->setOperand(&op, 0, 0, 0));
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    ASSERT_EQ(2u, info.installed().size());
    Bytes expected = expectedAfterEdit(fatBody(kFatCode), 12);
    expected[12 + 2] = 0x02;
    EXPECT_EQ(expected, lastInstalled());
}

TEST_F(Apply, NothingChangedAsksTheRuntimeForNothing) {
    MethodPtr method = load(fatBody(kFatCode));
    ASSERT_NE(nullptr, method);
    for (IInstruction* i : instructions(method.get())) (void)i->isCandidate();
    EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(0, info.allocatorRequests.load());
}

}  // namespace
}  // namespace cie_test
