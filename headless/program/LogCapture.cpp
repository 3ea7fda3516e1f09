#include "headless/program/LogCapture.h"

#include "abi/HostApi.h"
#include "host/HostFunctionTable.h"

namespace headless {

namespace {

constexpr std::size_t kLogIndex = host::hostFunctionIndex("tkLogText");

LogCapture*& current() {
    static LogCapture* capture = nullptr;
    return capture;
}

extern "C" int programLogCapture(const char* text) {
    return LogCapture::take(text);
}

}  // namespace

LogCapture::LogCapture(std::size_t keepLast)
    : keepLast_(keepLast), outer_(current()), previous_(host::hostFunctionTable()[kLogIndex]) {
    current() = this;
    host::api::TkLogText* function = &programLogCapture;
    host::hostFunctionTable()[kLogIndex] = reinterpret_cast<host::HostFunctionAddress>(function);
}

LogCapture::~LogCapture() {
    host::hostFunctionTable()[kLogIndex] = previous_;
    current() = outer_;
}

int LogCapture::take(const char* text) {
    LogCapture* capture = current();
    if (capture != nullptr) {
        if (capture->keepLast_ > 0 && capture->entries_.size() >= capture->keepLast_) {
            capture->entries_.erase(capture->entries_.begin());
        }
        capture->entries_.emplace_back(text != nullptr ? text : "");
    }
    return 1;
}

}  // namespace headless
