// The study's quality report as a user makes it: sdmweaver qc over a planted study, the page in
// headless Chromium, and the report a check foresees against the one the run then writes.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <sstream>

#include "tests/plot/DesignFiles.h"
#include "tests/support/DocumentBytes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ProgramResult;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

ProgramResult sdmweaver(const std::vector<std::string>& arguments, const fs::path& folder) {
    return testsupport::runProgram(SDMWEAVER_PROGRAM, arguments, folder);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// qc.tsv as rows of cells by column name.
std::vector<std::map<std::string, std::string>> readQualityTsv(const std::string& path) {
    std::istringstream in(readFile(path));
    const auto split = [](const std::string& line) {
        std::vector<std::string> cells(1);
        for (char c : line) {
            if (c == '\t') {
                cells.emplace_back();
            } else {
                cells.back().push_back(c);
            }
        }
        return cells;
    };
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = split(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = split(line);
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) {
            row[header[i]] = cells[i];
        }
        rows.push_back(row);
    }
    return rows;
}

// Twelve runs; the collinear one, the one with a zero predictor and the moving one are planted.
constexpr unsigned kCollinear = 103;
constexpr unsigned kZero = 107;
constexpr unsigned kMoving = 110;

std::vector<std::string> writePlantedStudy(const fs::path& folder) {
    std::vector<std::string> files;
    for (unsigned seed = 100; seed < 112; ++seed) {
        const formats::DesignTable table = plottest::studyRun(
            seed, seed == kCollinear ? 0.98 : 0.0, seed == kMoving ? 0.6 : 0.02, seed == kZero);
        writeFile((folder / table.path).string(), plottest::sdmText(table, 1, 4));
        files.push_back(table.path);
    }
    return files;
}

class PlantedStudy : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        std::vector<std::string> arguments = {"qc"};
        for (const std::string& file : writePlantedStudy(dir_->path())) {
            arguments.push_back(file);
        }
        arguments.insert(arguments.end(), {"-o", "qc"});
        run_ = sdmweaver(arguments, dir_->path());
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static fs::path qc() { return dir_->path() / "qc"; }

    static std::unique_ptr<TempDir> dir_;
    static ProgramResult run_;
};

std::unique_ptr<TempDir> PlantedStudy::dir_;
ProgramResult PlantedStudy::run_;

TEST_F(PlantedStudy, TheOddRunsStandOutForTheirReasonsAndNoOther) {
    ASSERT_EQ(run_.status, 0) << run_.err;
    EXPECT_TRUE(contains(run_.err, "quality report of 12 run(s) in qc/index.html, 3 standing out"))
        << run_.err;
    const auto rows = readQualityTsv((qc() / "qc.tsv").string());
    ASSERT_EQ(rows.size(), 12u);
    const std::map<std::string, std::string> expected = {
        {"run103_3DMC.sdm", "above 0.9"},
        {"run107_3DMC.sdm", "predictor \"task3\" is zero throughout"},
        {"run110_3DMC.sdm", "framewise displacement above 0.5 mm in "}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.at("run"));
        const auto planted = expected.find(row.at("run"));
        EXPECT_EQ(row.at("stands_out"), planted != expected.end() ? "yes" : "no");
        if (planted != expected.end()) {
            EXPECT_TRUE(contains(row.at("reasons"), planted->second)) << row.at("reasons");
        }
        EXPECT_TRUE(fs::exists(qc() / "pictures" / (row.at("run") + ".svg")));
    }
    const std::string page = readFile((qc() / "index.html").string());
    EXPECT_FALSE(contains(page, "http:") || contains(page, "https:") || contains(page, "src=\"//"));
    EXPECT_LT(page.size(), 100000u);
}

TEST_F(PlantedStudy, AFileThatCannotBeReadHasItsRowAndStatusOne) {
    const ProgramResult result =
        sdmweaver({"qc", "run100_3DMC.sdm", "missing.sdm", "-o", "partial"}, dir_->path());
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_TRUE(contains(result.err,
                         "quality report of 2 run(s) in partial/index.html, 1 "
                         "standing out, 1 not read"))
        << result.err;
    const auto rows = readQualityTsv((dir_->path() / "partial" / "qc.tsv").string());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].at("volumes"), "n/a");
    EXPECT_EQ(rows[1].at("stands_out"), "yes");
    EXPECT_TRUE(contains(rows[1].at("reasons"), "no design: ")) << rows[1].at("reasons");
}

