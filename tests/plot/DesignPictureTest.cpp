// The picture as a document: well-formed XML, one column per predictor and one cell per volume,
// the names in order, grey levels per column, volume numbers, roles, and names that would break
// the markup.

#include <gtest/gtest.h>

#include <set>

#include "plot/DesignPicture.h"
#include "tests/plot/DesignFiles.h"
#include "tests/plot/XmlDocument.h"

namespace {

using formats::DesignTable;
using plot::checkDesign;
using plot::drawDesignPicture;
using plottest::parseXml;
using plottest::XmlElement;

XmlElement parsedPicture(const DesignTable& table, const std::string& title = "run1.sdm") {
    auto parse = parseXml(drawDesignPicture(table, checkDesign(table), title));
    EXPECT_TRUE(parse.root) << parse.error;
    return parse.root ? std::move(*parse.root) : XmlElement{};
}

std::vector<const XmlElement*> columnsOf(const XmlElement& svg) {
    return svg.findAll([](const XmlElement& e) { return e.name == "g" && e.hasClass("column"); });
}

std::vector<std::string> namesOf(const XmlElement& svg) {
    std::vector<std::string> names;
    for (const auto* text :
         svg.findAll([](const XmlElement& e) { return e.name == "text" && e.hasClass("name"); })) {
        names.push_back(text->text);
    }
    return names;
}

struct SizeCase {
    std::size_t predictors;
    std::size_t volumes;
    int firstConfound;
};

void PrintTo(const SizeCase& value, std::ostream* out) {
    *out << value.predictors << " predictors, " << value.volumes << " volumes";
}

class DesignPictureSize : public testing::TestWithParam<SizeCase> {};

TEST_P(DesignPictureSize, HasOneColumnPerPredictorAndOneCellPerVolumeWithTheNamesInOrder) {
    const auto [predictors, volumes, firstConfound] = GetParam();
    const DesignTable table =
        plottest::generatedDesign(predictors, volumes, 1, true, firstConfound);
    const XmlElement svg = parsedPicture(table);
    ASSERT_EQ(svg.name, "svg");
    EXPECT_EQ(namesOf(svg), table.names);
    const auto columns = columnsOf(svg);
    ASSERT_EQ(columns.size(), predictors);
    for (std::size_t i = 0; i < predictors; ++i) {
        const auto cells = columns[i]->childrenNamed("rect");
        ASSERT_EQ(cells.size(), volumes) << "column " << i;
        EXPECT_EQ(*cells.front()->attribute("y"), "0");
        EXPECT_EQ(*cells.back()->attribute("y"), std::to_string(volumes - 1));
        const auto role = table.roles[i];
        EXPECT_TRUE(columns[i]->hasClass(role == formats::PredictorRole::Constant   ? "constant"
                                         : role == formats::PredictorRole::Confound ? "confound"
                                                                                    : "task"))
            << *columns[i]->attribute("class");
    }
    // The picture stays on a screen whatever the size of the design.
    EXPECT_LE(std::stod(*svg.attribute("height")), 2000.0);
    EXPECT_LE(std::stod(*svg.attribute("width")), 2000.0);
}

INSTANTIATE_TEST_SUITE_P(Extremes, DesignPictureSize,
                         testing::Values(SizeCase{2, 50, 0}, SizeCase{3, 200, 3},
                                         SizeCase{11, 200, 3}, SizeCase{100, 3000, 60},
                                         SizeCase{2, 3000, 1}, SizeCase{100, 50, 2},
                                         SizeCase{1, 1, 0}),
                         [](const testing::TestParamInfo<SizeCase>& testCase) {
                             return "Predictors" + std::to_string(testCase.param.predictors) +
                                    "Volumes" + std::to_string(testCase.param.volumes);
                         });

TEST(DesignPicture, ScalesEachColumnFromItsMinimumToItsMaximum) {
    DesignTable table = plottest::generatedDesign(3, 4, 1, true);
    table.columns[0] = {-2.0, 0.0, 6.0, 2.0};
    table.columns[1] = {1e300, -1e300, 0.0, 1e300};  // a range beyond the largest double
    const XmlElement svg = parsedPicture(table);
    const auto columns = columnsOf(svg);
    ASSERT_EQ(columns.size(), 3u);
    const std::vector<std::vector<std::string>> expected = {
        {"#000000", "#404040", "#ffffff", "#808080"},
        {"#ffffff", "#000000", "#808080", "#ffffff"},
        {"#808080", "#808080", "#808080", "#808080"},  // the constant: mid-grey
    };
    for (std::size_t i = 0; i < 3; ++i) {
        std::vector<std::string> fills;
        for (const auto* cell : columns[i]->childrenNamed("rect")) {
            fills.push_back(*cell->attribute("fill"));
        }
        EXPECT_EQ(fills, expected[i]) << "column " << i;
    }
}

TEST(DesignPicture, NumbersTheVolumesEveryTenOrEveryFifty) {
    for (const auto& [volumes, step] : {std::pair<std::size_t, std::size_t>{50, 10},
                                        {200, 10},
                                        {500, 10},
                                        {501, 50},
                                        {3000, 50}}) {
        const XmlElement svg = parsedPicture(plottest::generatedDesign(2, volumes, 1));
        const auto groups =
            svg.findAll([](const XmlElement& e) { return e.name == "g" && e.hasClass("volumes"); });
        ASSERT_EQ(groups.size(), 1u);
        std::vector<std::string> labels;
        for (const auto* text : groups.front()->childrenNamed("text")) {
            labels.push_back(text->text);
        }
        std::vector<std::string> expected = {"volume", "1"};
        for (std::size_t v = step; v <= volumes; v += step) {
            expected.push_back(std::to_string(v));
        }
        EXPECT_EQ(labels, expected) << volumes << " volumes";
    }
}

TEST(DesignPicture, TurnsTheNamesUprightOnlyWhenTheColumnsAreTooNarrow) {
    for (const auto& [predictors, name, upright] :
         {std::tuple{3, "Faces", false}, std::tuple{3, "Translation ZM-X [mm]", true},
          std::tuple{100, "A", true}}) {
        DesignTable table = plottest::generatedDesign(static_cast<std::size_t>(predictors), 60, 1);
        table.names[0] = name;
        const XmlElement svg = parsedPicture(table);
        for (const auto* text : svg.findAll(
                 [](const XmlElement& e) { return e.name == "text" && e.hasClass("name"); })) {
            const std::string* transform = text->attribute("transform");
            EXPECT_EQ(transform != nullptr && transform->find("rotate(-90)") != std::string::npos,
                      upright)
                << predictors << " predictors, first named " << name;
        }
    }
}

TEST(DesignPicture, MarksConfoundAndConstantColumnsAndShowsTheFileAsTitle) {
    const DesignTable table = plottest::generatedDesign(6, 50, 1, true, 3);
    const XmlElement svg = parsedPicture(table, "run1_3DMC.sdm");
    ASSERT_FALSE(svg.childrenNamed("title").empty());
    EXPECT_EQ(svg.childrenNamed("title").front()->text, "run1_3DMC.sdm");
    const auto titles =
        svg.findAll([](const XmlElement& e) { return e.name == "text" && e.hasClass("title"); });
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles.front()->text, "run1_3DMC.sdm");
    const auto marks = svg.findAll([](const XmlElement& e) {
        return e.name == "rect" && (e.hasClass("confound") || e.hasClass("constant"));
    });
    std::vector<std::string> classes;
    for (const auto* mark : marks) {
        classes.push_back(*mark->attribute("class"));
    }
    EXPECT_EQ(classes, (std::vector<std::string>{"confound", "confound", "confound", "constant"}));
}

TEST(DesignPicture, StaysWellFormedWhateverTheNamesHold) {
    DesignTable table = plottest::generatedDesign(6, 50, 1);
    table.names = {"A & B <left>",
                   "\"quoted\" 'single'",
                   "Gesichter \xC4rger",  // Latin-1 Ä
                   "bad \x80\xFF bytes\x01",
                   "\xE2\x82\xAC and \xF0\x9F\x98\x80",
                   "]]> --"};
    const XmlElement svg = parsedPicture(table, "Run <1> & \xE9.sdm");
    EXPECT_EQ(namesOf(svg), (std::vector<std::string>{
                                "A & B <left>", "\"quoted\" 'single'", "Gesichter \xC3\x84rger",
                                "bad \xEF\xBF\xBD\xC3\xBF bytes\xEF\xBF\xBD",
                                "\xE2\x82\xAC and \xF0\x9F\x98\x80", "]]> --"}));
    EXPECT_EQ(svg.childrenNamed("title").front()->text, "Run <1> & \xC3\xA9.sdm");
}

}  // namespace
