// The plug-in module as a host sees it: its exported texts, the plug-in object, the version gate
// and the refusal to run without the operations a run needs.

#include <gtest/gtest.h>

#include <memory>

#include "tests/plugin/FakeHostModule.h"
#include "tests/plugin/PluginModule.h"

namespace {

constexpr const char* kTooOldMessage =
    "tkMessageBox: Can not execute this plugin - Zemlar version 20 or higher required.\n";

struct PluginDeleter {
    void operator()(ZMTKPluginInterface* plugin) const { delete plugin; }
};
using PluginPointer = std::unique_ptr<ZMTKPluginInterface, PluginDeleter>;

TEST(PluginExports, AnswerTheirTexts) {
    PluginModule plugin;
    EXPECT_EQ(plugin.text("getPluginName"), "sdmweaver (v0.8.4.2)");
    EXPECT_EQ(plugin.text("getPluginVersion"), "0.8.4");
    const std::string author = plugin.text("getAuthor");
    EXPECT_TRUE(author.starts_with("<i>")) << author;
    EXPECT_TRUE(author.ends_with(", 2008-2016</i>")) << author;
    EXPECT_NE(author.find(", "), author.rfind(", ")) << "author, company, years";
    const std::string description = plugin.text("getPluginDescription");
    EXPECT_TRUE(
        description.starts_with("This tool convert from stimulation protocols (*.prt) to "
                                "design matrices (*.sdm)<P><I>Use of the tool</I><BR>"));
    EXPECT_TRUE(description.ends_with("<I>0.8.4:</I> Bugfix of skipping first protocol name.<BR>"));
    EXPECT_EQ(description.find('\n'), std::string::npos);
}

TEST(PluginExports, HelpFileAndGuiScriptAreOneFunctionAnsweringTheEmptyText) {
    PluginModule plugin;
    EXPECT_NE(plugin.symbol("getHelpFile"), nullptr);
    EXPECT_EQ(plugin.symbol("getHelpFile"), plugin.symbol("getGUIScript"));
    EXPECT_EQ(plugin.text("getHelpFile"), "");
    EXPECT_EQ(plugin.text("getGUIScript"), "");
}

TEST(PluginObject, IsCreatedAndDeletedThroughTheInterface) {
    PluginModule plugin;
    PluginPointer first(plugin.createPlugin());
    PluginPointer second(plugin.createPlugin());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first.get(), second.get());
}

struct GateCase {
    int major, minor, third;
    bool passes;
};

class VersionGateThroughTheHost : public testing::TestWithParam<GateCase> {};

TEST_P(VersionGateThroughTheHost, PassesOrRefusesWithTheMessage) {
    const GateCase gate = GetParam();
    FakeHostModule host("full-second");
    host.setVersion(gate.major, gate.minor, gate.third);
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    EXPECT_EQ(object->initPlugin(), gate.passes);
    const std::string expected =
        std::string("tkGetVersionOfZemlarTK\n") + (gate.passes ? "" : kTooOldMessage);
    EXPECT_EQ(host.transcript(), expected);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionGateThroughTheHost,
                         testing::Values(GateCase{2, 9, 9, true}, GateCase{2, 9, 8, false},
                                         GateCase{2, 10, 0, true}, GateCase{3, 0, 0, true},
                                         GateCase{20, 0, 0, true}, GateCase{1, 99, 99, false}));

TEST(PluginInit, FailsSilentlyWithoutAHostModule) {
    FakeHostModule elsewhere("elsewhere", "elsewhere.so");
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    EXPECT_FALSE(object->initPlugin());
    EXPECT_EQ(elsewhere.transcript(), "");
}

TEST(PluginInit, FailsSilentlyWhenTheHostLacksTheVersionOperation) {
    FakeHostModule host("no-version");
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    EXPECT_FALSE(object->initPlugin());
    EXPECT_EQ(host.transcript(), "");
}

TEST(PluginExecute, RefusesToStartWhenRunOperationsAreMissing) {
    FakeHostModule host("partial");
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    ASSERT_TRUE(object->initPlugin());
    host.reset();
    EXPECT_FALSE(object->execute());
    const std::string transcript = host.transcript();
    // The run's first line, then one line naming what is missing, and no other call.
    const std::string start =
        "tkLogText: \nsdmweaver (v0.8.4.2)> Started...\n"
        "tkLogText: sdmweaver cannot run: the host lacks the operation(s) tkShowLogTab, "
        "tkYesNoMessageBox, ";
    EXPECT_EQ(transcript.substr(0, start.size()), start) << transcript;
    EXPECT_TRUE(transcript.ends_with(", tkSaveSingleStudyGLMDesignMatrix.\n")) << transcript;
    EXPECT_EQ(transcript.find("tkLogText", start.size()), std::string::npos) << transcript;
}

TEST(PluginExecute, CallsNothingWhenNotEvenTheLogIsBound) {
    FakeHostModule host("version-only");
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    ASSERT_TRUE(object->initPlugin());
    host.reset();
    EXPECT_FALSE(object->execute());
    EXPECT_EQ(host.transcript(), "");
}

TEST(PluginExecute, CallsNothingBeforeInitPlugin) {
    FakeHostModule host("full-second");
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    EXPECT_FALSE(object->execute());
    EXPECT_EQ(host.transcript(), "");
}

TEST(PluginExecute, StopsWhenNoVolumeDocumentIsOpen) {
    FakeHostModule host("full-second");
    PluginModule plugin;
    PluginPointer object(plugin.createPlugin());
    ASSERT_TRUE(object->initPlugin());
    host.reset();
    EXPECT_FALSE(object->execute());
    EXPECT_EQ(host.transcript(),
              "tkShowLogTab\n"
              "tkLogText: \nsdmweaver (v0.8.4.2)> Started...\n"
              "tkGetCurrentVMR\n"
              "tkMessageBox: This plugin requires that a VMR document is available and selected "
              "in Zemlar.\n"
              "tkLogText: No VMR present, action cancelled.\n");
}

}  // namespace
