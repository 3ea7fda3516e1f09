// The pictures as a user gets them: the example study run with --plot (the README's first
// command), the plot command on existing files, exit statuses, standard output left to the log,
// and one picture rendered by headless Chromium.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "tests/plot/XmlDocument.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using plottest::parseXml;
using plottest::XmlElement;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

using testsupport::ProgramResult;

ProgramResult sdmweaver(const std::vector<std::string>& arguments, const fs::path& folder) {
    return testsupport::runProgram(SDMWEAVER_PROGRAM, arguments, folder);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The quoted names of a design matrix or time-course file: those of its first line that begins
// with a double quote.
std::vector<std::string> namesInFile(const std::string& path) {
    std::istringstream in(readFile(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("\"")) {
            continue;
        }
        std::vector<std::string> names;
        for (std::size_t open = line.find('"'); open != std::string::npos;) {
            const std::size_t close = line.find('"', open + 1);
            names.push_back(line.substr(open + 1, close - open - 1));
            open = line.find('"', close + 1);
        }
        return names;
    }
    return {};
}

std::size_t dataRows(const std::string& path) {
    std::istringstream in(readFile(path));
    std::size_t rows = 0;
    bool afterNames = false;
    for (std::string line; std::getline(in, line);) {
        if (afterNames && line.find_first_not_of(" \t\r") != std::string::npos) {
            ++rows;
        }
        afterNames = afterNames || line.starts_with("\"");
    }
    return rows;
}

// Checks that the picture is well-formed and draws the file: its names in order, one column per
// name, one cell per data row.
void expectPictureOf(const std::string& picture, const std::string& file) {
    SCOPED_TRACE(picture);
    const auto parse = parseXml(readFile(picture));
    ASSERT_TRUE(parse.root) << parse.error;
    const std::vector<std::string> names = namesInFile(file);
    ASSERT_FALSE(names.empty());
    std::vector<std::string> shown;
    for (const auto* text : parse.root->findAll(
             [](const XmlElement& e) { return e.name == "text" && e.hasClass("name"); })) {
        shown.push_back(text->text);
    }
    EXPECT_EQ(shown, names);
    const auto columns = parse.root->findAll(
        [](const XmlElement& e) { return e.name == "g" && e.hasClass("column"); });
    ASSERT_EQ(columns.size(), names.size());
    for (const auto* column : columns) {
        EXPECT_EQ(column->childrenNamed("rect").size(), dataRows(file));
    }
    EXPECT_EQ(parse.root->childrenNamed("title").front()->text, fs::path(file).filename().string());
}

constexpr const char* kProduced[] = {"run1_faces_volumes.sdm", "run1_faces_volumes_3DMC_HR_RVT.sdm",
                                     "run2_faces_msec.sdm", "run2_faces_msec_3DMC_HR_RVT.sdm"};

// The example study, laid out once by the README's first command with --plot.
class ExampleStudy : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        run_ = testsupport::runProgram(
            SDMWEAVER_CMAKE,
            {"-DPROGRAM=" SDMWEAVER_PROGRAM, "-DGENERATOR=" SDMWEAVER_EXAMPLE_GENERATOR,
             "-DSOURCE=" SDMWEAVER_EXAMPLES_DIR, "-DSTUDY=" + study().string(), "-DPLOT=pictures",
             "-P", SDMWEAVER_EXAMPLES_DIR "/RunExample.cmake"},
            dir_->path());
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static fs::path study() { return dir_->path() / "example"; }

    static std::unique_ptr<TempDir> dir_;
    static ProgramResult run_;
};

std::unique_ptr<TempDir> ExampleStudy::dir_;
ProgramResult ExampleStudy::run_;

