// isCandidate: which calls may become calls of a static method with the IL
// still valid.
#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::IInstruction;

const uint32_t kEnterRef = 0x0A000001;   // Monitor::Enter
const uint32_t kCtorRef = 0x0A000002;    // SemaphoreSlim::.ctor
const uint32_t kCctorDef = 0x06000003;   // a type initialiser
const uint32_t kWaitDef = 0x06000004;    // a method of this module
const uint32_t kCtorLikeRef = 0x0A000005;  // named ".ctorx": not a constructor
const uint32_t kUnknownRef = 0x0A000006;   // not in the metadata

class Candidate : public EngineTest {
protected:
    void SetUp() override {
        info.metadata.memberRefs[kEnterRef] = u"Enter";
        info.metadata.memberRefs[kCtorRef] = u".ctor";
        info.metadata.memberRefs[kCtorLikeRef] = u".ctorx";
        info.metadata.methods[kCctorDef] = FakeMethodDef{u".cctor", 0x02000002, {}};
        info.metadata.methods[kWaitDef] = FakeMethodDef{u"Wait", 0x02000002, {}};
    }

    // isCandidate of each instruction of the code.
    std::vector<bool> candidates(const Bytes& code) {
        ++m_function;
        m_method = load(fatBody(code), m_function, kMethodToken + static_cast<uint32_t>(m_function));
        EXPECT_NE(nullptr, m_method);
        std::vector<bool> out;
        if (m_method)
            for (IInstruction* i : instructions(m_method.get())) out.push_back(i->isCandidate());
        return out;
    }

    MethodPtr m_method;
    cor::FunctionID m_function = 0x400;
};

TEST_F(Candidate, CallCallvirtAndNewobj) {
    EXPECT_EQ((std::vector<bool>{true, true, true, true, false}),
              candidates(Code()
                             .op(0x28).u32(kEnterRef)
                             .op(0x6F).u32(kWaitDef)
                             .op(0x73).u32(kCtorRef)
                             .op(0x28).u32(0x2B000001)  // a generic method instantiation
                             .op(0x2A)
                             .bytes()));
}

TEST_F(Candidate, EverythingElseIsNot) {
    EXPECT_EQ((std::vector<bool>{false, false, false, false, false, false, false, false, false}),
              candidates(Code()
                             .op(0xFE06).u32(kEnterRef)   // ldftn
                             .op(0x26)
                             .op(0x02)
                             .op(0xFE07).u32(kEnterRef)   // ldvirtftn
                             .op(0x29).u32(0x11000001)    // calli
                             .op(0xD0).u32(kEnterRef)     // ldtoken
                             .op(0x27).u32(kWaitDef)      // jmp
                             .op(0x00)
                             .op(0x2A)
                             .bytes()));
}

TEST_F(Candidate, NothingBehindAPrefix) {
    const std::vector<Bytes> prefixes = {
        Code().op(0xFE16).u32(0x1B000001).bytes(),  // constrained.
        Code().op(0xFE14).bytes(),                  // tail.
        Code().op(0xFE1E).bytes(),                  // readonly.
        Code().op(0xFE13).bytes(),                  // volatile.
        Code().op(0xFE12).u8(1).bytes(),            // unaligned.
        Code().op(0xFE19).u8(4).bytes(),            // no.
    };
    for (size_t p = 0; p < prefixes.size(); ++p) {
        for (uint32_t call : {0x28u, 0x6Fu, 0x73u}) {
            std::vector<bool> c =
                candidates(Code().raw(prefixes[p]).op(call).u32(kEnterRef).op(0x28).u32(kEnterRef).op(0x2A).bytes());
            EXPECT_EQ((std::vector<bool>{false, false, true, false}), c) << p << " " << std::hex << call;
        }
    }
    // Prefixes chain: a call behind two of them is still behind a prefix.
    EXPECT_EQ((std::vector<bool>{false, false, false, false}),
              candidates(Code().op(0xFE16).u32(0x1B000001).op(0xFE14).op(0x6F).u32(kEnterRef).op(0x2A).bytes()));
}

TEST_F(Candidate, ConstructorsCalledInPlaceAreNot) {
    // A base constructor call or a value type's constructor on an address:
    // the object exists already, no static method can initialise it.
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true, true, false}),
              candidates(Code()
                             .op(0x02)
                             .op(0x28).u32(kCtorRef)
                             .op(0x28).u32(kCctorDef)
                             .op(0x6F).u32(kCtorRef)
                             .op(0x28).u32(kCtorLikeRef)
                             .op(0x73).u32(kCtorRef)
                             .op(0x2A)
                             .bytes()));
}

TEST_F(Candidate, UnknownTargetsAreNot) {
    EXPECT_EQ((std::vector<bool>{false, true, false}),
              candidates(Code().op(0x28).u32(kUnknownRef).op(0x73).u32(kUnknownRef).op(0x2A).bytes()));
    info.metadataAvailable = false;
    EXPECT_EQ((std::vector<bool>{false, false, true, true, false}),
              candidates(Code()
                             .op(0x28).u32(kEnterRef)
                             .op(0x6F).u32(kWaitDef)
                             .op(0x73).u32(kCtorRef)
                             .op(0x28).u32(0x2B000002)
                             .op(0x2A)
                             .bytes()));
}

TEST_F(Candidate, DelegateConstructionIsNot) {
    // ldnull ldftn newobj, and ldarg.0 dup ldvirtftn newobj: the function
    // pointer must go straight into the delegate's constructor.
    EXPECT_EQ((std::vector<bool>{false, false, false, false, false, false, false, false, true, false}),
              candidates(Code()
                             .op(0x14)
                             .op(0xFE06).u32(kWaitDef)
                             .op(0x73).u32(kCtorRef)
                             .op(0x02)
                             .op(0x25)
                             .op(0xFE07).u32(kWaitDef)
                             .op(0x73).u32(kCtorRef)
                             .op(0x26)
                             .op(0x73).u32(kCtorRef)
                             .op(0x2A)
                             .bytes()));
}

TEST_F(Candidate, FollowsTheCurrentOpcode) {
    (void)candidates(Code().op(0xFE06).u32(kEnterRef).op(0x2A).bytes());
    std::vector<IInstruction*> in = instructions(m_method.get());
    EXPECT_FALSE(in[0]->isCandidate());
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, in[0]->setOpcode(0x28));
    EXPECT_TRUE(in[0]->isCandidate());
}

}  // namespace
}  // namespace cie_test
