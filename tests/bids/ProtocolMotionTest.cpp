// Protocols and motion files made from BIDS and fMRIPrep files, read back by the readers that
// use them: the headless host's protocol reader and the plug-in's motion reader.

#include <gtest/gtest.h>

#include <numbers>

#include "bids/ConfoundsFile.h"
#include "bids/DesignMatrixText.h"
#include "bids/EventsProtocol.h"
#include "bids/InputError.h"
#include "bids/MotionFile.h"
#include "bids/ProtocolText.h"
#include "designmatrix/ConfoundReaders.h"
#include "formats/ProtocolReader.h"
#include "tests/bids/BidsFixtures.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;

// The protocol made from the events, written and read back by the host.
formats::Protocol throughTheHost(const bids::EventsFile& events,
                                 const bids::ProtocolRequest& request,
                                 std::vector<std::string>& notes) {
    const formats::ProtocolRead read = formats::parseProtocol(
        bids::protocolText(bids::protocolFromEvents(events, request, notes)));
    EXPECT_TRUE(read.protocol.has_value()) << read.error;
    EXPECT_TRUE(read.notes.empty());
    return read.protocol.value_or(formats::Protocol{});
}

const char kEvents[] =
    "onset\tduration\ttrial_type\tweight\n"
    "1.0004\t2\tfaces\t0.5\n"
    "4.0169999999999995\t1\thouses\tn/a\n"
    "6\t0.5\tfaces\t-1.25\n"
    "12.5\t2\thouses\tn/a\n";

TEST(EventsToProtocol, ReadsBackIntervalsInMillisecondsConditionsColoursAndWeights) {
    const auto events = bids::parseEventsFile("run1_events.tsv", kEvents);
    std::vector<std::string> notes;
    bids::ProtocolRequest request;
    request.modulation = "weight";
    request.fixation = "Rest";
    const formats::Protocol protocol = throughTheHost(events, request, notes);
    EXPECT_EQ(protocol.fileVersion, 3);
    EXPECT_EQ(protocol.resolution, formats::TimeResolution::Milliseconds);
    EXPECT_EQ(protocol.experimentName, "run1_events");
    EXPECT_EQ(protocol.parametricWeights, 1);
    ASSERT_EQ(protocol.conditions.size(), 3U);
    const auto& rest = protocol.conditions[0];
    EXPECT_EQ(rest.name, "Rest");
    EXPECT_EQ(rest.starts, (std::vector<std::int32_t>{0, 3000, 5017, 6500}));
    EXPECT_EQ(rest.ends, (std::vector<std::int32_t>{1000, 4017, 6000, 12500}));
    const auto& faces = protocol.conditions[1];
    EXPECT_EQ(faces.name, "faces");
    EXPECT_EQ(faces.starts, (std::vector<std::int32_t>{1000, 6000}));
    EXPECT_EQ(faces.ends, (std::vector<std::int32_t>{3000, 6500}));
    EXPECT_EQ(faces.weights, (std::vector<double>{0.5, -1.25}));
    EXPECT_EQ(faces.color, 0xFF0000);
    EXPECT_EQ(protocol.conditions[2].weights, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(
        notes,
        (std::vector<std::string>{"houses: its events have n/a in weight; their weights are 0"}));
}

TEST(EventsToProtocol, PickedConditionsInTheirOrderAnAbsentOneEmpty) {
    const auto events = bids::parseEventsFile("run1_events.tsv", kEvents);
    std::vector<std::string> notes;
    bids::ProtocolRequest request;
    request.conditions = std::vector<std::string>{"houses", "scrambled"};
    const formats::Protocol protocol = throughTheHost(events, request, notes);
    EXPECT_EQ(protocol.fileVersion, 2);
    ASSERT_EQ(protocol.conditions.size(), 2U);
    EXPECT_EQ(protocol.conditions[0].name, "houses");
    EXPECT_EQ(protocol.conditions[0].color, 0xFF0000);
    EXPECT_TRUE(protocol.conditions[1].starts.empty());
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "warning: run1_events.tsv has no event of condition scrambled; it stays "
                         "empty",
                         "run1_events.tsv: 2 event(s) of conditions not picked left out"}));
}

TEST(EventsToProtocol, ZeroAndNaDurationsNeedAMinimumLength) {
    const auto events =
        bids::parseEventsFile("e.tsv", "onset\tduration\n1\t2\n3\t0\n5\tn/a\n7\t0.0004\n");
    bids::ProtocolRequest request;
    std::vector<std::string> notes;
    try {
        bids::protocolFromEvents(events, request, notes);
        ADD_FAILURE() << "a zero duration was taken";
    } catch (const bids::InputError& error) {
        EXPECT_STREQ(error.what(),
                     "e.tsv: row 2 (line 3), column duration: the duration is 0; an interval of "
                     "a protocol needs a length (give --min-duration MS to use one)");
    }
    request.minimumDurationMs = 100;
    const auto protocol = throughTheHost(events, request, notes);
    EXPECT_EQ(protocol.conditions[0].name, "task");
    EXPECT_EQ(protocol.conditions[0].ends, (std::vector<std::int32_t>{3000, 3100, 5100, 7100}));
}