#if !defined(_WIN32)
// Checks run in the page once it has loaded, written into it for --dump-dom: errors, the rows
// in the order shown, and the order after sorting by the mean displacement.
constexpr char kProbeHead[] = R"(<script>
window.probeErrors = [];
window.addEventListener('error', function (e) {
  window.probeErrors.push(e.message || ('cannot load ' + (e.target && e.target.src)));
}, true);
console.error = function () { window.probeErrors.push(Array.prototype.join.call(arguments, ' ')); };
</script>)";
constexpr char kProbeTail[] = R"(<script>
window.addEventListener('load', function () {
  var lines = [];
  function names() {
    return Array.prototype.map.call(document.querySelectorAll('#runs tbody tr'), function (r) {
      return r.cells[0].textContent;
    });
  }
  try {
    Array.prototype.forEach.call(document.querySelectorAll('#runs tbody tr'), function (r) {
      lines.push('row ' + r.cells[0].textContent + '|' + r.cells[r.cells.length - 1].textContent);
    });
    document.querySelector('#runs th[data-column="fd_mean"]').click();
    lines.push('ascending ' + names().join(','));
    document.querySelector('#runs th[data-column="fd_mean"]').click();
    lines.push('descending ' + names().join(','));
    lines.push('heat ' + document.querySelectorAll('#detail table.heat td').length);
  } catch (e) {
    window.probeErrors.push(String(e));
  }
  window.probeErrors.forEach(function (e) { lines.push('error ' + e); });
  var out = document.createElement('pre');
  out.id = 'probe';
  out.textContent = lines.join('\n');
  document.body.appendChild(out);
});
</script>)";

TEST_F(PlantedStudy, HeadlessChromiumShowsOneRowPerRunTheOddOnesFirstAndSorts) {
    if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Chromium is not installed (Debian package chromium): the page was not "
                        "loaded in a browser";
    }
    ASSERT_EQ(run_.status, 0) << run_.err;
    std::string page = readFile((qc() / "index.html").string());
    page.insert(page.find("<head>") + 6, kProbeHead);
    page.insert(page.rfind("</body>"), kProbeTail);
    writeFile((qc() / "probe.html").string(), page);
    const ProgramResult browser = testsupport::runProgram(
        "timeout",
        {"120", "chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--virtual-time-budget=5000", "--dump-dom",
         "file://" + fs::absolute(qc() / "probe.html").generic_string()},
        qc());
    ASSERT_EQ(browser.status, 0) << browser.err;
    const std::size_t at = browser.out.find("<pre id=\"probe\">");
    ASSERT_NE(at, std::string::npos) << browser.out.substr(0, 2000);
    std::istringstream probe(browser.out.substr(at + 16, browser.out.find("</pre>", at) - at - 16));
    std::vector<std::string> shown;
    std::string ascending;
    std::string descending;
    for (std::string line; std::getline(probe, line);) {
        EXPECT_FALSE(line.starts_with("error ")) << line;
        if (line.starts_with("row ")) {
            shown.push_back(line.substr(4));
        } else if (line.starts_with("ascending ")) {
            ascending = line.substr(10);
        } else if (line.starts_with("descending ")) {
            descending = line.substr(11);
        } else if (line.starts_with("heat ")) {
            EXPECT_EQ(line, "heat 81");  // nine predictors but the constant
        }
    }
    ASSERT_EQ(shown.size(), 12u);
    EXPECT_TRUE(shown[0].starts_with("run103_3DMC.sdm|") && contains(shown[0], "above 0.9"));
    EXPECT_TRUE(shown[1].starts_with("run107_3DMC.sdm|") && contains(shown[1], "zero throughout"));
    EXPECT_TRUE(shown[2].starts_with("run110_3DMC.sdm|") &&
                contains(shown[2], "framewise displacement"));
    // Sorting by the mean displacement follows qc.tsv's figures, both ways.
    auto rows = readQualityTsv((qc() / "qc.tsv").string());
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return std::stod(a.at("fd_mean")) < std::stod(b.at("fd_mean"));
    });
    std::string expected;
    for (const auto& row : rows) {
        expected += (expected.empty() ? "" : ",") + row.at("run");
    }
    EXPECT_EQ(ascending, expected);
    EXPECT_TRUE(descending.starts_with("run110_3DMC.sdm,")) << descending;
}
#endif

// The example study, laid out afresh.
class ExampleQuality : public testing::Test {
  protected:
    void SetUp() override {
        const ProgramResult laid = testsupport::runProgram(
            SDMWEAVER_CMAKE,
            {"-DPROGRAM=" SDMWEAVER_PROGRAM, "-DGENERATOR=" SDMWEAVER_EXAMPLE_GENERATOR,
             "-DSOURCE=" SDMWEAVER_EXAMPLES_DIR, "-DSTUDY=" + study().string(), "-P",
             SDMWEAVER_EXAMPLES_DIR "/RunExample.cmake"},
            dir_.path());
        ASSERT_EQ(laid.status, 0) << laid.err;
    }
    fs::path study() const { return dir_.path() / "example"; }

    TempDir dir_;
};

