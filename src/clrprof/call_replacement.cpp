// Call replacement at JIT time: rewrites calls of redirected synchronisation
// APIs into calls of their wrappers, and keeps the JIT from inlining a callee
// whose redirected calls have not been rewritten yet.
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/il_instrumentor.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/vesk_prof_ext.h"

namespace veskmrte_1_0 {

using namespace cor;

namespace {

const uint32_t kOpCall = 0x28;
const uint32_t kOpCallvirt = 0x6F;
const uint32_t kOpNewobj = 0x73;

bool isExaminedOpcode(uint32_t op) { return op == kOpCall || op == kOpCallvirt || op == kOpNewobj; }

// Gives an engine object (a method or an iterator) back on every path.
template <typename T>
class EngineHold {
public:
    explicit EngineHold(T* object) : m_object(object) {}
    ~EngineHold() {
        if (m_object != nullptr) m_object->release();
    }
    EngineHold(const EngineHold&) = delete;
    EngineHold& operator=(const EngineHold&) = delete;
    T* operator->() const { return m_object; }
    T* get() const { return m_object; }

private:
    T* m_object;
};
typedef EngineHold<tavoli::IEngineMethod> EngineMethodHold;
typedef EngineHold<tavoli::IInstructionIterator> IteratorHold;

// The buffers the engine fills beside the module id.
struct MethodInfoBuffers {
    vesk::WChar className[256] = {};
    vesk::WChar methodName[256] = {};
    uint8_t signature[128] = {};
    tavoli::EngineMethodInfo info = {};
    MethodInfoBuffers() {
        info.className = className;
        info.classNameCapacity = 256;
        info.methodName = methodName;
        info.methodNameCapacity = 256;
        info.signature = signature;
        info.signatureCapacity = 128;
    }
};

// True for a call, callvirt or newobj that the engine offers for rewriting;
// its opcode and target token go out. skipped is set for one it does not
// offer (behind a prefix, a delegate's constructor).
bool examinedCandidate(tavoli::IInstruction* instruction, uint32_t& opcode, mdToken& target,
                       bool* skipped = nullptr) {
    opcode = instruction->getOpcode();
    if (!isExaminedOpcode(opcode)) return false;
    const bool candidate = instruction->isCandidate();
    if (!candidate && skipped == nullptr) return false;
    tavoli::EngineOperand operand = {};
    instruction->getOperand(&operand, 0, 0, 0);
    target = operand.value;
    if (skipped != nullptr) *skipped = !candidate;
    return candidate;
}

// False only when the method's IL, as the runtime holds it, can call no
// redirected API by what its module knows: the engine need not read it.
bool bodyMayCallApi(ICorProfilerInfo2* info, Module& module, ModuleID moduleId, mdToken method) {
    LPCBYTE body = nullptr;
    ULONG size = 0;
    return info->GetILFunctionBody(moduleId, method, &body, &size) != S_OK || body == nullptr ||
           module.mayCallApi(body, size);
}

}  // namespace

HRESULT CLRCallbacks::JITCompilationStarted(FunctionID functionId, BOOL) {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr) return S_OK;
    RuntimeGuard guard;
    VESK_LOG_EVENT("[JitCompilationStarted event]");
    VESK_LOG("  function id=" << functionId);
    // Most compiled methods belong to a module never instrumented, or call
    // no redirected API: they are answered without the engine reading and
    // decoding their IL.
    ClassID classId = 0;
    ModuleID moduleId = 0;
    mdToken methodToken = mdTokenNil;
    if (info->GetFunctionInfo(functionId, &classId, &moduleId, &methodToken) == S_OK) {
        Module* module = ModuleManager::getInstance().findModule(moduleId);
        if (module != nullptr && isForbiddenModule(module->getName())) {
            VESK_LOG("  module id=" << moduleId);
            VESK_LOG("  method from forbidden module list. no instrumentation");
            return S_OK;
        }
        if (module != nullptr &&
            (!module->hasSyncApiTokens() || !bodyMayCallApi(info, *module, moduleId, methodToken))) {
            VESK_LOG("  module id=" << moduleId);
            VESK_LOG("  start instrumentation");
            VESK_LOG("  nothing to instrument");
            noteIlSettled(functionId);
            return S_OK;
        }
    }
    EngineMethodHold method(ILInstrumentor::getInstance().getMethod(functionId));
    if (method.get() == nullptr) return S_OK;

