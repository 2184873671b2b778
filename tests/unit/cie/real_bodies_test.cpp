// Bodies the C# compiler produced (real_bodies.h): decoded instruction by
// instruction, re-encoded byte for byte, and rewritten as the profiler
// rewrites calls.
#include "cie/body_decoder.h"
#include "cie/body_encoder.h"
#include "engine_fixture.h"
#include "real_bodies.h"

#include <cstring>
#include <string>

namespace cie_test {
namespace {

using tavoli::IInstruction;
using tavoli::MRTE_RESULT_OK;
using tavoli::cie::DecodeStatus;
using tavoli::cie::MethodBody;
using tavoli::cie::findOpcode;

Bytes realBody(const char* name) {
    for (const RealBody& b : kRealBodies)
        if (std::strcmp(b.name, name) == 0) return hex(b.hex);
    ADD_FAILURE() << "no body " << name;
    return Bytes();
}

struct Expected {
    uint32_t offset;
    uint32_t opcode;
    uint32_t operand;  // token, branch target or immediate; 0 when none
};

class RealBodies : public EngineTest {
protected:
    MethodPtr open(const char* name) {
        ++m_function;
        MethodPtr method = load(realBody(name), m_function, kMethodToken + static_cast<uint32_t>(m_function));
        EXPECT_NE(nullptr, method) << name;
        return method;
    }
    void expectListing(const char* name, const std::vector<Expected>& expected) {
        MethodPtr method = open(name);
        ASSERT_NE(nullptr, method);
        std::vector<Seen> s = seen(method.get());
        ASSERT_EQ(expected.size(), s.size()) << name;
        for (size_t i = 0; i < s.size(); ++i) {
            EXPECT_EQ(expected[i].offset, s[i].offset) << name << " #" << i;
            EXPECT_EQ(expected[i].opcode, s[i].opcode) << name << " #" << i;
            EXPECT_EQ(expected[i].operand, s[i].operand.value) << name << " #" << i;
            if (i + 1 < s.size()) {
                EXPECT_EQ(s[i + 1].offset - s[i].offset, s[i].size) << name << " #" << i;
            }
        }
    }
    static MethodBody decoded(const Bytes& body) {
        MethodBody out;
        EXPECT_EQ(DecodeStatus::Ok, tavoli::cie::decodeBody(body.data(), body.size(), out));
        return out;
    }

