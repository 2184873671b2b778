#include "platform.h"
#include "tool.h"

#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>

namespace vesktool {

namespace {

nlohmann::json injectedFailures(const Config& config) {
    nlohmann::json names = nlohmann::json::array();
    for (unsigned index = 0; index < kOperationCount; ++index) {
        const Operation op = static_cast<Operation>(index);
        if (config.fails(op)) names.push_back(operationName(op));
    }
    return names;
}

std::string hex(uintptr_t value) {
    char text[2 + 2 * sizeof value + 1];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// Native frames are named after the process has gone, from these.
nlohmann::json loadedObjects(const std::vector<platform::LoadedObject>& atStart) {
    std::vector<platform::LoadedObject> objects = platform::loadedObjects();
    for (const platform::LoadedObject& early : atStart) {
        // A library still loaded is listed already, and an address range a
        // later library reuses belongs to that one.
        bool overlapped = false;
        for (const platform::LoadedObject& now : objects)
            overlapped = overlapped || (early.start < now.end && now.start < early.end);
        if (!overlapped) objects.push_back(early);
    }
    nlohmann::json list = nlohmann::json::array();
    for (const platform::LoadedObject& object : objects)
        list.push_back({{"path", object.path}, {"base", hex(object.base)}, {"start", hex(object.start)},
                        {"end", hex(object.end)}});
    return list;
}

}  // namespace

void Tool::noteExitCode(int32_t code) noexcept {
    exitCode_.store(code, std::memory_order_relaxed);
    exitCodeKnown_.store(true, std::memory_order_release);
}

void Tool::noteEnd(const ProcessEnd& end) {
    std::lock_guard<std::mutex> hold(endLock_);
    hostEnd_.how = end.how;
    hostEnd_.detail = end.detail;
}

ProcessEnd Tool::endUnlessNoted(const char* otherwise) const noexcept {
    ProcessEnd end;
    try {
        end.how = otherwise;
        std::lock_guard<std::mutex> hold(endLock_);
        if (!hostEnd_.how.empty()) {
            end.how = hostEnd_.how;
            end.detail = hostEnd_.detail;
        }
    } catch (...) {
        // Said as otherwise, which it is too.
    }
    end.exitCodeKnown = exitCodeKnown_.load(std::memory_order_acquire);
    end.exitCode = exitCode_.load(std::memory_order_relaxed);
    return end;
}

nlohmann::json Tool::buildReport() const {
    nlohmann::json root = nlohmann::json::object();
    root["pid"] = platform::currentProcessId();
    root["stack_walk_mode"] = config.stackWalkMode;
    root["stack_walker_set"] = stackWalker.isSet();
    threads.report(root);
    runtime.report(root);
    codeRanges.report(root);
    callEvents.report(root, config.objectCounts);
    lockCalls.report(root);
    root["unwind_calls"] = unwindCalls.load(std::memory_order_relaxed);
    root["failures_injected"] = injectedFailures(config);
    root["failures_unrecognized"] = config.unrecognizedFailures;
    {
        std::lock_guard<std::mutex> guard(objectsLock_);
        root["modules"] = loadedObjects(objectsAtStart_);
    }
    return root;
}

void Tool::writeReport(const ProcessEnd& end) noexcept {
    if (config.reportPath.empty() || platform::currentProcessId() != loadedInProcess_) return;
    try {
        // One writer at a time: a signal's report and the exit's may race,
        // and both go through the same temporary file.
        std::lock_guard<std::mutex> hold(writing_);
        nlohmann::json report = buildReport();
        report["end"] = end.how;
        if (!end.detail.empty()) report["end_detail"] = end.detail;
        report["exit_code"] = end.exitCodeKnown ? nlohmann::json(end.exitCode) : nlohmann::json(nullptr);
        // Names from the environment need not be valid UTF-8; replace rather
        // than lose the whole report to one bad byte.
        const std::string text = report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        std::string error;
        if (!platform::replaceFile(config.reportPath, text, error)) platform::printError(error.c_str());
    } catch (const std::exception& e) {
        platform::printError("cannot write report", e.what());
    } catch (...) {
        platform::printError("cannot write report");
    }
}

}  // namespace vesktool
