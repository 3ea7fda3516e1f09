// Binding the host function table by name, against fake host modules loaded into this process.

#include <gtest/gtest.h>

#include <algorithm>

#include "host/HostFunctionTable.h"
#include "tests/plugin/FakeHostModule.h"

namespace {

using host::hostFunctionTable;

const auto kSentinel = reinterpret_cast<host::HostFunctionAddress>(0x1234);

void fillTable(host::HostFunctionAddress value) {
    std::fill(hostFunctionTable().begin(), hostFunctionTable().end(), value);
}

host::HostFunctionAddress entry(std::string_view name) {
    return hostFunctionTable()[host::findHostFunction(name)];
}

TEST(HostFunctionTable, HoldsTheHostOperationsInTableOrder) {
    EXPECT_EQ(host::kHostFunctionNames.front(), "tkGetVersionOfZemlarTK");
    EXPECT_EQ(host::kHostFunctionNames[5], "tkLogText");
    EXPECT_EQ(host::kHostFunctionNames.back(), "tkLaunchICADialog");
    auto sorted = host::kHostFunctionNames;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "duplicate name";
    for (auto name : host::kHostFunctionNames) {
        EXPECT_TRUE(name.starts_with("tk")) << name;
    }
}

TEST(HostBinding, FailsAndKeepsTheTableWhenNoHostModuleIsLoaded) {
    fillTable(kSentinel);
    EXPECT_FALSE(host::resolveHostFunctions());
    EXPECT_TRUE(std::all_of(hostFunctionTable().begin(), hostFunctionTable().end(),
                            [](auto address) { return address == kSentinel; }));
}

TEST(HostBinding, BindsThroughTheFirstModuleName) {
    FakeHostModule host("full-first");
    fillTable(nullptr);
    ASSERT_TRUE(host::resolveHostFunctions());
    EXPECT_EQ(reinterpret_cast<void*>(entry("tkLogText")), host.symbol("tkLogText"));
    EXPECT_EQ(reinterpret_cast<void*>(entry("tkGetVersionOfZemlarTK")),
              host.symbol("tkGetVersionOfZemlarTK"));
    // Names the host lacks stay empty.
    EXPECT_EQ(entry("tkLaunchICADialog"), nullptr);
}

TEST(HostBinding, BindsThroughTheSecondModuleName) {
    FakeHostModule host("full-second");
    fillTable(kSentinel);
    ASSERT_TRUE(host::resolveHostFunctions());
    EXPECT_EQ(reinterpret_cast<void*>(entry("tkSaveSingleStudyGLMDesignMatrix")),
              host.symbol("tkSaveSingleStudyGLMDesignMatrix"));
    EXPECT_EQ(entry("tkPlotPoints"), nullptr);
}

TEST(HostBinding, PrefersTheFirstModuleNameWhenBothAreLoaded) {
    FakeHostModule second("full-second");
    FakeHostModule first("full-first");
    ASSERT_TRUE(host::resolveHostFunctions());
    EXPECT_EQ(reinterpret_cast<void*>(entry("tkLogText")), first.symbol("tkLogText"));
}

TEST(HostBinding, AHostWithOnlyTheVersionOperationBindsWithEveryOtherEntryEmpty) {
    FakeHostModule host("version-only");
    fillTable(kSentinel);
    ASSERT_TRUE(host::resolveHostFunctions());
    for (std::size_t i = 1; i < host::kHostFunctionCount; ++i) {
        EXPECT_EQ(hostFunctionTable()[i], nullptr) << host::kHostFunctionNames[i];
    }
    EXPECT_NE(entry("tkGetVersionOfZemlarTK"), nullptr);
}

TEST(HostBinding, AHostWithoutTheVersionOperationFailsWithoutFurtherLookups) {
    FakeHostModule host("no-version");
    fillTable(kSentinel);
    EXPECT_FALSE(host::resolveHostFunctions());
    EXPECT_EQ(entry("tkGetVersionOfZemlarTK"), nullptr);
    // tkLogText is exported, but no lookup after the version's reached it.
    EXPECT_EQ(entry("tkLogText"), kSentinel);
}

TEST(HostBinding, LooksNamesUpInTheHostModuleAlone) {
    // Another loaded object exports every operation; the host module exports only the version.
    FakeHostModule elsewhere("elsewhere", "elsewhere.so");
    FakeHostModule host("version-only");
    ASSERT_TRUE(host::resolveHostFunctions());
    EXPECT_EQ(entry("tkLogText"), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(entry("tkGetVersionOfZemlarTK")),
              host.symbol("tkGetVersionOfZemlarTK"));
}

TEST(HostBinding, AnObjectMerelyExportingTheOperationsIsNoHost) {
    FakeHostModule elsewhere("elsewhere", "elsewhere.so");
    EXPECT_FALSE(host::resolveHostFunctions());
}

}  // namespace