TEST_F(ExampleQuality, TheCheckForeseesTheFiguresTheRunGets) {
    const std::vector<std::string> run = {"--list",       "study.txt",     "--vmr", "anatomy.vmr",
                                          "--skip-first", "--z-transform", "--hrf", "boynton"};
    std::vector<std::string> check = {"check"};
    check.insert(check.end(), run.begin(), run.end());
    check.insert(check.end(), {"--qc", "foreseen"});
    std::vector<std::string> made = run;
    made.insert(made.end(), {"--qc", "made"});
    const ProgramResult checked = sdmweaver(check, study());
    ASSERT_EQ(checked.status, 0) << checked.err;
    const ProgramResult ran = sdmweaver(made, study());
    ASSERT_EQ(ran.status, 0) << ran.err;
    const auto foreseen = readQualityTsv((study() / "foreseen" / "qc.tsv").string());
    const auto got = readQualityTsv((study() / "made" / "qc.tsv").string());
    ASSERT_EQ(foreseen.size(), 2u);
    ASSERT_EQ(got.size(), 2u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(got[i].at("run"));
        EXPECT_EQ(foreseen[i].at("run"), got[i].at("run"));
        EXPECT_TRUE(contains(got[i].at("run"), "_3DMC_z_HR_z_RVT_z.sdm"));
        for (const char* column : {"volumes", "tr", "predictors", "zero_predictors",
                                   "events_past_end", "fd_mean", "fd_max", "fd_share"}) {
            EXPECT_EQ(foreseen[i].at(column), got[i].at(column)) << column;
        }
        for (const char* column : {"condition_number", "max_r_task", "max_r_confound"}) {
            EXPECT_NEAR(std::stod(foreseen[i].at(column)), std::stod(got[i].at(column)),
                        1e-3 * std::stod(got[i].at(column)))
                << column;
        }
        EXPECT_NE(got[i].at("fd_mean"), "n/a");  // from the motion file, not its z-scores
    }
}

// A BIDS dataset listed for the batch: the report made before any time course exists agrees
// with the one the run makes later from the list, and its displacement with fMRIPrep's own.
TEST(BidsQuality, TheListingForeseesTheRunsFiguresAndFmriprepsDisplacement) {
    const fs::path synthetic = fs::path(SDMWEAVER_BIDS_FIXTURES) / "synthetic";
    if (!fs::exists(synthetic)) {
        GTEST_SKIP() << "no fixtures at " << synthetic.string() << ": the listing was not made";
    }
    TempDir dir;
    const ProgramResult listed = sdmweaver(
        {"bids-list", synthetic.string(), "--task", "nback", "--derivatives", synthetic.string(),
         "--out", "batch", "--vtc", "batch/{sub}_{run}.vtc", "--dummy", "2", "--qc", "foreseen"},
        dir.path());
    ASSERT_EQ(listed.status, 0) << listed.err;
    const auto foreseen = readQualityTsv(dir.file("foreseen/qc.tsv"));
    ASSERT_EQ(foreseen.size(), 1u);
    // fMRIPrep's FramewiseDisplacement column, the dummies left out, the first volume 0.
    std::istringstream table(
        readFile((synthetic / "sub-01_ses-01_task-nback_run-01_timeseries.tsv").string()));
    std::string line;
    std::getline(table, line);
    const std::string before = line.substr(0, line.find("FramewiseDisplacement"));
    const auto column = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\t'));
    std::vector<double> fd;
    for (int row = 0; std::getline(table, line); ++row) {
        std::istringstream cells(line);
        std::string cell;
        for (std::size_t i = 0; i <= column; ++i) {
            std::getline(cells, cell, '\t');
        }
        if (row >= 2) {
            fd.push_back(row == 2 ? 0.0 : std::stod(cell));
        }
    }
    const double mean = std::accumulate(fd.begin(), fd.end(), 0.0) / static_cast<double>(fd.size());
    EXPECT_NEAR(std::stod(foreseen[0].at("fd_mean")), mean, 1e-5 * mean);
    EXPECT_NEAR(std::stod(foreseen[0].at("fd_max")), *std::max_element(fd.begin(), fd.end()), 1e-5);
    EXPECT_EQ(foreseen[0].at("volumes"), std::to_string(fd.size()));

    // The workstation makes the time course from the volumes kept; here it is written.
    testsupport::TimeCourseSpec spec;
    spec.volumes = static_cast<std::int16_t>(fd.size());
    spec.repetitionTimeMs = std::stof(foreseen[0].at("tr"));
    writeFile(dir.file("batch/01_01.vtc"), testsupport::timeCourseBytes(spec));
    writeFile(dir.file("anatomy.vmr"), testsupport::volumeDocumentBytes(8, 8, 8));
    const ProgramResult ran =
        sdmweaver({"--list", "batch/task-nback_list.txt", "--vmr", "anatomy.vmr", "--qc", "made"},
                  dir.path());
    ASSERT_EQ(ran.status, 0) << ran.err;
    const auto made = readQualityTsv(dir.file("made/qc.tsv"));
    ASSERT_EQ(made.size(), 1u);
    for (const char* name : {"run", "volumes", "tr", "predictors", "events_past_end", "fd_mean",
                             "fd_max", "fd_share", "stands_out"}) {
        EXPECT_EQ(foreseen[0].at(name), made[0].at(name)) << name;
    }
    for (const char* name : {"condition_number", "max_r_task", "max_r_confound"}) {
        EXPECT_NEAR(std::stod(foreseen[0].at(name)), std::stod(made[0].at(name)),
                    1e-3 * std::stod(made[0].at(name)))
            << name;
    }
}

}  // namespace
