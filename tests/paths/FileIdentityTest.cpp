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
using testsupport::TempDir;
using testsupport::writeFile;

// Links of every sort to `input`, made where the system allows them: a symbolic link, a dangling
// link whose target is `input`'s later name, a link to a linked folder, a hard link.
struct Links {
    std::string input, symbolic, dangling, danglingTarget, throughFolder, hard;
};

Links makeLinks(const TempDir& dir) {
    Links links;
    links.input = dir.file("run1_task.sdm");
    writeFile(links.input, "base");
    fs::create_directory(dir.path() / "real");
    std::error_code error;
    fs::create_symlink(links.input, dir.path() / "symbolic.sdm", error);
    links.symbolic = error ? "" : dir.file("symbolic.sdm");
    links.danglingTarget = dir.file("real/later.sdm");
    fs::create_symlink(links.danglingTarget, dir.path() / "dangling.sdm", error);
    links.dangling = error ? "" : dir.file("dangling.sdm");
    fs::create_directory_symlink(dir.path() / "real", dir.path() / "linked", error);
    links.throughFolder = error ? "" : dir.file("linked/later.sdm");
    fs::create_hard_link(links.input, dir.path() / "hard.sdm", error);
    links.hard = error ? "" : dir.file("hard.sdm");
    return links;
}

TEST(FileIdentity, EveryLinkSpellingIsTheFileItLeadsTo) {
    TempDir dir;
    const Links links = makeLinks(dir);
    struct Case {
        std::string first, second;
        bool same;
    };
    const std::vector<Case> cases = {
        {links.input, dir.file("real/../run1_task.sdm"), true},
        {links.input, links.symbolic, true},
        {links.input, links.hard, true},
        // Not yet there: resolved through the nearest existing folder, links included.
        {links.danglingTarget, links.throughFolder, true},
        {links.danglingTarget, links.dangling, true},
        {links.dangling, links.throughFolder, true},
        {links.input, links.dangling, false},
        {links.input, dir.file("other.sdm"), false},
        {dir.file("missing/a/b.sdm"), dir.file("missing/a/../a/b.sdm"), true},
    };
    for (const Case& c : cases) {
        if (c.first.empty() || c.second.empty()) {
            continue;  // the system made no such link
        }
        SCOPED_TRACE(c.first + " | " + c.second);
        EXPECT_EQ(paths::isSameFile(c.first, c.second), c.same);
    }

    // The run's file set answers by the same rule.
    const std::vector<std::string> entries = {links.input, links.danglingTarget};
    const paths::FileSet files(dir.file("list.txt"), entries);
    for (const std::string& path : {links.symbolic, links.hard, links.dangling, links.throughFolder}) {
        if (!path.empty()) {
            EXPECT_TRUE(files.contains(path)) << path;
        }
    }
    EXPECT_FALSE(files.contains(dir.file("other.sdm")));
}

TEST(WholeFile, ALinkAtTheNameIsReplacedNeverWrittenThrough) {
    TempDir dir;
    const Links links = makeLinks(dir);
    for (const std::string& name : {links.symbolic, links.hard, links.dangling}) {
        if (name.empty()) {
            continue;
        }
        SCOPED_TRACE(name);
        ASSERT_TRUE(paths::writeWholeFile(name, "new"));
        EXPECT_EQ(readFile(name), "new");
        EXPECT_FALSE(fs::is_symlink(name));
        EXPECT_EQ(readFile(links.input), "base");
        EXPECT_FALSE(fs::exists(links.danglingTarget));
    }
    EXPECT_TRUE(paths::leftoverTemporaries(dir.path().string()).empty());
}

TEST(WholeFile, NothingAppearsUnderTheNameUntilCommitted) {
    TempDir dir;
    const std::string target = dir.file("out.sdm");
    writeFile(target, "old");
    {
        paths::WholeFile file(target);
        ASSERT_TRUE(file.isOpen());
        file.stream() << "half";
        file.stream().flush();
        EXPECT_EQ(readFile(target), "old");
        const auto temporaries = paths::leftoverTemporaries(dir.path().string());
        ASSERT_EQ(temporaries.size(), 1u);
        EXPECT_TRUE(temporaries[0].starts_with(target + ".partial-")) << temporaries[0];
    }  // discarded
    EXPECT_EQ(readFile(target), "old");
    EXPECT_TRUE(paths::leftoverTemporaries(dir.path().string()).empty());
    {
        paths::WholeFile file(target, paths::WholeFile::Mode::Binary,
                              paths::WholeFile::Ending::Commit);
        file.stream() << "part";
    }  // an ending writer puts what it wrote under the name
    EXPECT_EQ(readFile(target), "part");

    // A folder at the name, or a read-only file, is not replaced.
    fs::create_directory(dir.path() / "folder.sdm");
    EXPECT_FALSE(paths::WholeFile(dir.file("folder.sdm")).isOpen());
}

#if !defined(_WIN32)
TEST(WholeFile, ADeviceOrFifoIsWrittenInPlaceAndNeverRead) {
    TempDir dir;
    const std::string fifo = dir.file("run1_HR.rtc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(paths::isIrregularFile(fifo));
    EXPECT_TRUE(paths::isIrregularFile("/dev/null"));
    EXPECT_FALSE(paths::isIrregularFile(dir.file("missing.rtc")));
    EXPECT_EQ(paths::irregularFileText(fifo), fifo + " is not a regular file: it is not read.");

    EXPECT_TRUE(paths::writeWholeFile("/dev/null", "anything"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(paths::writeWholeFile("/dev/full", std::string(100000, 'x')));
    }
}
#endif

}  // namespace
