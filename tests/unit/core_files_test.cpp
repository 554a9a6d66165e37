#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/byte_io.h"
#include "editor/editor_dialogs/file_dialog.h"
#include "modes/multi/mode_menu.h"
#include "modes/single/campaign.h"
#include "modes/timeattack/records.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

// A maps/ folder with a level of every kind, each then rewritten by a game
// that is killed half way through the write.
class InterruptedWrites : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(maps.ok());
        ASSERT_EQ(mkdir(maps.file("campaign1").c_str(), 0755), 0);
        for (const char* name : {"track.slv", "ca-arena.slv", "ra-lap.slv", "campaign1/s-a.slv", "track.gho"})
            maps.write(name, "old");
    }

    // Leaves a half-written temporary of `name` as a crash would.
    void crashWhileWriting(const std::string& name) {
        const std::string path = maps.file(name);
        const std::string big(4096, 'x');
        EXPECT_TRUE(killedBySizeLimitWhile(100, [&] { writeFileAtomically(path, big); }));
    }

    TempDir maps{"tavrelo-interrupted"};
};

std::vector<std::string> scannedNames(const std::string& mapsDir) {
    std::vector<RecordEntry> table;
    scanMaps(mapsDir, table);
    std::vector<std::string> names;
    for (const RecordEntry& entry : table) names.push_back(entry.fileName);
    return names;
}

}  // namespace

TEST_F(InterruptedWrites, NoListShowsAHalfWrittenTemporary) {
    for (const char* name : {"track.slv", "ca-arena.slv", "ra-lap.slv", "campaign1/s-a.slv", "track.gho"})
        crashWhileWriting(name);
    ASSERT_EQ(maps.names().size(), 5u + 4u) << "each crash leaves its temporary beside the file";

    using Names = std::vector<std::string>;
    EXPECT_EQ(listLevelEntries(maps.path(), ""), (Names{"campaign1", "ca-arena.slv", "ra-lap.slv", "track.slv"}))
        << "the editor's load list";
    EXPECT_EQ(listLevelEntries(maps.path(), "campaign1"), (Names{"..", "s-a.slv"}));
    EXPECT_EQ(scannedNames(maps.path()), (Names{"ra-lap.slv", "track.slv"})) << "the time-attack list";
    EXPECT_EQ(listModeMaps(maps.path(), "ca-"), Names{"ca-arena.slv"});
    EXPECT_EQ(listModeMaps(maps.path(), "ra-"), Names{"ra-lap.slv"});
    EXPECT_EQ(listCampaignLevels(maps.file("campaign1")), Names{"s-a.slv"});
}

TEST_F(InterruptedWrites, TheNextWriteOfTheFileRemovesItsLeftoverOnly) {
    // Another level's, and one whose name starts with "track.slv".
    for (const char* name : {"track.slv", "ra-lap.slv", "track.slv.slv"}) crashWhileWriting(name);
    maps.write("track.slv.backup", "kept");     // the player's own files stay
    maps.write("track.slv.tmp-notes.txt", "kept");
    ASSERT_EQ(maps.names().size(), 5u + 3u + 2u);

    ASSERT_EQ(writeFileAtomically(maps.file("track.slv"), std::string("new")), 0);
    std::vector<std::string> left;
    for (const std::string& name : maps.names())
        if (isTemporaryFileName(name)) left.push_back(fileOfTemporary(name));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"ra-lap.slv", "track.slv.slv"})) << "they wait for their own next write";
    EXPECT_EQ(maps.readBytes("track.slv"), std::vector<uint8_t>({'n', 'e', 'w'}));
    EXPECT_EQ(maps.readBytes("track.slv.backup").size(), 4u);
    EXPECT_EQ(maps.readBytes("track.slv.tmp-notes.txt").size(), 4u);
}

TEST(TemporaryFileName, OnlyTheWritersOwnPattern) {
    struct Case {
        const char* name;
        bool temporary;
    } cases[] = {
        {"track.slv.tmp-Ab12Cd", true}, {"highscore.hsc.tmp-000000", true}, {".tmp-abcdef", false},
        {"track.slv", false},           {"track.slv.tmp-Ab12C", false},     {"track.slv.tmp-Ab12Cde", false},
        {"track.slv.tmp-Ab.2Cd", false}, {"track.slv.Ab12Cd", false},       {"tmp-Ab12Cd.slv", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isTemporaryFileName(c.name), c.temporary) << c.name;
}
