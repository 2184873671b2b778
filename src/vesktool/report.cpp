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

nlohmann::json Tool::buildReport(const ProcessEnd& end) const {
    nlohmann::json root = nlohmann::json::object();
    root["pid"] = platform::currentProcessId();
    root["stack_walk_mode"] = config.stackWalkMode;
    root["stack_walker_set"] = stackWalker.isSet();
    threads.report(root);
    runtime.report(root);
    codeRanges.report(root);
    callEvents.report(root);
    lockCalls.report(root);
    locations.report(root);
    root["unwind_calls"] = unwindCalls.load(std::memory_order_relaxed);
    root["failures_injected"] = injectedFailures(config);
    root["failures_unrecognized"] = config.unrecognizedFailures;
    {
        std::lock_guard<std::mutex> guard(objectsLock_);
        root["modules"] = loadedObjects(objectsAtStart_);
    }
    root["end"] = end.how;
    if (!end.detail.empty()) root["end_detail"] = end.detail;
    root["exit_code"] = end.exitCodeKnown ? nlohmann::json(end.exitCode) : nlohmann::json(nullptr);
    return root;
}

namespace {

// Names from the environment need not be valid UTF-8; replace rather than
// lose the whole report to one bad byte.
std::string dumped(const nlohmann::json& value) {
    return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

// A top-level member as a whole-document dump lays it out: indented one
// level, its value's lines too. Strings hold no line breaks (they are
// escaped), so every one starts a line.
void writeMember(TextSink& out, bool first, const std::string& key, const std::string& value) {
    std::string text = first ? "\n  " : ",\n  ";
    text += nlohmann::json(key).dump();
    text += ": ";
    out.write(text);
    size_t from = 0;
    for (size_t line = value.find('\n'); line != std::string::npos; line = value.find('\n', from)) {
        out.write(value.data() + from, line + 1 - from);
        out.write("  ", 2);
        from = line + 1;
    }
    out.write(value.data() + from, value.size() - from);
}

}  // namespace

void Tool::writeReportText(const nlohmann::json& report, platform::ReplacingFile& out, bool objectsUnchanged,
                           std::pair<uint64_t, uint64_t>& placed) {
    static const std::string objects = "objects";
    bool first = true;
    const auto writeObjects = [&] {
        writeMember(out, first, objects, "");
        first = false;
        placed.first = out.position();
        // Unchanged since the last report: copied from it, not formatted again.
        if (!objectsUnchanged || lastFile_ == nullptr || !out.copyFrom(*lastFile_, objectsAt_, objectsLength_))
            callEvents.writeObjects(out);
        placed.second = out.position() - placed.first;
    };
    out.write("{", 1);
    bool objectsDone = !config.objectCounts;
    for (const auto& member : report.items()) {
        // Members come in key order; the object counts take their place.
        if (!objectsDone && objects < member.key()) {
            writeObjects();
            objectsDone = true;
        }
        writeMember(out, first, member.key(), dumped(member.value()));
        first = false;
    }
    if (!objectsDone) writeObjects();
    out.write("\n}\n", 3);
}

void Tool::writeReport(const ProcessEnd& end) noexcept {
    if (config.reportPath.empty() || platform::currentProcessId() != loadedInProcess_) return;
    try {
        // One writer at a time: a signal's report and the exit's may race,
        // and both go through the same temporary file.
        std::lock_guard<std::mutex> hold(writing_);
        // Read first: counts that grow while they are written make the next
        // report differ, never the reverse.
        const uint64_t objectsVersion = config.objectCounts ? callEvents.objectsVersion() : 0;
        nlohmann::json report = buildReport(end);
        // The process-exit notice writes the report, then the unload writes
        // it again with the final counts: a program that locked many objects
        // must not pay for their counts twice.
        const bool objectsUnchanged = lastFile_ != nullptr && objectsVersion == writtenObjectsVersion_;
        if (objectsUnchanged && written_ != nullptr && report == *written_) return;
        std::string error;
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::unique_ptr<platform::ReplacingFile> file(new platform::ReplacingFile);
            if (!file->open(config.reportPath, error)) break;
            std::pair<uint64_t, uint64_t> placed(0, 0);
            writeReportText(report, *file, objectsUnchanged && attempt == 0, placed);
            if (file->commit(error)) {
                lastFile_ = std::move(file);
                objectsAt_ = placed.first;
                objectsLength_ = placed.second;
                written_.reset(new nlohmann::json(std::move(report)));
                writtenObjectsVersion_ = objectsVersion;
                return;
            }
            // A failed copy of the last report's counts is written afresh.
            if (!objectsUnchanged) break;
        }
        platform::printError(error.c_str());
    } catch (const std::exception& e) {
        platform::printError("cannot write report", e.what());
    } catch (...) {
        platform::printError("cannot write report");
    }
}

}  // namespace vesktool
