// What the host counts as produced by a run: the design matrices it saved, and the merged ones
// named by the log, through the host operations the plug-in calls.

#include <gtest/gtest.h>

#include <sstream>

#include "headless/HostExports.h"
#include "headless/HostSession.h"
#include "headless/ProducedDesignMatrices.h"

namespace {

using headless::ProducedDesignMatrices;
using Paths = std::vector<std::string>;

TEST(ProducedDesignMatrices, KeepsSavedAndMergedInOrderEachOnce) {
    ProducedDesignMatrices produced;
    produced.noteSaved("run1_task.sdm");
    produced.noteLogText("New SDM name: run1_task.sdm");  // the host's own save counts
    produced.noteLogText("Reading file: run1_3DMC.sdm");
    produced.noteLogText("New filename: run1_task_3DMC.sdm");
    produced.noteSaved("./run1_task.sdm");  // the same file again
    produced.noteLogText("New filename: run1_task_3DMC.sdm");
    produced.noteLogText("\nNew filename: elsewhere.sdm");  // not a line the plug-in writes
    produced.noteSaved("run2_task.sdm");
    EXPECT_EQ(produced.paths(), (Paths{"run1_task.sdm", "run1_task_3DMC.sdm", "run2_task.sdm"}));
}

TEST(ProducedDesignMatrices, DropsAMergedFileThatCouldNotBeOpenedForWriting) {
    ProducedDesignMatrices produced;
    produced.noteLogText("New filename: a_3DMC.sdm");
    produced.noteLogText("Unable to open a file for writing.");
    produced.noteLogText("New filename: b_3DMC.sdm");
    produced.noteLogText("Number of datapoints in *.sdm/*.rtc file(s) not sufficient!");
    produced.noteLogText("Unable to open a file for writing.");  // not right after a name
    EXPECT_EQ(produced.paths(), (Paths{"b_3DMC.sdm"}));
    // A name met before stays: its earlier file is this run's.
    produced.noteLogText("New filename: b_3DMC.sdm");
    produced.noteLogText("Unable to open a file for writing.");
    EXPECT_EQ(produced.paths(), (Paths{"b_3DMC.sdm"}));
}

TEST(ProducedDesignMatrices, AreFollowedThroughTheLogOperation) {
    headless::resetHostSession();
    std::ostringstream out;
    std::ostringstream err;
    headless::hostSession().console.redirect(out, err);
    EXPECT_EQ(tkLogText("New filename: run1_x_HR.sdm"), 1);
    EXPECT_EQ(tkLogText(nullptr), 1);
    EXPECT_EQ(headless::hostSession().produced.paths(), (Paths{"run1_x_HR.sdm"}));
    EXPECT_EQ(out.str(), "New filename: run1_x_HR.sdm\n\n");
    headless::resetHostSession();
    EXPECT_TRUE(headless::hostSession().produced.paths().empty());
    headless::hostSession().console.redirect(std::cout, std::cerr);
}

}  // namespace
