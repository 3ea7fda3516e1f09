#include "tests/support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "abi/HostApi.h"
#include "host/HostFunctionTable.h"

namespace testsupport {

namespace {

constexpr std::size_t kLogIndex = host::hostFunctionIndex("tkLogText");

std::vector<std::string>& capturedEntries() {
    static std::vector<std::string> entries;
    return entries;
}

extern "C" int captureLogText(const char* text) {
    capturedEntries().emplace_back(text != nullptr ? text : "");
    return 1;
}

}  // namespace

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& base) {
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            base / ("sdmweaver-test-" + std::to_string(seed()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CapturedLog::CapturedLog() {
    capturedEntries().clear();
    auto& table = host::hostFunctionTable();
    previous_ = table[kLogIndex];
    host::api::TkLogText* capture = &captureLogText;
    table[kLogIndex] = reinterpret_cast<host::HostFunctionAddress>(capture);
}

CapturedLog::~CapturedLog() {
    host::hostFunctionTable()[kLogIndex] = previous_;
}

const std::vector<std::string>& CapturedLog::entries() const {
    return capturedEntries();
}

std::string CapturedLog::transcript() const {
    std::string text;
    for (const auto& entry : capturedEntries()) {
        text += entry;
        text += '\n';
    }
    return text;
}

bool CapturedLog::contains(const std::string& entry) const {
    const auto& entries = capturedEntries();
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

void CapturedLog::clear() {
    capturedEntries().clear();
}

}  // namespace testsupport