TEST(EventsToProtocol, RealParametricEventsReadBack) {
    SKIP_WITHOUT_BIDS_FIXTURES();
    const auto events = bids::readEventsFile(
        bidstest::fixture("ds000001/sub-01_task-balloonanalogrisktask_run-02_events.tsv"));
    std::vector<std::string> notes;
    bids::ProtocolRequest request;
    request.modulation = "pumps_demean";
    const formats::Protocol protocol = throughTheHost(events, request, notes);
    ASSERT_EQ(protocol.conditions.size(), 4U);
    EXPECT_EQ(protocol.conditions[0].name, "pumps_demean");
    EXPECT_EQ(protocol.conditions[0].starts.front(), 58);
    EXPECT_EQ(protocol.conditions[0].ends.front(), 830);
    EXPECT_EQ(protocol.conditions[0].weights.front(), -1.0);
    EXPECT_EQ(notes.size(), 3U);  // the three other conditions have no pumps
}

// The motion file written and read by the plug-in's own reader.
designmatrix::DesignMatrixFilePtr throughThePlugin(const bids::TsvTable& table, std::size_t dummies,
                                                   const TempDir& dir) {
    std::vector<std::string> notes;
    const std::string path = dir.file("run_3DMC.sdm");
    testsupport::writeFile(
        path, bids::designMatrixText(bids::motionFromConfounds(table, dummies, notes)));
    testsupport::CapturedLog log;
    return designmatrix::readMotionEstimatesSdm(path.c_str());
}

TEST(ConfoundsToMotion, ThePluginReadsSixColumnsRotationsInDegrees) {
    const auto table = bids::TsvTable::parse("c.tsv",
                                             "csf\trot_x\trot_y\trot_z\ttrans_x\ttrans_y\ttrans_z\n"
                                             "9\t0.1\t0.2\t0.3\t1\t2\t3\n"
                                             "9\t0.01\t0\t-0.02\t1.5\t-2.5\t0.25\n"
                                             "9\t0\t0\t0\t0\t0\t0\n");
    TempDir dir;
    const auto record = throughThePlugin(table, 1, dir);
    ASSERT_TRUE(record->readOk);
    EXPECT_EQ(record->nrOfPredictors, 6);
    EXPECT_EQ(record->nrOfDataPoints, 2);
    EXPECT_EQ(record->includesConstant, 0);
    EXPECT_EQ(record->motionColors[0], (std::array<std::int32_t, 3>{255, 50, 50}));
    EXPECT_EQ(record->motionColumns[0], (std::vector<double>{1.5, 0.0}));
    EXPECT_EQ(record->motionColumns[1], (std::vector<double>{-2.5, 0.0}));
    EXPECT_NEAR(record->motionColumns[3][0], 0.01 * 180 / std::numbers::pi, 1e-9);
    EXPECT_NEAR(record->motionColumns[5][0], -0.02 * 180 / std::numbers::pi, 1e-9);
    EXPECT_EQ(bids::motionFileName("d/sub-1_task-x_desc-confounds_timeseries.tsv"),
              "d/sub-1_task-x_3DMC.sdm");
}

TEST(ConfoundsToMotion, RefusesATableWithoutMotionColumns) {
    std::vector<std::string> notes;
    EXPECT_THROW(bids::motionFromConfounds(bids::TsvTable::parse("c.tsv", "csf\n1\n"), 0, notes),
                 bids::InputError);
}

TEST(ConfoundsToMotion, RealTablesOfBothGenerations) {
    SKIP_WITHOUT_BIDS_FIXTURES();
    TempDir dir;
    for (const char* file :
         {"synthetic/sub-01_ses-01_task-nback_run-01_timeseries.tsv",
          "generated/sub-01_ses-01_task-nback_run-01_desc-confounds_timeseries.tsv"}) {
        const auto table = bids::readConfoundsFile(bidstest::fixture(file));
        const auto record = throughThePlugin(table, 4, dir);
        ASSERT_TRUE(record->readOk) << file;
        EXPECT_EQ(record->nrOfDataPoints, 60) << file;
        const std::size_t x = table.column("X") ? *table.column("X") : *table.column("trans_x");
        EXPECT_NEAR(record->motionColumns[0][0], table.number(4, x), 1e-12) << file;
    }
}

}  // namespace