TEST_F(ExampleStudy, TheFirstCommandDrawsEveryDesignMatrixItProduced) {
    ASSERT_EQ(run_.status, 0) << run_.out << run_.err;
    for (const char* name : kProduced) {
        const fs::path picture = study() / "pictures" / (std::string(name) + ".svg");
        ASSERT_TRUE(fs::exists(picture)) << picture;
        expectPictureOf(picture.string(), (study() / name).string());
        EXPECT_TRUE(
            contains(run_.out, std::string("check: ") + name + ": largest correlation r = "))
            << name;
        EXPECT_TRUE(contains(run_.out, std::string("check: ") + name + ": condition number "))
            << name;
        EXPECT_TRUE(contains(run_.out, std::string("--   pictures/") + name + ".svg")) << name;
    }
    EXPECT_TRUE(contains(run_.out,
                         "sdmweaver: 4 pictures of the design matrices produced "
                         "written to pictures, 0 design matrices not drawn"));
    // Only what the run produced: none of the confound files it read.
    EXPECT_EQ(std::distance(fs::directory_iterator(study() / "pictures"), fs::directory_iterator()),
              4);
}

TEST_F(ExampleStudy, PlotLeavesStandardOutputToTheLog) {
    const std::vector<std::string> run = {"--list", "study.txt", "--vmr", "anatomy.vmr",
                                          "--skip-first"};
    std::vector<std::string> plotted = run;
    plotted.insert(plotted.end(), {"--plot", "again"});
    const ProgramResult without = sdmweaver(run, study());
    const ProgramResult with = sdmweaver(plotted, study());
    EXPECT_EQ(with.status, 0) << with.err;
    EXPECT_EQ(with.out, without.out);
    EXPECT_FALSE(contains(with.out, "check: "));
    EXPECT_TRUE(contains(with.err, "check: run1_faces_volumes.sdm: largest correlation r = "));
    EXPECT_TRUE(fs::exists(study() / "again" / "run2_faces_msec_3DMC_HR_RVT.sdm.svg"));
}

TEST_F(ExampleStudy, AMergedDesignMatrixThatCannotBeDrawnEndsWithStatusThree) {
    // A heart-rate file shorter than the run: the merge writes its header and stops.
    writeFile((study() / "short_HR.rtc").string(),
              "FileVersion: 2\nType: DesignMatrix\nNrOfPredictors: 1\nNrOfDataPoints: 3\n"
              "\"HR\"\n1\n2\n3\n");
    writeFile((study() / "short.txt").string(), "1\nfaces_volumes.prt\nrun1.vtc\nshort_HR.rtc\n");
    const ProgramResult result =
        sdmweaver({"--list", "short.txt", "--vmr", "anatomy.vmr", "--plot", "short"}, study());
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(contains(result.out, "New filename: run1_faces_volumes_HR.sdm\n"));
    EXPECT_TRUE(fs::exists(study() / "short" / "run1_faces_volumes.sdm.svg"));
    EXPECT_FALSE(fs::exists(study() / "short" / "run1_faces_volumes_HR.sdm.svg"));
    EXPECT_TRUE(contains(result.err,
                         "sdmweaver: no picture of run1_faces_volumes_HR.sdm: "
                         "run1_faces_volumes_HR.sdm: its header is incomplete"))
        << result.err;
    EXPECT_TRUE(contains(result.err, "1 design matrix not drawn"));
    EXPECT_TRUE(result.err.ends_with("exit status 3\n")) << result.err;
}

TEST_F(ExampleStudy, APictureFolderThatCannotBeMadeIsAUsageError) {
    const ProgramResult result =
        sdmweaver({"--list", "study.txt", "--vmr", "anatomy.vmr", "--plot", "study.txt"}, study());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(contains(result.err, "sdmweaver: cannot make the picture folder study.txt"))
        << result.err;
}

TEST_F(ExampleStudy, HeadlessChromiumRendersAPicture) {
    if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Chromium is not installed (Debian package chromium): the picture was "
                        "not rendered";
    }
    const fs::path picture = study() / "pictures" / "run1_faces_volumes_3DMC_HR_RVT.sdm.svg";
    ASSERT_TRUE(fs::exists(picture));
    TempDir shot;
    const std::string png = shot.file("picture.png");
    const ProgramResult result = testsupport::runProgram(
        "timeout",
        {"120", "chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--hide-scrollbars", "--window-size=1000,1200",
         "--screenshot=" + png, picture.string()},
        shot.path());
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string bytes = readFile(png);
    ASSERT_GT(bytes.size(), 24u) << result.err;
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    // The image header: width and height, big-endian, at bytes 16 and 20.
    const auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    EXPECT_EQ(word(16), 1000u);
    EXPECT_EQ(word(20), 1200u);
    // A drawn design matrix compresses far less than an empty page.
    EXPECT_GT(bytes.size(), 20000u);
    if (const char* keep = std::getenv("SDMWEAVER_KEEP_SCREENSHOT")) {
        fs::copy_file(png, keep, fs::copy_options::overwrite_existing);
    }
}

