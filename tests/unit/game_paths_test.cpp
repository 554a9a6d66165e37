#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "app/command_line.h"
#include "core/game_paths.h"
#include "level/level_file.h"
#include "support/sim_levels.h"
#include "support/temp_dir.h"

namespace {

void makeFolder(const std::string& path) { ::mkdir(path.c_str(), 0755); }

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (hadOld_)
            ::setenv(name_.c_str(), old_.c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }

private:
    std::string name_, old_;
    bool hadOld_ = false;
};

// A prefix with an installed game (games/, share/games/tavrelo/gfx) and a build
// folder with its data beside the executable.
class GameRootsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        for (const char* folder : {"prefix", "prefix/games", "prefix/share", "prefix/share/games",
                                   "prefix/share/games/tavrelo", "prefix/share/games/tavrelo/gfx", "runtime", "runtime/gfx", "home"})
            makeFolder(dir.file(folder));
    }
    void TearDown() override {
        setGameRoots(GameRoots{".", "."});
        if (!startFolder.empty()) {
            EXPECT_EQ(::chdir(startFolder.c_str()), 0);
        }
    }

    // Some cases run inside the data root, as the game does.
    void enterFolder(const std::string& folder) {
        char* here = ::getcwd(nullptr, 0);
        if (here) startFolder = here;
        std::free(here);
        ASSERT_EQ(::chdir(folder.c_str()), 0);
    }

    std::string startFolder;

    TempDir dir{"game-roots"};
};

TEST_F(GameRootsTest, BuildFolderKeepsEverythingBesideTheExecutable) {
    const GameRoots roots = chooseGameRoots(dir.file("runtime"), "", "");
    EXPECT_EQ(roots.data, dir.file("runtime"));
    EXPECT_EQ(roots.user, roots.data);
    setGameRoots(roots);
    // One folder: every path is the relative one the game always used.
    EXPECT_EQ(userFile("settings.ini"), "settings.ini");
    EXPECT_EQ(readableFile("maps/a.slv"), "maps/a.slv");
}

TEST_F(GameRootsTest, InstalledGameReadsShareAndWritesTheXdgFolder) {
    struct Case {
        const char* xdgDataHome;  // nullptr: unset
        std::string expectedUser;
    };
    const Case cases[] = {
        {nullptr, dir.file("home") + "/.local/share/tavrelo"},
        {"", dir.file("home") + "/.local/share/tavrelo"},
        {"relative/data", dir.file("home") + "/.local/share/tavrelo"},  // must be absolute to count
        {"/xdg/data", "/xdg/data/tavrelo"},
    };
    ScopedEnv home("HOME", dir.file("home").c_str());
    for (const Case& c : cases) {
        ScopedEnv xdg("XDG_DATA_HOME", c.xdgDataHome);
        const GameRoots roots = chooseGameRoots(dir.file("prefix/games"), "", "");
        EXPECT_EQ(roots.data, dir.file("prefix/share/games/tavrelo")) << (c.xdgDataHome ? c.xdgDataHome : "unset");
        EXPECT_EQ(roots.user, c.expectedUser) << (c.xdgDataHome ? c.xdgDataHome : "unset");
    }
}

TEST_F(GameRootsTest, CommandLineFoldersWin) {
    ScopedEnv home("HOME", dir.file("home").c_str());
    GameRoots roots = chooseGameRoots(dir.file("prefix/games"), dir.file("runtime"), dir.file("mine"));
    EXPECT_EQ(roots.data, dir.file("runtime"));
    EXPECT_EQ(roots.user, dir.file("mine"));
    EXPECT_EQ(roots.config, dir.file("mine"));
    // Only --data: the player's files still go to the user's folder.
    roots = chooseGameRoots(dir.file("runtime"), dir.file("prefix/share/games/tavrelo"), "");
    EXPECT_EQ(roots.user, dir.file("home") + "/.local/share/tavrelo");
}

TEST_F(GameRootsTest, SettingsGoToTheXdgConfigFolderAndNoHomeMeansThePasswordDatabasesOne) {
    ScopedEnv home("HOME", nullptr), data("XDG_DATA_HOME", nullptr), config("XDG_CONFIG_HOME", "/xdg");
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const GameRoots roots = chooseGameRoots(dir.file("prefix/games"), "", "");
    EXPECT_EQ(roots.user, std::string(entry->pw_dir) + "/.local/share/tavrelo");
    EXPECT_EQ(roots.config, "/xdg/tavrelo");
}

// An old settings.ini in the user root, and in the config root a new one or the temporary a killed move left.
TEST_F(GameRootsTest, SettingsFileMovesOnceAndNeverOverwrites) {
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        // new copy, temporary -> new copy afterwards, old copy kept
        {nullptr, nullptr, "old", false},  // the first start
        {nullptr, "ol", "old", false},     // killed while writing the new copy
        {"old", nullptr, "old", false},    // killed before removing the old copy
        {"new", nullptr, "new", true},     // never over a new one
    };
    for (const auto& [current, leftover, expected, oldKept] : cases) {
        TempDir place{"settings-move"};
        setGameRoots(GameRoots{dir.file("runtime"), place.file("data"), place.file("config")});
        std::string why;
        ASSERT_TRUE(prepareUserRoot(why)) << why;
        place.write("data/settings.ini", "old");
        if (current) place.write("config/settings.ini", current);
        if (leftover) place.write("config/settings.ini.tmp-Ab12Cd", leftover);
        EXPECT_TRUE(moveSettingsFileToConfigRoot("settings.ini", why)) << why;
        EXPECT_EQ(place.readBytes("config/settings.ini"), std::vector<uint8_t>(expected, expected + 3)) << expected;
        EXPECT_EQ(exists(place.file("data/settings.ini")), oldKept) << expected;
    }
}

