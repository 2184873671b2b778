// Every method body of a whole assembly, when one is at hand: set
// CIE_BODY_CORPUS to a file written by body_dumper (--corpus), e.g. all of
// System.Private.CoreLib. Each body must decode, encode back exactly, take
// token and opcode edits in place, and survive a layout change.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "cie/body_decoder.h"
#include "cie/body_encoder.h"
#include "cie/instruction_edits.h"
#include "engine_fixture.h"

namespace cie_test {
namespace {

using namespace tavoli::cie;

struct CorpusBody {
    uint32_t token;
    Bytes bytes;
};

std::vector<CorpusBody> readCorpus(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<CorpusBody> out;
    size_t at = 0;
    while (at + 8 <= file.size()) {
        uint32_t token, size;
        std::memcpy(&token, &file[at], 4);
        std::memcpy(&size, &file[at + 4], 4);
        at += 8;
        if (size > file.size() - at) break;
        out.push_back(CorpusBody{
            token, Bytes(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at + size))});
        at += size;
    }
    return out;
}

// The re-encoded body holds the same instructions (short branches may have
// grown), with every branch, switch target and clause at the new place of
// the instruction it named.
void expectSameProgram(const MethodBody& before, const MethodBody& after, uint32_t token) {
    std::map<int64_t, int64_t> moved;
    for (size_t k = 0; k < before.instructions.size(); ++k)
        moved[before.instructions[k].offset] = after.instructions[k].offset;
    moved[before.codeSize] = after.codeSize;
    auto to = [&](int64_t offset) { return moved.count(offset) ? moved[offset] : -1; };
    for (size_t k = 0; k < before.instructions.size(); ++k) {
        const Instruction& a = before.instructions[k];
        const Instruction& b = after.instructions[k];
        EXPECT_TRUE(a.opcode == b.opcode || longBranchForm(a.opcode) == b.opcode) << std::hex << token << " #" << k;
        EXPECT_EQ(a.value, b.value) << std::hex << token << " #" << k;
        if (a.operand == OperandType::ShortBranch || a.operand == OperandType::Branch) {
            EXPECT_EQ(to(a.target), b.target) << std::hex << token << " #" << k;
        }
        ASSERT_EQ(a.switchCount, b.switchCount);
        for (uint32_t t = 0; t < a.switchCount; ++t)
            EXPECT_EQ(to(before.switchTargets[a.switchFirst + t]), after.switchTargets[b.switchFirst + t]);
    }
    for (size_t s = 0; s < before.sections.size(); ++s) {
        ASSERT_EQ(before.sections[s].clauses.size(), after.sections[s].clauses.size());
        for (size_t k = 0; k < before.sections[s].clauses.size(); ++k) {
            const EhClause& a = before.sections[s].clauses[k];
            const EhClause& b = after.sections[s].clauses[k];
            EXPECT_EQ(a.flags, b.flags);
            EXPECT_EQ(to(a.tryOffset), b.tryOffset) << std::hex << token;
            EXPECT_EQ(to(int64_t(a.tryOffset) + a.tryLength), int64_t(b.tryOffset) + b.tryLength) << std::hex << token;
            EXPECT_EQ(to(a.handlerOffset), b.handlerOffset) << std::hex << token;
            EXPECT_EQ(to(int64_t(a.handlerOffset) + a.handlerLength), int64_t(b.handlerOffset) + b.handlerLength);
            const int64_t last = a.flags & kClauseFilter ? to(a.classTokenOrFilterOffset) : a.classTokenOrFilterOffset;
            EXPECT_EQ(last, b.classTokenOrFilterOffset);
        }
    }
}

TEST(Corpus, EveryBodyOfAnAssembly) {
    const char* path = std::getenv("CIE_BODY_CORPUS");
    if (path == nullptr || *path == 0) GTEST_SKIP() << "CIE_BODY_CORPUS not set";
    const std::vector<CorpusBody> corpus = readCorpus(path);
    ASSERT_FALSE(corpus.empty());
    size_t moved = 0, refused = 0, sections = 0;
    for (const CorpusBody& c : corpus) {
        // Decode from a copy on a 4-byte boundary, as the runtime hands
        // bodies out.
        std::vector<uint32_t> aligned((c.bytes.size() + 3) / 4);
        std::memcpy(aligned.data(), c.bytes.data(), c.bytes.size());
        const uint8_t* data = reinterpret_cast<const uint8_t*>(aligned.data());
        MethodBody body;
        ASSERT_EQ(DecodeStatus::Ok, decodeBody(data, c.bytes.size(), body)) << std::hex << c.token;
        ASSERT_EQ(c.bytes, body.original) << std::hex << c.token;
        Bytes out;
        ASSERT_EQ(EncodeStatus::Ok, encodeBody(body, out)) << std::hex << c.token;
        ASSERT_EQ(c.bytes, out) << std::hex << c.token;
        if (!body.sections.empty()) ++sections;

        // Every call-like instruction: a new token and a call opcode, in place.
        MethodBody edited = body;
        Bytes expected = c.bytes;
        for (size_t i = 0; i < edited.instructions.size(); ++i) {
            const Instruction& insn = edited.instructions[i];
            if (insn.opcode != OP_CALL && insn.opcode != OP_CALLVIRT && insn.opcode != OP_NEWOBJ) continue;
            if (candidateShape(edited, i) == CandidateShape::No) continue;
            tavoli::EngineOperand op = {tavoli::OPERAND_KIND_TOKEN, 4, 0x0A00ABCD, {0, 0, 0}};
            ASSERT_EQ(tavoli::MRTE_RESULT_OK, writeOperand(edited, i, &op, 0));
            ASSERT_EQ(tavoli::MRTE_RESULT_OK, changeOpcode(edited, i, OP_CALL));
            const size_t at = body.headerSize + insn.offset;
            expected[at] = 0x28;
            expected[at + 1] = 0xCD;
            expected[at + 2] = 0xAB;
            expected[at + 3] = 0x00;
            expected[at + 4] = 0x0A;
        }
        ASSERT_EQ(EncodeStatus::Ok, encodeBody(edited, out)) << std::hex << c.token;
        ASSERT_EQ(expected, out) << std::hex << c.token;

        // A layout change: the first nop or call grows by a byte. The result
        // decodes to the same instructions, or the engine refuses it.
        MethodBody grown = body;
        for (size_t i = 0; i < grown.instructions.size(); ++i) {
            const uint32_t op = grown.instructions[i].opcode;
            const uint32_t to = op == 0x00 ? 0xFE01 : op == OP_CALL ? OP_LDFTN : 0;
            if (to == 0 || changeOpcode(grown, i, to) != tavoli::MRTE_RESULT_OK) continue;
            if (encodeBody(grown, out) != EncodeStatus::Ok) {
                ++refused;
                break;
            }
            std::vector<uint32_t> again((out.size() + 3) / 4);
            std::memcpy(again.data(), out.data(), out.size());
            MethodBody reread;
            ASSERT_EQ(DecodeStatus::Ok, decodeBody(reinterpret_cast<const uint8_t*>(again.data()), out.size(), reread))
                << std::hex << c.token;
            ASSERT_EQ(grown.instructions.size(), reread.instructions.size()) << std::hex << c.token;
            ASSERT_EQ(grown.sections.size(), reread.sections.size()) << std::hex << c.token;
            expectSameProgram(grown, reread, c.token);
            ++moved;
            break;
        }
    }
    std::cout << corpus.size() << " bodies, " << sections << " with sections, " << moved << " moved, " << refused
              << " refused to move\n";
}

}  // namespace
}  // namespace cie_test
