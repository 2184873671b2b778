// A test fixture holding a fake runtime interface and an engine on it, with
// helpers to load a body as a method and read its instructions back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "body_builder.h"
#include "cie/engine.h"
#include "fake_profiler_info.h"
#include "tavoli/cie.h"

namespace cie_test {

struct ReleaseMethod {
    void operator()(tavoli::IEngineMethod* m) const {
        if (m != nullptr) m->release();
    }
};
typedef std::unique_ptr<tavoli::IEngineMethod, ReleaseMethod> MethodPtr;

struct ReleaseIterator {
    void operator()(tavoli::IInstructionIterator* i) const {
        if (i != nullptr) i->release();
    }
};
typedef std::unique_ptr<tavoli::IInstructionIterator, ReleaseIterator> IteratorPtr;

struct Seen {
    uint32_t offset;
    uint32_t opcode;
    uint32_t size;
    tavoli::EngineOperand operand;
};

const cor::ModuleID kModule = 0x7000;
const cor::FunctionID kFunction = 0x100;
const cor::mdMethodDef kMethodToken = 0x06000010;

class EngineTest : public ::testing::Test {
protected:
    FakeProfilerInfo info;
    tavoli::cie::Engine engine{&info};

    // The engine's method for a body registered under kFunction (or the
    // given identity); null when the engine offers none.
    MethodPtr load(const Bytes& body, cor::FunctionID function = kFunction, cor::mdMethodDef token = kMethodToken,
                   size_t shift = 0) {
        info.addMethod(function, kModule, token, body, shift);
        return MethodPtr(engine.getMethod(function));
    }

    static std::vector<tavoli::IInstruction*> instructions(tavoli::IEngineMethod* method) {
        std::vector<tavoli::IInstruction*> out;
        IteratorPtr it(method->getInstructions(1));
        for (tavoli::IInstruction* i = it->first(); i != nullptr; i = it->next()) out.push_back(i);
        return out;
    }

    static std::vector<Seen> seen(tavoli::IEngineMethod* method) {
        std::vector<Seen> out;
        for (tavoli::IInstruction* i : instructions(method)) {
            Seen s{i->getOffset(), i->getOpcode(), i->getSize(), {}};
            EXPECT_EQ(tavoli::MRTE_RESULT_OK, i->getOperand(&s.operand, 0, 0, 0));
            out.push_back(s);
        }
        return out;
    }

    static tavoli::EngineOperand token(uint32_t value) {
        tavoli::EngineOperand op = {};
        op.kind = tavoli::OPERAND_KIND_TOKEN;
        op.size = 4;
        op.value = value;
        return op;
    }

    // The body the last successful apply installed.
    Bytes lastInstalled() {
        std::vector<InstalledBody> all = info.installed();
        return all.empty() ? Bytes() : all.back().bytes;
    }
};

}  // namespace cie_test