TEST_F(GameRootsTest, PlayerFilesShadowShippedOnesAndAreListedOnce) {
    // Shipped: a.slv, b.slv; the player's: b.slv (his own version, one block
    // longer and written later), c.slv.
    makeFolder(dir.file("runtime/maps"));
    dir.write("runtime/maps/a.slv", "shipped a");
    const std::string block = "block plain pos=300,0,0 size=600,500,1000\n";
    ASSERT_EQ(writeLevelFile(dir.file("runtime/maps/b.slv"), levelFromText(block)), 0);
    const utimbuf shippedTime{1000000000, 1000000000};
    ASSERT_EQ(utime(dir.file("runtime/maps/b.slv").c_str(), &shippedTime), 0);
    setGameRoots(GameRoots{dir.file("runtime"), dir.file("home/tavrelo")});
    std::string why;
    ASSERT_TRUE(prepareUserRoot(why)) << why;
    ASSERT_EQ(writeLevelFile(dir.file("home/tavrelo/maps/b.slv"), levelFromText(block + block)), 0);
    dir.write("home/tavrelo/maps/c.slv", "own c");

    enterFolder(dir.file("runtime"));
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : listGameFolder("maps")) {
        names.push_back(entry.name);
        // The player's file time, so the shipped map's record stays with it.
        if (entry.name == "b.slv") {
            EXPECT_GT(entry.modifiedTime, shippedTime.modtime);
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.slv", "b.slv", "c.slv"}));
    Level played;
    ASSERT_EQ(loadPlayLevel("maps/b.slv", played), 0);
    EXPECT_EQ(played.blockCount(), 2) << "the player's own b.slv is the one played";
    EXPECT_EQ(readableFile("maps/a.slv"), "maps/a.slv");
    EXPECT_EQ(readableFile("maps/b.slv"), dir.file("home/tavrelo/maps/b.slv"));
    EXPECT_EQ(userFile("highscore.hsc"), dir.file("home/tavrelo/highscore.hsc"));

    // A campaign's progress goes below a folder the player never had.
    const std::string progress = userFileForWriting("maps/gentle-camp/single.stat");
    EXPECT_EQ(progress, dir.file("home/tavrelo/maps/gentle-camp/single.stat"));
    EXPECT_TRUE(exists(dir.file("home/tavrelo/maps/gentle-camp")));
    EXPECT_FALSE(exists(dir.file("runtime/maps/gentle-camp")));
}

TEST_F(GameRootsTest, UnwritableUserFolderIsReported) {
    dir.write("blocker", "a file where the folder should be");
    setGameRoots(GameRoots{dir.file("runtime"), dir.file("blocker/tavrelo")});
    std::string why;
    EXPECT_FALSE(prepareUserRoot(why));
    EXPECT_FALSE(why.empty());
}

TEST(CommandLine, OptionsAndRefusals) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        int windowed, width, height;
        std::string data, user;
    };
    const Case cases[] = {
        {{}, true, -1, 0, 0, "", ""},
        {{"--windowed"}, true, 1, 0, 0, "", ""},
        {{"--windowed", "--fullscreen"}, true, 0, 0, 0, "", ""},  // the last one wins
        {{"--size", "800x600"}, true, -1, 800, 600, "", ""},
        {{"--size=640x480"}, true, -1, 640, 480, "", ""},
        {{"--data", "/d", "--user=/u"}, true, -1, 0, 0, "/d", "/u"},
        {{"--size", "800"}, false, -1, 0, 0, "", ""},
        {{"--size", "0x600"}, false, -1, 0, 0, "", ""},
        {{"--size", "16384x16384"}, true, -1, 16384, 16384, "", ""},  // both bounds of each side
        {{"--size", "16385x600"}, false, -1, 0, 0, "", ""},
        {{"--size", "800x16385"}, false, -1, 0, 0, "", ""},
        {{"--size", "800x600x"}, false, -1, 0, 0, "", ""},
        {{"--size"}, false, -1, 0, 0, "", ""},
        {{"--data"}, false, -1, 0, 0, "", ""},
        {{"--data="}, false, -1, 0, 0, "", ""},
        {{"--windowed=1"}, false, -1, 0, 0, "", ""},
        {{"--bogus"}, false, -1, 0, 0, "", ""},
        {{"maps/a.slv"}, false, -1, 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"tavrelo"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = parseCommandLine(int(argv.size()), argv.data());
        std::string shown;
        for (const char* arg : c.args) shown += std::string(arg) + " ";
        EXPECT_EQ(line.error.empty(), c.ok) << shown << line.error;
        if (!c.ok) continue;
        EXPECT_EQ(line.windowed, c.windowed) << shown;
        EXPECT_EQ(line.width, c.width) << shown;
        EXPECT_EQ(line.height, c.height) << shown;
        EXPECT_EQ(line.dataFolder, c.data) << shown;
        EXPECT_EQ(line.userFolder, c.user) << shown;
    }
    const char* help[] = {"tavrelo", "--help"};
    EXPECT_TRUE(parseCommandLine(2, help).showHelp);
    EXPECT_NE(usageText().find("--user DIR"), std::string::npos);
    EXPECT_EQ(versionText(), "tavrelo 1.16b\n");
}

}  // namespace
