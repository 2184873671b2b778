// Many JIT threads at once, each with its own methods, through one engine.
#include <atomic>
#include <thread>

#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::IInstruction;
using tavoli::MRTE_RESULT_OK;

const int kThreads = 8;
const int kMethodsPerThread = 150;

// A body particular to method n: its calls name tokens derived from n, and
// it has a try/finally so that sections are copied too.
Bytes bodyFor(uint32_t n) {
    const Bytes code = Code()
                           .op(0x02).op(0x6F).u32(0x0A000000 | (n & 0xFFFF))  //  1 callvirt
                           .op(0x20).u32(n)                                    //  6 ldc.i4 n
                           .op(0x73).u32(0x0A010000 | (n & 0xFFFF))            // 11 newobj
                           .op(0x26).op(0xDE).u8(1).op(0xDC).op(0x2A)          // pop, leave.s, endfinally, ret
                           .bytes();
    return fatBody(code, 4, 0, false, {smallEhSection({{kFinally, 0, 19, 19, 1, 0}})});
}

Bytes expectedFor(uint32_t n) {
    Bytes out = bodyFor(n);
    // Both calls become calls of a wrapper whose token is 0x0A02xxxx.
    out[12 + 1] = 0x28;
    out[12 + 2 + 2] = 0x02;
    out[12 + 11] = 0x28;
    out[12 + 12 + 2] = 0x02;
    return out;
}

class Concurrency : public EngineTest {};

TEST_F(Concurrency, ThreadsWorkOnTheirOwnMethods) {
    for (uint32_t n = 1; n <= kThreads * kMethodsPerThread; ++n) {
        info.addMethod(0x10000 + n, kModule, 0x06000000 | n, bodyFor(n));
        info.metadata.addMemberRef(cor::mdTokenNil, u"Wait", {}, n);
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t, &failures] {
            for (int k = 0; k < kMethodsPerThread; ++k) {
                const uint32_t n = static_cast<uint32_t>(t * kMethodsPerThread + k + 1);
                MethodPtr method(engine.getMethod(0x10000 + n));
                if (!method) {
                    ++failures;
                    continue;
                }
                tavoli::EngineMethodInfo mi = {};
                if (method->getMethodInfo(&mi) != MRTE_RESULT_OK || mi.methodToken != (0x06000000 | n)) ++failures;
                IteratorPtr it(method->getInstructions(1));
                for (IInstruction* i = it->first(); i != nullptr; i = it->next()) {
                    if (!i->isCandidate()) continue;
                    tavoli::EngineOperand op = {};
                    i->getOperand(&op, 0, 0, 0);
                    op.value = 0x0A020000 | (op.value & 0xFFFF);
                    if (i->setOperand(&op, 0, 0, 0) != MRTE_RESULT_OK || i->setOpcode(0x28) != MRTE_RESULT_OK)
                        ++failures;
                }
                if (method->apply() != MRTE_RESULT_OK) ++failures;
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(0, failures.load());

    std::vector<InstalledBody> installed = info.installed();
    ASSERT_EQ(static_cast<size_t>(kThreads * kMethodsPerThread), installed.size());
    for (const InstalledBody& b : installed) {
        const uint32_t n = b.token & 0xFFFFFF;
        EXPECT_EQ(expectedFor(n), b.bytes) << n;
    }
    EXPECT_EQ(0, info.allocator.references.load());
    EXPECT_EQ(1, info.metadata.refCount.load());
}

}  // namespace
}  // namespace cie_test
