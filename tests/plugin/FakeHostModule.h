#pragma once

// Loads one build of the fake host module into the test process and reaches its controls.

#include <string>

#include "tests/plugin/LoadedLibrary.h"

class FakeHostModule {
  public:
    // variant: the folder of the build, such as "full-first" (see tests/plugin/CMakeLists.txt).
    explicit FakeHostModule(const std::string& variant, const char* fileName = nullptr)
        : library_(std::string(FAKE_HOST_DIR) + "/fakehost-" + variant + "/" +
                   (fileName != nullptr ? fileName : defaultFileName(variant))) {}

    void setVersion(int major, int minor, int third) const {
        function<void(int, int, int)>("fakeHostSetVersion")(major, minor, third);
    }
    std::string transcript() const { return function<const char*()>("fakeHostTranscript")(); }
    void reset() const { function<void()>("fakeHostReset")(); }
    void* symbol(const char* name) const { return library_.symbol(name); }

  private:
    static std::string defaultFileName(const std::string& variant) {
        return variant == "full-first" ? "Zemlar.exe" : "ZemlarTK.exe";
    }
    template <typename Signature>
    Signature* function(const char* name) const {
        return reinterpret_cast<Signature*>(symbol(name));
    }

    LoadedLibrary library_;
};
