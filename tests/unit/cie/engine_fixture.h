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

using namespace testing_support;

// Engine objects are given back with release().
struct Release {
    template <typename T>
    void operator()(T* object) const {
        if (object != nullptr) object->release();
    }
};
typedef std::unique_ptr<tavoli::IEngineMethod, Release> MethodPtr;
typedef std::unique_ptr<tavoli::IInstructionIterator, Release> IteratorPtr;

const cor::ModuleID kModule = 0x7000;
const cor::FunctionID kFunction = 0x100;
const cor::mdMethodDef kMethodToken = 0x06000010;

inline tavoli::EngineOperand operand(uint32_t kind, uint32_t value, uint32_t high = 0) {
    tavoli::EngineOperand op = {};
    op.kind = kind;
    op.value = value;
    op.reserved[0] = high;
    return op;
}

class EngineTest : public ::testing::Test {
protected:
    FakeProfilerInfo info;
    tavoli::cie::Engine engine{&info};
    cor::FunctionID m_nextFunction = 0x1000;

    // The engine's method for a body registered under a new function
    // identity (or the given one); null when the engine offers none.
    MethodPtr load(const Bytes& body, cor::FunctionID function = 0) {
        if (function == 0) function = ++m_nextFunction;
        info.addMethod(function, kModule, kMethodToken + static_cast<uint32_t>(function & 0xFFFF), body);
        return MethodPtr(engine.getMethod(function));
    }
    static std::vector<tavoli::IInstruction*> instructions(tavoli::IEngineMethod* method) {
        std::vector<tavoli::IInstruction*> out;
        IteratorPtr it(method->getInstructions(1));
        for (tavoli::IInstruction* i = it->first(); i != nullptr; i = it->next()) out.push_back(i);
        return out;
    }
    // The body the last successful apply installed.
    Bytes lastInstalled() {
        std::vector<InstalledBody> all = info.installed();
        return all.empty() ? Bytes() : all.back().bytes;
    }
};

}  // namespace cie_test
