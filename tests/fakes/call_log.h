// One ordered log of the calls made into the recording engine and the scripted windowing
// library, so tests can check the order of calls across both.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct RecordedCall {
    std::string name;
    // Numeric arguments in order; floats and ints are both exact as doubles.
    std::vector<double> values;
    // The string argument, if the call has one.
    std::string text;
};

std::vector<RecordedCall>& callLog();
// Called with each call's name as it is recorded, so a test can look at state at that moment.
std::function<void(const std::string&)>& onRecordedCall();

void recordCall(const std::string& name, std::vector<double> values = {}, std::string text = {});

// The names of the logged calls, in order, keeping only those for which keep returns true.
std::vector<std::string> loggedNames(const std::function<bool(const RecordedCall&)>& keep = {});
// The logged calls with this name, in order.
std::vector<RecordedCall> callsNamed(const std::string& name);
void clearCallLog();
