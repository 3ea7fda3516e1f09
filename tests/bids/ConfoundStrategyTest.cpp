// Confound strategies on fMRIPrep tables with realistic motion: the columns each expansion and
// preset picks, CompCor components in the order of the table's sidecar, scrubbing's censored
// volumes and spike columns, and what a strategy refuses.

#include <gtest/gtest.h>

#include "bids/ConfoundStrategy.h"
#include "bids/Design.h"
#include "bids/InputError.h"
#include "tests/support/BidsTables.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::expandedNames;
using testsupport::writeFile;
using Names = std::vector<std::string>;

const Names kMotion = {"trans_x", "trans_y", "trans_z", "rot_x", "rot_y", "rot_z"};
const Names kCosines = {"cosine00", "cosine01", "cosine02"};

Names operator+(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class Strategy : public testing::Test {
  protected:
    void SetUp() override {
        writeFile(request_.eventsPath, "onset\tduration\ttrial_type\n4\t10\tA\n60\t10\tA\n");
        request_.timing = {2.0, 100};
        request_.confoundsPath = dir_.file("run_desc-confounds_timeseries.tsv");
        writeTable({});
    }
    void writeTable(const testsupport::ConfoundsSpec& spec) {
        writeFile(*request_.confoundsPath, testsupport::fmriprepConfounds(spec));
    }
    // The confound predictors' names (the conditions and the constant left out).
    Names confounds() {
        notes_.clear();
        design_ = bids::buildDesign(request_, notes_);
        Names names;
        for (std::size_t p = design_.firstConfound() - 1; p + 1 < design_.predictors.size(); ++p) {
            names.push_back(design_.predictors[p].name);
        }
        return names;
    }
    std::string failure() try {
        confounds();
        return "";
    } catch (const bids::InputError& error) {
        return error.what();
    }

    testsupport::TempDir dir_;
    bids::DesignRequest request_ = [this] {
        bids::DesignRequest request;
        request.eventsPath = dir_.file("events.tsv");
        return request;
    }();
    bids::Design design_;
    std::vector<std::string> notes_;
};

TEST_F(Strategy, EachExpansionPicksItsColumns) {
    const char* names[] = {"basic", "power2", "derivatives", "full"};
    const std::size_t motionCounts[] = {6, 12, 12, 24};
    for (std::size_t e = 0; e < 4; ++e) {
        const auto expansion = static_cast<bids::Expansion>(e);  // in the order of `names`
        const char* name = names[e];
        request_.strategy = {};
        request_.strategy.motion = expansion;
        EXPECT_EQ(confounds(), expandedNames(kMotion, name)) << name;
        EXPECT_EQ(design_.confounds, motionCounts[e]);
        request_.strategy = {};
        request_.strategy.wmCsf = expansion;
        request_.strategy.globalSignal = expansion;
        EXPECT_EQ(confounds(), expandedNames({"csf", "white_matter"}, name) +
                                   expandedNames({"global_signal"}, name))
            << name;
    }
}

TEST_F(Strategy, PresetsPickWhatTheirPartsPick) {
    writeTable({.volumes = 100, .motionJumps = {50}, .nonSteady = 1});
    request_.strategy = *bids::strategyPreset("simple");
    const Names nonSteady = {"non_steady_state_outlier00"};
    EXPECT_EQ(confounds(), expandedNames(kMotion, "full") + Names({"csf", "white_matter"}) +
                               kCosines + nonSteady);
    EXPECT_EQ(confounds().size(), 24U + 2 + 3 + 1);
    request_.strategy = *bids::strategyPreset("scrubbing");
    EXPECT_EQ(confounds(), expandedNames(kMotion, "full") +
                               expandedNames({"csf", "white_matter"}, "full") + kCosines +
                               nonSteady + Names({"motion_outlier_00"}));
    EXPECT_FALSE(bids::strategyPreset("aroma"));
    // Without a non-steady-state column among the volumes kept, none is taken.
    request_.dummies = 1;
    request_.strategy = *bids::strategyPreset("simple");
    EXPECT_EQ(confounds(),
              expandedNames(kMotion, "full") + Names({"csf", "white_matter"}) + kCosines);
    EXPECT_EQ(notes_.back(), *request_.confoundsPath +
                                 ": non_steady_state_outlier00 is 0 in every volume kept and is "
                                 "left out");
}

TEST_F(Strategy, CompCorFollowsTheSidecarsOrderAndSkipsWhatItMarks) {
    writeTable({.aCompCor = 8, .tCompCor = 3});
    // As fMRIPrep writes it: CSF, WM and combined components, a dropped one (no column), one not
    // retained, one naming a column the table lacks, and tCompCor.
    writeFile(dir_.file("run_desc-confounds_timeseries.json"), R"({
  "a_comp_cor_00": {"Method": "aCompCor", "Mask": "CSF", "Retained": true},
  "a_comp_cor_05": {"Method": "aCompCor", "Mask": "combined", "Retained": true},
  "a_comp_cor_02": {"Method": "aCompCor", "Mask": "combined", "Retained": true},
  "a_comp_cor_01": {"Method": "aCompCor", "Mask": "WM", "Retained": true},
  "a_comp_cor_06": {"Method": "aCompCor", "Mask": "combined", "Retained": false},
  "dropped_0": {"Method": "aCompCor", "Mask": "combined", "Retained": false},
  "a_comp_cor_41": {"Method": "aCompCor", "Mask": "combined", "Retained": true},
  "a_comp_cor_07": {"Method": "aCompCor", "Mask": "combined", "Retained": true},
  "t_comp_cor_01": {"Method": "tCompCor", "Retained": true},
  "t_comp_cor_00": {"Method": "tCompCor", "Retained": true},
  "cosine00": {"Method": "cosine"}
})");
    request_.strategy = *bids::strategyPreset("compcor");
    EXPECT_EQ(confounds(), expandedNames(kMotion, "full") +
                               Names({"a_comp_cor_05", "a_comp_cor_02", "a_comp_cor_07"}) +
                               kCosines);
    request_.strategy = {};
    request_.strategy.compCor = bids::CompCorKind::AnatomicalCombined;
    request_.strategy.compCorCount = 2;
    EXPECT_EQ(confounds(), (Names{"a_comp_cor_05", "a_comp_cor_02"}));
    request_.strategy.compCor = bids::CompCorKind::Temporal;
    request_.strategy.compCorCount = 5;
    EXPECT_EQ(confounds(), (Names{"t_comp_cor_01", "t_comp_cor_00"}));
    EXPECT_NE(notes_.back().find("2 temporal component(s), fewer than --n-compcor 5"),
              std::string::npos)
        << notes_.back();
}

