#pragma once

// Loads one build of the fake host module into the test process and reaches its controls.

#include <dlfcn.h>

#include <stdexcept>
#include <string>

class FakeHostModule {
  public:
    // variant: the folder of the build, such as "full-first" (see tests/plugin/CMakeLists.txt).
    explicit FakeHostModule(const std::string& variant, const char* fileName = nullptr) {
        const std::string name = fileName != nullptr ? fileName : defaultFileName(variant);
        path_ = std::string(FAKE_HOST_DIR) + "/fakehost-" + variant + "/" + name;
        handle_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) {
            throw std::runtime_error("cannot load " + path_ + ": " + ::dlerror());
        }
    }
    ~FakeHostModule() { ::dlclose(handle_); }
    FakeHostModule(const FakeHostModule&) = delete;
    FakeHostModule& operator=(const FakeHostModule&) = delete;

    void setVersion(int major, int minor, int third) const {
        function<void(int, int, int)>("fakeHostSetVersion")(major, minor, third);
    }
    std::string transcript() const { return function<const char*()>("fakeHostTranscript")(); }
    void reset() const { function<void()>("fakeHostReset")(); }
    void* symbol(const char* name) const { return ::dlsym(handle_, name); }

  private:
    static std::string defaultFileName(const std::string& variant) {
        return variant == "full-first" ? "Zemlar.exe" : "ZemlarTK.exe";
    }
    template <typename Signature>
    Signature* function(const char* name) const {
        return reinterpret_cast<Signature*>(symbol(name));
    }

    std::string path_;
    void* handle_ = nullptr;
};