struct PlotCommandCase {
    const char* what;
    std::vector<std::string> arguments;  // "EXAMPLES/" stands for the examples folder
    int status;
    std::vector<std::string> pictures;  // expected in the folder "out"
    const char* message;                // on standard error
};

void PrintTo(const PlotCommandCase& value, std::ostream* out) {
    *out << value.what;
}

class PlotCommand : public testing::TestWithParam<PlotCommandCase> {};

TEST_P(PlotCommand, DrawsExistingFilesAndWritesNothingOnStandardOutput) {
    TempDir dir;
    writeFile(dir.file("file"), "x");
    std::vector<std::string> arguments = {"plot"};
    for (const auto& argument : GetParam().arguments) {
        arguments.push_back(argument.starts_with("EXAMPLES/")
                                ? SDMWEAVER_EXAMPLES_DIR + argument.substr(8)
                                : argument);
    }
    const ProgramResult result = sdmweaver(arguments, dir.path());
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(contains(result.err, GetParam().message)) << result.err;
    for (const auto& picture : GetParam().pictures) {
        ASSERT_TRUE(fs::exists(dir.path() / "out" / picture)) << picture;
        const std::string source =
            std::string(SDMWEAVER_EXAMPLES_DIR) + "/" + picture.substr(0, picture.size() - 4);
        expectPictureOf((dir.path() / "out" / picture).string(), source);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, PlotCommand,
    testing::Values(
        PlotCommandCase{"BothLayouts",
                        {"EXAMPLES/run1_3DMC.sdm", "EXAMPLES/run2_3DMC.rtc", "-o", "out"},
                        0,
                        {"run1_3DMC.sdm.svg", "run2_3DMC.rtc.svg"},
                        "sdmweaver: 2 pictures written to out, 0 files not drawn"},
        PlotCommandCase{"OutputAfterEquals",
                        {"--output=out", "EXAMPLES/run2_HR.sdm"},
                        0,
                        {"run2_HR.sdm.svg"},
                        "check: " SDMWEAVER_EXAMPLES_DIR "/run2_HR.sdm: condition number"},
        PlotCommandCase{"AMissingFile",
                        {"-o", "out", "absent.sdm", "EXAMPLES/run1_HR.rtc"},
                        1,
                        {"run1_HR.rtc.svg"},
                        "sdmweaver: no picture of absent.sdm: absent.sdm: cannot be opened"},
        PlotCommandCase{"NoFile", {"-o", "out"}, 2, {}, "plot needs at least one"},
        PlotCommandCase{"UnknownOption", {"--fast", "a.sdm"}, 2, {}, "unknown option --fast"},
        PlotCommandCase{"FolderOntoAFile",
                        {"-o", "file", "EXAMPLES/run1_3DMC.sdm"},
                        2,
                        {},
                        "cannot make the picture folder file"}),
    [](const testing::TestParamInfo<PlotCommandCase>& testCase) { return testCase.param.what; });

TEST(PlotCommandHelp, TheProgramsHelpShowsPlotWithExamples) {
    TempDir dir;
    const ProgramResult result = sdmweaver({"--help"}, dir.path());
    EXPECT_EQ(result.status, 0);
    for (const char* part : {"[--plot DIR]", "\n  plot                 draws", "\n  --plot DIR ",
                             "                       --plot pictures\n"}) {
        EXPECT_TRUE(contains(result.out, part)) << part;
    }
}

TEST(PlotCommandHelp, GoesToStandardOutput) {
    TempDir dir;
    const ProgramResult result = sdmweaver({"plot", "--help"}, dir.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("sdmweaver plot: draws")) << result.out;
    EXPECT_TRUE(contains(result.out, "  sdmweaver plot FILE... [-o DIR]\n"));
}

}  // namespace