    cor::FunctionID m_function = 0x900;
};

TEST_F(RealBodies, AllDecodeAndEncodeBackExactly) {
    for (const RealBody& b : kRealBodies) {
        const Bytes body = hex(b.hex);
        MethodBody m = decoded(body);
        EXPECT_EQ(body, m.original) << b.name;
        Bytes again;
        ASSERT_EQ(tavoli::cie::EncodeStatus::Ok, tavoli::cie::encodeBody(m, again)) << b.name;
        EXPECT_EQ(body, again) << b.name;
        MethodPtr method = open(b.name);
        ASSERT_NE(nullptr, method);
        EXPECT_EQ(MRTE_RESULT_OK, method->apply());
    }
    EXPECT_EQ(0, info.allocatorRequests.load());
}

TEST_F(RealBodies, LockedListing) {
    expectListing("Locked", {{0, 0x7E, 0x04000001}, {5, 0x0A, 0},          {6, 0x16, 0},
                             {7, 0x0B, 0},          {8, 0x06, 0},          {9, 0x12, 1},
                             {11, 0x28, 0x0A00000D}, {16, 0x7E, 0x04000002}, {21, 0x17, 0},
                             {22, 0x58, 0},         {23, 0x80, 0x04000002}, {28, 0xDE, 40},
                             {30, 0x07, 0},         {31, 0x2C, 39},         {33, 0x06, 0},
                             {34, 0x28, 0x0A00000E}, {39, 0xDC, 0},          {40, 0x2A, 0}});
    MethodBody m = decoded(realBody("Locked"));
    EXPECT_TRUE(m.fat);
    EXPECT_EQ(2u, m.maxStack);
    EXPECT_EQ(41u, m.codeSize);
    EXPECT_EQ(0x11000001u, m.localVarSigToken);
    ASSERT_EQ(1u, m.sections.size());
    EXPECT_EQ(56u, m.sections[0].start);
    ASSERT_EQ(1u, m.sections[0].clauses.size());
    const tavoli::cie::EhClause& c = m.sections[0].clauses[0];
    EXPECT_EQ((std::vector<uint32_t>{2, 8, 22, 30, 10}),
              (std::vector<uint32_t>{c.flags, c.tryOffset, c.tryLength, c.handlerOffset, c.handlerLength}));
}

TEST_F(RealBodies, SwitchListing) {
    expectListing("Switch", {{0, 0x02, 0},
                             {1, 0x45, 6},
                             {30, 0x2B, 62},
                             {32, 0x72, 0x70000001},
                             {37, 0x2A, 0},
                             {38, 0x72, 0x7000000B},
                             {43, 0x2A, 0},
                             {44, 0x72, 0x70000013},
                             {49, 0x2A, 0},
                             {50, 0x72, 0x7000001B},
                             {55, 0x2A, 0},
                             {56, 0x72, 0x70000027},
                             {61, 0x2A, 0},
                             {62, 0x72, 0x70000031},
                             {67, 0x2A, 0}});
    MethodPtr method = open("Switch");
    IInstruction* sw = instructions(method.get())[1];
    const uint32_t targets[] = {32, 38, 44, 50, 62, 56};
    for (uint32_t k = 1; k <= 6; ++k) {
        tavoli::EngineOperand op = {};
        ASSERT_EQ(MRTE_RESULT_OK, sw->getOperand(&op, k, 0, 0));
        EXPECT_EQ(targets[k - 1], op.value) << k;
    }
}

TEST_F(RealBodies, GenericListingWithConstrainedCalls) {
    expectListing("Generic", {{0, 0x12, 0},          {2, 0xFE15, 0x1B000003}, {8, 0x02, 0},
                              {9, 0x6F, 0x0A000012}, {14, 0x0B, 0},       {15, 0x2B, 52},
                              {17, 0x12, 1},         {19, 0x28, 0x0A000013},  {24, 0x0C, 0},
                              {25, 0x06, 0},         {26, 0x8C, 0x1B000003},  {31, 0x2C, 50},
                              {33, 0x12, 2},         {35, 0x06, 0},           {36, 0xFE16, 0x1B000003},
                              {42, 0x6F, 0x0A000014}, {47, 0x16, 0},          {48, 0x31, 52},
                              {50, 0x08, 0},         {51, 0x0A, 0},           {52, 0x12, 1},
                              {54, 0x28, 0x0A000015}, {59, 0x2D, 17},         {61, 0xDE, 77},
                              {63, 0x12, 1},         {65, 0xFE16, 0x1B000005}, {71, 0x6F, 0x0A000016},
                              {76, 0xDC, 0},         {77, 0x06, 0},           {78, 0x2A, 0}});
}

TEST_F(RealBodies, MakeDelegateListing) {
    expectListing("MakeDelegate",
                  {{0, 0x02, 0}, {1, 0x25, 0}, {2, 0xFE07, 0x0A00001A}, {8, 0x73, 0x0A00001B}, {13, 0x2A, 0}});
}

TEST_F(RealBodies, SectionsOfFilteredNestedAndLongTry) {
    MethodBody filtered = decoded(realBody("Filtered"));
    ASSERT_EQ(1u, filtered.sections.size());
    EXPECT_EQ(76u, filtered.sections[0].start);
    ASSERT_EQ(3u, filtered.sections[0].clauses.size());
    const tavoli::cie::EhClause& filter = filtered.sections[0].clauses[0];
    EXPECT_EQ(1u, filter.flags);
    EXPECT_EQ(9u, filter.classTokenOrFilterOffset);
    EXPECT_EQ(39u, filter.handlerOffset);
    EXPECT_EQ(0x0100000Fu, filtered.sections[0].clauses[1].classTokenOrFilterOffset);
    EXPECT_EQ(49u, filtered.sections[0].clauses[2].tryLength);

    MethodBody nested = decoded(realBody("Nested"));
    ASSERT_EQ(1u, nested.sections.size());
    ASSERT_EQ(2u, nested.sections[0].clauses.size());
    EXPECT_EQ(7u, nested.sections[0].clauses[0].tryOffset);
    EXPECT_EQ(2u, nested.sections[0].clauses[1].tryOffset);
    EXPECT_EQ(35u, nested.sections[0].clauses[1].tryLength);

    MethodBody longTry = decoded(realBody("LongTry"));
    EXPECT_EQ(674u, longTry.codeSize);
    ASSERT_EQ(1u, longTry.sections.size());
    EXPECT_EQ(0x41u, longTry.sections[0].kind);
    ASSERT_EQ(1u, longTry.sections[0].clauses.size());
    EXPECT_EQ(662u, longTry.sections[0].clauses[0].tryLength);
    EXPECT_EQ(662u, longTry.sections[0].clauses[0].handlerOffset);
}

TEST_F(RealBodies, Candidates) {
    info.metadata.memberRefs = {
        {0x0A00000D, u"Enter"},         {0x0A00000E, u"Exit"},        {0x0A00000F, u"Invoke"},
        {0x0A000010, u"get_Message"},   {0x0A000011, u"get_Length"},  {0x0A000012, u"GetEnumerator"},
        {0x0A000013, u"get_Current"},   {0x0A000014, u"CompareTo"},   {0x0A000015, u"MoveNext"},
        {0x0A000016, u"Dispose"},       {0x0A00001D, u"Wait"},        {0x0A00001E, u"Release"},
    };
    struct Case {
        const char* name;
        std::vector<uint32_t> candidateOffsets;
    };
    const Case cases[] = {
        {"Tiny", {}},
        {"Locked", {11, 34}},
        {"Filtered", {1, 21, 26, 54}},
        // The callvirts behind constrained. stay as they are.
        {"Generic", {9, 19, 54}},
        // The newobj takes its function pointer from ldvirtftn.
        {"MakeDelegate", {}},
        {"Nested", {45, 51, 56}},
        {".cctor", {0}},
    };
    for (const Case& c : cases) {
        MethodPtr method = open(c.name);
        ASSERT_NE(nullptr, method);
        std::vector<uint32_t> offsets;
        for (IInstruction* i : instructions(method.get()))
            if (i->isCandidate()) offsets.push_back(i->getOffset());
        EXPECT_EQ(c.candidateOffsets, offsets) << c.name;
    }
}

TEST_F(RealBodies, RewritingCallsKeepsEverythingElse) {
    // As the profiler redirects: every candidate becomes a call of a wrapper
    // (tokens 0x0A0001xx).
    info.metadata.memberRefs = {{0x0A00001D, u"Wait"}, {0x0A00001E, u"Release"}};
    const Bytes body = realBody("Nested");
    MethodPtr method = open("Nested");
    for (IInstruction* i : instructions(method.get())) {
        if (!i->isCandidate()) continue;
        tavoli::EngineOperand op = {};
        ASSERT_EQ(MRTE_RESULT_OK, i->getOperand(&op, 0, 0, 0));
        op.value = 0x0A000100 | (op.value & 0xFF);
        ASSERT_EQ(MRTE_RESULT_OK, i->setOperand(&op, 0, 0, 0));
        ASSERT_EQ(MRTE_RESULT_OK, i->setOpcode(0x28));
    }
    ASSERT_EQ(MRTE_RESULT_OK, method->apply());
    Bytes expected = body;
    for (size_t at : {12 + 45, 12 + 51, 12 + 56}) {
        expected[at] = 0x28;
        expected[at + 2] = 0x01;
    }
    EXPECT_EQ(expected, lastInstalled());
}

TEST_F(RealBodies, GrowingAnInstructionMovesEverythingAfterIt) {
    // callvirt Invoke at 1 becomes the one byte longer ldvirtftn: not useful
    // code, but it moves every branch, filter and clause after it.
    MethodPtr method = open("Filtered");
    ASSERT_EQ(MRTE_RESULT_OK, instructions(method.get())[1]->setOpcode(0xFE07));
    ASSERT_EQ(MRTE_RESULT_OK, method->apply());
    const MethodBody before = decoded(realBody("Filtered"));
    const MethodBody after = decoded(lastInstalled());
    ASSERT_EQ(before.instructions.size(), after.instructions.size());
    EXPECT_EQ(before.codeSize + 1, after.codeSize);
    auto moved = [](int64_t offset) { return offset >= 6 ? offset + 1 : offset; };
    for (size_t i = 0; i < before.instructions.size(); ++i) {
        const tavoli::cie::Instruction& a = before.instructions[i];
        const tavoli::cie::Instruction& b = after.instructions[i];
        EXPECT_EQ(moved(a.offset), b.offset) << i;
        EXPECT_EQ(i == 1 ? 0xFE07u : a.opcode, b.opcode) << i;
        EXPECT_EQ(a.value, b.value) << i;
        if (findOpcode(a.opcode)->operand == tavoli::cie::OperandType::ShortBranch) {
            EXPECT_EQ(moved(a.target), b.target) << i;
        }
    }
    ASSERT_EQ(1u, after.sections.size());
    const std::vector<tavoli::cie::EhClause>& c = after.sections[0].clauses;
    ASSERT_EQ(3u, c.size());
    EXPECT_EQ(0x01u, after.sections[0].kind);  // still small
    EXPECT_EQ((std::vector<uint32_t>{0, 10, 40, 5, 10}),
              (std::vector<uint32_t>{c[0].tryOffset, c[0].tryLength, c[0].handlerOffset, c[0].handlerLength,
                                     c[0].classTokenOrFilterOffset}));
    EXPECT_EQ((std::vector<uint32_t>{0, 10, 45, 5}),
              (std::vector<uint32_t>{c[1].tryOffset, c[1].tryLength, c[1].handlerOffset, c[1].handlerLength}));
    EXPECT_EQ((std::vector<uint32_t>{0, 50, 50, 11}),
              (std::vector<uint32_t>{c[2].tryOffset, c[2].tryLength, c[2].handlerOffset, c[2].handlerLength}));
}

}  // namespace
}  // namespace cie_test
