#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "paths/FileSet.h"
#include "paths/RegularFile.h"
#include "paths/SameFile.h"
#include "paths/WholeFile.h"
#include "tests/support/TestSupport.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using testsupport::readFile;

// An input and every sort of link to it the system allows (empty where it allows none): a
// symbolic link, a hard link, a dangling link to a later name, and that name through a linked
// folder.
struct Links {
    testsupport::TempDir dir;
    std::string input = dir.file("run1_task.sdm"), later = dir.file("real/later.sdm");
    std::string symbolic, hard, dangling, throughFolder;

    Links() {
        testsupport::writeFile(input, "base");
        fs::create_directory(dir.path() / "real");
        std::error_code e[4];
        fs::create_symlink(input, dir.path() / "sym.sdm", e[0]);
        fs::create_hard_link(input, dir.path() / "hard.sdm", e[1]);
        fs::create_symlink(later, dir.path() / "dang.sdm", e[2]);
        fs::create_directory_symlink(dir.path() / "real", dir.path() / "linked", e[3]);
        symbolic = e[0] ? "" : dir.file("sym.sdm");
        hard = e[1] ? "" : dir.file("hard.sdm");
        dangling = e[2] ? "" : dir.file("dang.sdm");
        throughFolder = e[3] ? "" : dir.file("linked/later.sdm");
    }
};

TEST(FileIdentity, EveryLinkSpellingIsTheFileItLeadsTo) {
    const Links l;
    const struct {
        std::string first, second;
        bool same;
    } cases[] = {
        {l.input, l.dir.file("real/../run1_task.sdm"), true},
        {l.input, l.symbolic, true},
        {l.input, l.hard, true},
        // Not yet there: resolved through the nearest existing folder, links included.
        {l.later, l.throughFolder, true},
        {l.later, l.dangling, true},
        {l.input, l.dangling, false},
        {l.dir.file("no/a/b.sdm"), l.dir.file("no/a/../a/b.sdm"), true},
    };
    for (const auto& c : cases) {
        if (!c.first.empty() && !c.second.empty()) {
            EXPECT_EQ(paths::isSameFile(c.first, c.second), c.same) << c.first << " | " << c.second;
        }
    }
    // The run's file set answers by the same rule.
    const std::vector<std::string> entries = {l.input, l.later};
    const paths::FileSet files(l.dir.file("list.txt"), entries);
    for (const std::string& path : {l.symbolic, l.hard, l.dangling, l.throughFolder}) {
        EXPECT_TRUE(path.empty() || files.contains(path)) << path;
    }
    EXPECT_FALSE(files.contains(l.dir.file("other.sdm")));
}

TEST(WholeFile, ALinkAtTheNameIsReplacedAndNothingAppearsBeforeTheCommit) {
    const Links l;
    for (const std::string& name : {l.symbolic, l.hard, l.dangling}) {
        if (!name.empty()) {
            ASSERT_TRUE(paths::writeWholeFile(name, "new"));
            EXPECT_TRUE(readFile(name) == "new" && !fs::is_symlink(name)) << name;
        }
    }
    EXPECT_EQ(readFile(l.input), "base");
    EXPECT_FALSE(fs::exists(l.later));
    {
        paths::WholeFile file(l.input);
        file.stream() << "half" << std::flush;
        EXPECT_EQ(readFile(l.input), "base");
        const auto temporaries = paths::leftoverTemporaries(l.dir.path().string());
        ASSERT_EQ(temporaries.size(), 1u);
        EXPECT_TRUE(temporaries[0].starts_with(l.input + ".partial-")) << temporaries[0];
    }  // discarded
    {
        paths::WholeFile file(l.input, paths::WholeFile::Mode::Binary,
                              paths::WholeFile::Ending::Commit);
        file.stream() << "part";
    }  // a writer that ends puts what it wrote under the name
    EXPECT_EQ(readFile(l.input), "part");
    EXPECT_TRUE(paths::leftoverTemporaries(l.dir.path().string()).empty());
    EXPECT_FALSE(paths::WholeFile(l.dir.file("real")).isOpen());  // a folder is not replaced
}

#if !defined(_WIN32)
TEST(WholeFile, ADeviceOrFifoIsWrittenInPlaceAndNeverRead) {
    testsupport::TempDir dir;
    const std::string fifo = dir.file("run1_HR.rtc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(paths::isIrregularFile(fifo));
    EXPECT_FALSE(paths::isIrregularFile(dir.file("missing.rtc")));
    EXPECT_EQ(paths::irregularFileText(fifo), fifo + " is not a regular file: it is not read.");
    EXPECT_TRUE(paths::writeWholeFile("/dev/null", "anything"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(!fs::exists("/dev/full") || !paths::writeWholeFile("/dev/full", "x"));
}
#endif

}  // namespace
