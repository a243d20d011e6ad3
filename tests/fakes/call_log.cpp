#include "tests/fakes/call_log.h"

#include <utility>

std::vector<RecordedCall>& callLog() {
    static std::vector<RecordedCall> log;
    return log;
}

std::function<void(const std::string&)>& onRecordedCall() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

void recordCall(const std::string& name, std::vector<double> values, std::string text) {
    callLog().push_back(RecordedCall{name, std::move(values), std::move(text)});
    if (onRecordedCall()) {
        onRecordedCall()(name);
    }
}

std::vector<std::string> loggedNames(const std::function<bool(const RecordedCall&)>& keep) {
    std::vector<std::string> names;
    for (const RecordedCall& call : callLog()) {
        if (!keep || keep(call)) {
            names.push_back(call.name);
        }
    }
    return names;
}

std::vector<RecordedCall> callsNamed(const std::string& name) {
    std::vector<RecordedCall> calls;
    for (const RecordedCall& call : callLog()) {
        if (call.name == name) {
            calls.push_back(call);
        }
    }
    return calls;
}

void clearCallLog() {
    callLog().clear();
    onRecordedCall() = nullptr;
}
