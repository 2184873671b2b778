#include "clrprof/vesk_prof_ext.h"

#include "clrprof/debug_log.h"
#include "clrprof/stack_walker.h"

#include <new>

namespace veskmrte_1_0 {

void* VESK_CALL allocateThreadData(void** slot) {
    ThreadData* data = static_cast<ThreadData*>(::operator new(sizeof(ThreadData), std::nothrow));
    if (data != nullptr) {
        data->managedThread = 0;
        data->osThread = 0;
        data->threadHandle = nullptr;
        data->walkFlag = 0;
        data->frameCache = nullptr;
    }
    if (slot != nullptr) *slot = data;
    return data;
}

void VESK_CALL freeThreadData(void* data) {
    ThreadData* record = static_cast<ThreadData*>(data);
    if (record == nullptr) return;
    // The cache and the handle belong to the record; releasing them here
    // keeps a thread's data from outliving the record that points to it.
    delete record->frameCache;
    pal::closeThread(record->threadHandle);
    ::operator delete(record);
}

VeskProfExt::VeskProfExt() : m_ext(nullptr), m_module(nullptr) {}

VeskProfExt::~VeskProfExt() {
    // The library stays loaded: runtime threads can still enter a callback
    // while the process exits, and the record they read lives in it.
}

bool VeskProfExt::load(const vesk::WChar* path) {
    if (path == nullptr) return false;
    const std::string name = vesk::toUtf8(path, vesk::wideLength(path));
    m_module = pal::loadLibrary(path);
    if (m_module == nullptr) {
        m_whyNotLoaded = "cannot load the tool library: " + pal::lastLoadError();
        return false;
    }
    vesk_get_profiling_extension_fn entry = reinterpret_cast<vesk_get_profiling_extension_fn>(
        pal::findSymbol(m_module, VESK_GET_PROFILING_EXTENSION_NAME));
    if (entry == nullptr) {
        m_whyNotLoaded = "the tool library " + name + " does not export " + VESK_GET_PROFILING_EXTENSION_NAME;
        return false;
    }
    vesk_profiling_extension* ext = nullptr;
    if (entry(&ext) == vesk_er_error || ext == nullptr) {
        m_whyNotLoaded = "the tool library " + name + " refused to give its extension record";
        return false;
    }
    m_ext = ext;
    m_whyNotLoaded.clear();
    return true;
}

ThreadData* VeskProfExt::get_thread_data() {
    if (m_ext == nullptr) return nullptr;
    return static_cast<ThreadData*>(m_ext->get_thread_data(m_ext, allocateThreadData));
}

bool VeskProfExt::release_thread_data() {
    if (m_ext == nullptr) return false;
    return m_ext->release_thread_data(m_ext, freeThreadData) != vesk_er_error;
}

bool VeskProfExt::set_stack_walker(vesk_walk_stack_fn walk, vesk_next_frame_fn next) {
    if (m_ext == nullptr) return false;
    return m_ext->set_stack_walker(m_ext, walk, next) != vesk_er_error;
}

bool VeskProfExt::is_code_known(uintptr_t address) {
    if (m_ext == nullptr) return false;
    return (m_ext->is_code_known(m_ext, address, 0) & 0xFF) != 0;
}

bool VeskProfExt::add_code_range(uint64_t start, uint32_t size) {
    if (m_ext == nullptr) return false;
    vesk_code_range range = {start, start + size};
    return m_ext->add_code_range(m_ext, &range) != vesk_er_error;
}

uint64_t VeskProfExt::get_timestamp() {
    if (m_ext == nullptr) return 0;
    return m_ext->get_timestamp(m_ext);
}

int VeskProfExt::get_stack_walk_mode() {
    if (m_ext == nullptr) return 0;
    int mode = m_ext->get_stack_walk_mode(m_ext);
    return mode == vesk_walk_managed || mode == vesk_walk_mixed ? mode : 0;
}

bool VeskProfExt::unwind_frame(void* context, void* stackFrame, void* threadHandle) {
    if (m_ext == nullptr) return false;
    return m_ext->unwind_frame(m_ext, context, stackFrame, threadHandle) == vesk_er_success;
}

// Reported as the check that failed in the destructor, which stays inline.
void RuntimeGuard::leaveFailed() {
    failAssertion(__FILE__, __LINE__, "m_ext->leave_runtime(m_ext, m_lvl) == vesk_er_success");
}

}  // namespace veskmrte_1_0