TEST_F(Strategy, ScrubbingCensorsOutliersAndShortStretchesOneSpikeEach) {
    // Framewise displacement over 0.5 mm at 3, 40, 43 and 97, std_dvars over 1.5 at 70: the
    // stretches 0-2, 41-42 and 98-99 are shorter than 5 volumes.
    writeTable({.volumes = 100, .motionJumps = {3, 40, 43, 97}, .dvarsSpikes = {70}});
    request_.strategy.scrub = 5;
    const std::vector<std::size_t> censored = {0, 1, 2, 3, 40, 41, 42, 43, 70, 97, 98, 99};
    EXPECT_EQ(confounds().back(), "motion_outlier_11");
    const std::size_t first = design_.firstConfound() - 1;
    for (std::size_t i = 0; i < censored.size(); ++i) {
        const std::vector<double>& spike = design_.predictors[first + i].values;
        EXPECT_EQ(std::count(spike.begin(), spike.end(), 1.0), 1) << i;
        EXPECT_EQ(spike[censored[i]], 1.0) << i;
    }
    // Dummies: the kept volumes are counted from the first one kept, whose start bounds 0-1.
    request_.dummies = 2;
    confounds();
    EXPECT_EQ(design_.confounds, 10U);  // 0 1 | 38-41 | 68 | 95-97
    EXPECT_EQ(design_.predictors[first + 2].values[38], 1.0);
    // Higher thresholds, a shorter minimum: only the std_dvars outlier is left.
    request_.dummies = 0;
    request_.strategy.scrub = 0;
    request_.strategy.fdThreshold = 2.0;
    EXPECT_EQ(confounds(), (Names{"motion_outlier_00"}));
    EXPECT_EQ(design_.predictors[first].values[70], 1.0);
    request_.strategy.stdDvarsThreshold = 3.0;
    EXPECT_EQ(confounds(), Names{});
}

TEST(CensoredVolumes, ShortStretchesAtTheEdgesAndBetweenButNotAWholeRun) {
    bids::ConfoundStrategy strategy;
    strategy.scrub = 3;
    const auto censor = [&strategy](std::vector<std::optional<double>> framewise) {
        return bids::censoredVolumes(
            framewise, std::vector<std::optional<double>>(framewise.size()), strategy);
    };
    using V = std::vector<std::size_t>;
    EXPECT_EQ(censor({std::nullopt, 0.1, 0.2, 0.1}), V{});
    EXPECT_EQ(censor({std::nullopt, 0.1, 0.6, 0.1, 0.1, 0.1, 0.1, 0.9}), (V{0, 1, 2, 7}));
    // Over the threshold, not at it; a stretch of exactly the minimum stays.
    EXPECT_EQ(censor({0.1, 0.1, 0.1, 0.7, 0.1, 0.1, 0.1, 0.5, 0.1}), (V{3}));
}

TEST_F(Strategy, ColumnsAStrategyNeedsMustBeThere) {
    std::string table = testsupport::fmriprepConfounds({});  // then in the older names
    table.replace(table.find("trans_x"), 7, "X").replace(table.find("std_dvars"), 9, "stdDVARS");
    writeFile(*request_.confoundsPath, table);
    request_.strategy.motion = bids::Expansion::Basic;
    EXPECT_EQ(failure(), *request_.confoundsPath +
                             ": line 1 (the header) has no column trans_x, which --motion basic "
                             "needs");
    request_.strategy = {};
    request_.strategy.scrub = 5;
    EXPECT_EQ(failure(), *request_.confoundsPath +
                             ": line 1 (the header) has no column std_dvars, which --scrub needs");
    request_.strategy = {};
    request_.strategy.compCor = bids::CompCorKind::Temporal;
    EXPECT_EQ(failure(), *request_.confoundsPath +
                             ": --compcor takes the components from the table's sidecar " +
                             dir_.file("run_desc-confounds_timeseries.json") +
                             ", which is not there");
}

}  // namespace
