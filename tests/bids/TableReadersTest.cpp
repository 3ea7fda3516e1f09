// The events and confound table readers: what they refuse (each message naming the file and the
// row), the n/a rules of confound columns, picking columns by pattern, and the real files.

#include <gtest/gtest.h>

#include "bids/ConfoundsFile.h"
#include "bids/EventsFile.h"
#include "bids/InputError.h"
#include "tests/bids/BidsFixtures.h"

namespace {

using bids::InputError;

// The message of the InputError that `read` throws; empty when it throws none.
template <typename Read>
std::string failureOf(Read read) {
    try {
        read();
    } catch (const InputError& error) {
        return error.what();
    }
    return "";
}

struct RefusedTable {
    const char* what;
    const char* text;
    const char* message;  // the message's text after the file name
};

void PrintTo(const RefusedTable& value, std::ostream* out) {
    *out << value.what;
}

class RefusedEvents : public testing::TestWithParam<RefusedTable> {};

TEST_P(RefusedEvents, NamesTheFileAndThePlace) {
    const std::string message =
        failureOf([] { bids::parseEventsFile("run1_events.tsv", GetParam().text); });
    EXPECT_EQ(message, std::string("run1_events.tsv: ") + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Events, RefusedEvents,
    testing::Values(
        RefusedTable{"EmptyFile", "",
                     "the file is empty; a table begins with a header line of column names"},
        RefusedTable{"LoneCrInARow", "onset\tduration\n1\t2\r5\n",
                     "row 1 (line 2) holds a CR that does not end the line; tables end their "
                     "lines with LF or CR LF"},
        RefusedTable{"CrEndingTheFile", "onset\tduration\r\n1\t2\r",
                     "row 1 (line 2) holds a CR that does not end the line; tables end their "
                     "lines with LF or CR LF"},
        RefusedTable{"NoOnset", "start\tduration\n1\t2\n",
                     "line 1 (the header) has no onset column; an events file needs onset and "
                     "duration"},
        RefusedTable{"NoDuration", "onset\ttrial_type\n1\ta\n",
                     "line 1 (the header) has no duration column; an events file needs onset "
                     "and duration"},
        RefusedTable{"OnsetNotANumber", "onset\tduration\n1\t2\n3,5\t2\n",
                     "row 2 (line 3), column onset: '3,5' is not a number"},
        RefusedTable{"OnsetNotAvailable", "onset\tduration\nn/a\t2\n",
                     "row 1 (line 2), column onset: 'n/a' is not a number"},
        RefusedTable{"NegativeDuration", "onset\tduration\n1\t-0.5\n",
                     "row 1 (line 2), column duration: the duration -0.5 is negative"},
        RefusedTable{"CellsMissing", "onset\tduration\ttrial_type\n1\t2\ta\n3\t4\n",
                     "row 2 (line 3) has 2 cells; the header has 3 columns"},
        RefusedTable{"ColumnTwice", "onset\tduration\tonset\n1\t2\t3\n",
                     "line 1 (the header): the column name onset appears twice"},
        RefusedTable{"HeaderAlone", "onset\tduration\n",
                     "the file holds a header line but no events"}));

TEST(EventsFile, AByteOrderMarkAndCrLfLineEndsReadAsTheSameTableWithOneNote) {
    EXPECT_FALSE(bids::parseEventsFile("plain.tsv", "onset\tduration\n1\t2\n").table.readingNote());
    for (const auto& [text, note] :
         {std::pair<std::string, std::string>{
              "\xEF\xBB\xBFonset\tduration\ttrial_type\n1\t2\tA\n3.5\tn/a\tB\n",
              "past a UTF-8 byte-order mark"},
          {"onset\tduration\ttrial_type\r\n1\t2\tA\n3.5\tn/a\tB\r\n\r\n",
           "with CR LF line ends"}}) {
        const bids::EventsFile file = bids::parseEventsFile("saved.tsv", text);
        EXPECT_EQ(file.table.header().front(), "onset");
        EXPECT_EQ(file.conditions, (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(file.table.cell(1, 2), "B");
        EXPECT_EQ(file.table.readingNote().value_or(""), "saved.tsv: read " + note);
    }
}

TEST(EventsFile, ReadsConditionsInFirstAppearanceOrderAndDurationsOfNa) {
    const bids::EventsFile file = bids::parseEventsFile(
        "e.tsv",
        "onset\tduration\ttrial_type\tgain\n-1.5\t2\tloss\t3\n0.25\tn/a\twin\tn/a\n4\t0\tn/a\t1\n"
        "6\t1\tloss\t+2e0\n\n");
    ASSERT_EQ(file.events.size(), 4U);
    EXPECT_EQ(file.conditions, (std::vector<std::string>{"loss", "win"}));
    EXPECT_EQ(file.untyped, 1U);
    EXPECT_DOUBLE_EQ(file.events[0].onset, -1.5);
    EXPECT_FALSE(file.events[1].duration.has_value());
    EXPECT_EQ(file.events[2].duration, 0.0);
    const auto gains = bids::eventValues(file, "gain");
    EXPECT_EQ(gains, (std::vector<std::optional<double>>{3.0, std::nullopt, 1.0, 2.0}));
    EXPECT_EQ(failureOf([&file] { bids::eventValues(file, "rt"); }),
              "e.tsv: line 1 (the header) has no column rt");
}

TEST(EventsFile, WithoutTrialTypeEveryEventIsOfOneCondition) {
    const auto file = bids::parseEventsFile("e.tsv", "onset\tduration\n1\t2\n5\t2");
    EXPECT_EQ(file.conditions, (std::vector<std::string>{"task"}));
}

bids::TsvTable confounds(const std::string& text) {
    return bids::TsvTable::parse("c.tsv", text);
}

TEST(ConfoundColumn, NaInTheFirstRowsBecomesZeroAndIsCounted) {
    const auto table = confounds("fd\tx\nn/a\t1\nn/a\t2\n0.5\t3\n0.25\t4\n");
    const auto column = bids::confoundColumn(table, 0, 0);
    EXPECT_EQ(column.values, (std::vector<double>{0.0, 0.0, 0.5, 0.25}));
    EXPECT_EQ(column.leadingMissing, 2U);
    // Rows dropped first: the n/a cells go with them.
    EXPECT_EQ(bids::confoundColumn(table, 0, 2).leadingMissing, 0U);
}

TEST(ConfoundColumn, RefusesNaAfterANumberAColumnOfNaAloneAndText) {
    EXPECT_EQ(failureOf([] { bids::confoundColumn(confounds("fd\n0.1\nn/a\n"), 0, 0); }),
              "c.tsv: row 2 (line 3), column fd: n/a after a number; n/a is accepted only in the "
              "first rows of a confound column");
    EXPECT_EQ(failureOf([] { bids::confoundColumn(confounds("fd\nn/a\nn/a\n"), 0, 0); }),
              "c.tsv: column fd holds n/a in every row");
    EXPECT_EQ(failureOf([] { bids::confoundColumn(confounds("fd\n0.1\nhigh\n"), 0, 0); }),
              "c.tsv: row 2 (line 3), column fd: 'high' is not a number");
}

TEST(PickColumns, TakesPatternsInTheOrderGivenEachColumnOnce) {
    const auto table = confounds("rot_x\ttrans_x\ttrans_y\ttrans_x_power2\tcsf\n1\t2\t3\t4\t5\n");
    EXPECT_EQ(bids::pickColumns(table, {"trans_?", "rot_*", "trans_*"}),
              (std::vector<std::size_t>{1, 2, 0, 3}));
    EXPECT_EQ(failureOf([&table] {
                  bids::pickColumns(table, {"csf", "a_comp_cor_*"});
              }),
              "c.tsv: no column matches the pattern 'a_comp_cor_*'");
    EXPECT_TRUE(bids::matchesWildcard("*_power2", "trans_x_derivative1_power2"));
    EXPECT_FALSE(bids::matchesWildcard("trans_?", "trans_xy"));
    // A '*' of the pattern stands for any run, a '*' of the name included.
    EXPECT_TRUE(bids::matchesWildcard("*", "*-ans_x"));
    EXPECT_TRUE(bids::matchesWildcard("a*", "a*b"));
}

TEST(RealFiles, ParametricEventsAndBothGenerationsOfConfoundTables) {
    SKIP_WITHOUT_BIDS_FIXTURES();
    const auto events = bids::readEventsFile(
        bidstest::fixture("ds000001/sub-01_task-balloonanalogrisktask_run-01_events.tsv"));
    EXPECT_EQ(events.conditions.front(), "pumps_demean");
    EXPECT_EQ(events.conditions.size(), 4U);
    const auto pumps = bids::eventValues(events, "pumps_demean");
    EXPECT_EQ(pumps.front(), -2.0);
    EXPECT_FALSE(pumps[5].has_value());  // an explode_demean event

    const auto current = bids::readConfoundsFile(bidstest::fixture(
        "generated/sub-01_ses-01_task-nback_run-01_desc-confounds_timeseries.tsv"));
    EXPECT_EQ(current.rowCount(), 64U);
    const auto fd = bids::confoundColumn(current, *current.column("framewise_displacement"), 0);
    EXPECT_EQ(fd.leadingMissing, 1U);
    const auto older = bids::readConfoundsFile(
        bidstest::fixture("synthetic/sub-01_ses-01_task-nback_run-01_timeseries.tsv"));
    EXPECT_EQ(bids::pickColumns(older, {"Rot?", "X"}).size(), 4U);
}

}  // namespace