    MethodInfoBuffers buffers;
    if (method->getMethodInfo(&buffers.info) != 0) {
        VESK_LOG("  can't get method info");
        return S_OK;
    }
    VESK_LOG("  module id=" << buffers.info.moduleId);
    Module* module = ModuleManager::getInstance().findModule(buffers.info.moduleId);
    if (module == nullptr) {
        VESK_LOG("  can't find module instance. no instrumentation");
        return S_OK;
    }
    if (isForbiddenModule(module->getName())) {
        VESK_LOG("  method from forbidden module list. no instrumentation");
        return S_OK;
    }
    IteratorHold itr(method->getInstructions(1));
    VESK_ASSERT(itr.get());
    bool changed = false;
    VESK_LOG("  start instrumentation");
    for (tavoli::IInstruction* instruction = itr->first(); instruction != nullptr; instruction = itr->next()) {
        uint32_t opcode = 0;
        mdToken targetToken = mdTokenNil;
        bool skipped = false;
        if (!examinedCandidate(instruction, opcode, targetToken, &skipped)) {
            // A prefixed call (constrained., tail., readonly.) or a base
            // constructor's call hands its receiver or frame over in ways a
            // wrapper cannot take; it stays, and is said so.
            if (skipped && module->isSyncApiToken(targetToken))
                VESK_LOG("      left as it is (a form no wrapper takes): mnemonic=" << opcode
                                                                               << "; operand=" << targetToken);
            continue;
        }
        VESK_ASSERT(targetToken != mdTokenNil);
        mdToken wrapperToken = module->wrapperRefFor(targetToken, m_wrapperMngr.getAssemblyIdentity(),
                                                     [&] { return openForWriting(info, module); });
        if (wrapperToken == mdTokenNil) continue;
        VESK_LOG("      mnemonic=" << opcode << "; operand=" << targetToken << "      wrapper ref token="
                                   << wrapperToken);
        tavoli::EngineOperand replacement = {};
        replacement.kind = tavoli::OPERAND_KIND_TOKEN;
        replacement.value = wrapperToken;
        tavoli::MrteResult rc = instruction->setOperand(&replacement, 0, 0, 0);
        VESK_ASSERT(rc == tavoli::MRTE_RESULT_OK);
        rc = instruction->setOpcode(kOpCall);
        VESK_ASSERT(rc == tavoli::MRTE_RESULT_OK);
        changed = true;
    }
    if (!changed) {
        VESK_LOG("  nothing to instrument");
        noteIlSettled(functionId);
        return S_OK;
    }
    tavoli::MrteResult rc = method->apply();
    if (rc == tavoli::MRTE_ERROR_UNABLE_TO_INSTRUMENT) {
        VESK_LOG("  WARNING: MRTE_ERROR_UNABLE_TO_INSTRUMENT");
        return S_OK;
    }
    VESK_ASSERT(rc == tavoli::MRTE_RESULT_OK);
    VESK_LOG("  completed instrumentation");
    noteIlSettled(functionId);
    return S_OK;
}

// The JIT may inline a method into its caller before the method itself was
// ever compiled; the inlined copy then comes from the original IL and would
// call the API directly. Such callees are kept out of line until their own
// compilation has rewritten them; every other inlining goes ahead.
HRESULT CLRCallbacks::JITInlining(FunctionID, FunctionID calleeId, BOOL* pfShouldInline) {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr || pfShouldInline == nullptr) return S_OK;
    RuntimeGuard guard;
    if (holdsUnrewrittenRedirectedCall(info, calleeId)) *pfShouldInline = 0;
    return S_OK;
}

bool CLRCallbacks::holdsUnrewrittenRedirectedCall(ICorProfilerInfo2* info, FunctionID calleeId) {
    {
        pal::MutexLock hold(m_inlineLock);
        auto known = m_inlineVerdicts.find(calleeId);
        if (known != m_inlineVerdicts.end()) return known->second;
    }
    ClassID classId = 0;
    ModuleID moduleId = 0;
    mdToken token = mdTokenNil;
    if (info->GetFunctionInfo(calleeId, &classId, &moduleId, &token) != S_OK) return false;
    Module* module = ModuleManager::getInstance().findModule(moduleId);
    if (module == nullptr || !module->hasSyncApiTokens() || isForbiddenModule(module->getName())) return false;

    bool holds = false;
    EngineMethodHold method(bodyMayCallApi(info, *module, moduleId, token) ? ILInstrumentor::getInstance().getMethod(calleeId)
                                                                           : nullptr);
    if (method.get() != nullptr) {
        IteratorHold itr(method->getInstructions(1));
        for (tavoli::IInstruction* instruction = itr.get() != nullptr ? itr->first() : nullptr;
             instruction != nullptr && !holds; instruction = itr->next()) {
            uint32_t opcode = 0;
            mdToken target = mdTokenNil;
            holds = examinedCandidate(instruction, opcode, target) && module->isSyncApiToken(target);
        }
    }
    pal::MutexLock hold(m_inlineLock);
    // A compilation that settled the callee's IL meanwhile wins.
    return m_inlineVerdicts.emplace(calleeId, holds).first->second;
}

void CLRCallbacks::noteIlSettled(FunctionID functionId) {
    pal::MutexLock hold(m_inlineLock);
    m_inlineVerdicts[functionId] = false;
}

}  // namespace veskmrte_1_0
