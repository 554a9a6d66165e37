#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "modes/single/campaign.h"
#include "support/temp_dir.h"

namespace {

// A stored record as the file holds it; the name field may be filled to the
// last byte on purpose.
std::vector<uint8_t> storedRecord(const std::string& name, uint8_t skipped, uint32_t time, int32_t lives) {
    std::vector<uint8_t> bytes(PROGRESS_NAME_SIZE, 0);
    std::memcpy(bytes.data(), name.data(), std::min(name.size(), PROGRESS_NAME_SIZE));
    bytes.push_back(skipped);
    ByteWriter values;
    values.writeUint32(time);
    values.writeInt32(lives);
    std::vector<uint8_t> tail = values.take();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

std::vector<uint8_t> storedHeader(int32_t count, int32_t progress) {
    ByteWriter writer;
    writer.writeInt32(count);
    writer.writeInt32(progress);
    return writer.take();
}

void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& more) { to.insert(to.end(), more.begin(), more.end()); }

CampaignProgress campaignOf(std::initializer_list<const char*> names) {
    CampaignProgress campaign;
    for (const char* name : names) {
        LevelRecord record;
        record.name = name;
        campaign.levels.push_back(record);
    }
    return campaign;
}

void parse(const std::vector<uint8_t>& bytes, CampaignProgress& campaign) {
    parseProgress(bytes.data(), bytes.size(), campaign);
}

// ---- single.stat ---------------------------------------------------------

TEST(ProgressFile, WrittenProgressReadsBackWithEveryField) {
    CampaignProgress campaign = campaignOf({"s-01.slv", "s-02.slv", "s-03.slv"});
    campaign.progress = 2;
    campaign.levels[0].recordTime = 61234;
    campaign.levels[0].spareLives = 4;
    campaign.levels[1].skipped = true;
    std::vector<uint8_t> bytes = progressBytes(campaign);
    ASSERT_EQ(bytes.size(), PROGRESS_HEADER_SIZE + 3 * PROGRESS_RECORD_SIZE);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(bytes[8 + 8], 0) << "the bytes after the name's NUL are zeros";

    CampaignProgress again = campaignOf({"s-01.slv", "s-02.slv", "s-03.slv"});
    parse(bytes, again);
    EXPECT_EQ(again.progress, 2);
    EXPECT_EQ(again.skipsUsed, 1);
    EXPECT_EQ(again.levels[0].recordTime, 61234u);
    EXPECT_EQ(again.levels[0].spareLives, 4);
    EXPECT_TRUE(again.levels[1].skipped);
    EXPECT_EQ(again.levels[2].recordTime, NO_CAMPAIGN_RECORD);
}

TEST(ProgressFile, DamagedFilesReadAsFarAsTheyAreWhole) {
    CampaignProgress campaign = campaignOf({"s-01.slv", "s-02.slv"});
    campaign.levels[0].recordTime = 5;  // stale values must not survive a read

    parse({}, campaign);
    EXPECT_EQ(campaign.progress, 0);
    EXPECT_EQ(campaign.levels[0].recordTime, NO_CAMPAIGN_RECORD);

    // A count far beyond the bytes, a cut second record: the first is kept.
    std::vector<uint8_t> bytes = storedHeader(1000000, 1);
    append(bytes, storedRecord("s-01.slv", 0, 4000, 3));
    std::vector<uint8_t> cut = storedRecord("s-02.slv", 0, 5000, 2);
    bytes.insert(bytes.end(), cut.begin(), cut.begin() + 70);
    parse(bytes, campaign);
    EXPECT_EQ(campaign.levels[0].recordTime, 4000u);
    EXPECT_EQ(campaign.levels[1].recordTime, NO_CAMPAIGN_RECORD);

    // A negative count reads no record; progress is clamped both ways.
    bytes = storedHeader(-5, 99);
    append(bytes, storedRecord("s-01.slv", 0, 4000, 3));
    parse(bytes, campaign);
    EXPECT_EQ(campaign.levels[0].recordTime, NO_CAMPAIGN_RECORD);
    EXPECT_EQ(campaign.progress, 2);
    bytes = storedHeader(0, -7);
    parse(bytes, campaign);
    EXPECT_EQ(campaign.progress, 0);

    // A name filling all 64 bytes without a NUL matches nothing and reads
    // nothing beyond its field.
    bytes = storedHeader(2, 0);
    append(bytes, storedRecord(std::string(64, 'x'), 1, 1, 1));
    append(bytes, storedRecord("s-02.slv", 1, 777, 0));
    parse(bytes, campaign);
    EXPECT_EQ(campaign.levels[1].recordTime, 777u);
    EXPECT_EQ(campaign.skipsUsed, 1);
}

TEST(ProgressFile, ForeignFileKeepsEveryRecordMatchedByName) {
    // Written when the campaign had four levels; s-02 has since gone.
    std::vector<uint8_t> bytes = storedHeader(4, 3);
    append(bytes, storedRecord("s-01.slv", 0, 1000, 5));
    append(bytes, storedRecord("s-02.slv", 0, 2000, 4));
    append(bytes, storedRecord("s-03.slv", 0, 3000, 3));
    append(bytes, storedRecord("s-04.slv", 0, 4000, 2));
    CampaignProgress campaign = campaignOf({"s-01.slv", "s-03.slv", "s-04.slv"});
    parse(bytes, campaign);
    EXPECT_EQ(campaign.levels[0].spareLives, 5);
    EXPECT_EQ(campaign.levels[1].recordTime, 3000u);
    EXPECT_EQ(campaign.levels[2].recordTime, 4000u) << "the last record is read though the count shrank";
    EXPECT_EQ(campaign.progress, 3);

    // Another campaign's file: no name matches, progress as stored.
    CampaignProgress other = campaignOf({"s-a.slv", "s-b.slv", "s-c.slv", "s-d.slv"});
    parse(bytes, other);
    for (const LevelRecord& record : other.levels) EXPECT_EQ(record.recordTime, NO_CAMPAIGN_RECORD);
    EXPECT_EQ(other.progress, 3);
}

TEST(ProgressFile, SavedAtomicallyAndAFailedSaveLeavesTheOldFile) {
    TempDir temp("tavrelo-progress");
    ASSERT_TRUE(temp.ok());
    CampaignProgress campaign = campaignOf({"s-01.slv"});
    campaign.progress = 1;
    ASSERT_EQ(writeProgressFile(temp.file("single.stat"), campaign), 0);
    EXPECT_EQ(temp.names(), std::vector<std::string>{"single.stat"}) << "no temporary file left behind";
    EXPECT_EQ(writeProgressFile(temp.file("missing-folder/single.stat"), campaign), -1);

    CampaignProgress again = campaignOf({"s-01.slv"});
    readProgressFile(temp.file("single.stat"), again);
    EXPECT_EQ(again.progress, 1);
    readProgressFile(temp.file("nothing.stat"), again);
    EXPECT_EQ(again.progress, 0) << "a missing file is a fresh campaign";
}

// ---- description.txt ------------------------------------------------------

TEST(CampaignDescriptionFile, FieldsByLinePositionWithTheirBufferLimits) {
    const std::string text =
        "Name:\nGentle Start\n\nLevels:\n8 levels of it\n\nDate:\n2026-12-07\n\nAuthor:\nTavrelo crew\n\n"
        "Description:\nFirst steps # with a hash, which stays in the field\n";
    CampaignDescription fields = parseCampaignDescription(text);
    EXPECT_EQ(fields.name, "Gentle Start");
    EXPECT_EQ(fields.levels, "8 le") << "only the first four characters";
    EXPECT_EQ(fields.date, "2026-12-07");
    EXPECT_EQ(fields.author, "Tavrelo crew");
    EXPECT_EQ(fields.description, "First steps # with a hash, which stays in the field");

    // A line longer than its buffer is split; the rest counts as the next
    // line, shifting every later field.
    const std::string longName = "Name:\n" + std::string(40, 'N') + "\n\nLevels:\n7\n";
    fields = parseCampaignDescription(longName);
    EXPECT_EQ(fields.name, std::string(31, 'N'));
    EXPECT_EQ(fields.levels, "Leve") << "the split pushes the 'Levels:' label onto line 5";

    // A file that stops early leaves the later fields empty; CRLF endings
    // lose both characters.
    fields = parseCampaignDescription("Name:\r\nShort\r\n");
    EXPECT_EQ(fields.name, "Short");
    EXPECT_EQ(fields.author, "");
}

TEST(CampaignDescriptionFile, MissingFileGivesTheDefaultFields) {
    CampaignDescription fields = readCampaignDescription("/nonexistent/description.txt");
    EXPECT_EQ(fields.name, "No name");
    EXPECT_EQ(fields.levels, "Unknown number of levels");
    EXPECT_EQ(fields.date, " No date");
    EXPECT_EQ(fields.author, "Anonymous");
    EXPECT_EQ(fields.description, "No description available");
}

// ---- Listing --------------------------------------------------------------

class CampaignFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.ok()); }
    void folder(const std::string& name) { ASSERT_EQ(mkdir(temp.file(name).c_str(), 0755), 0); }
    TempDir temp{"tavrelo-campaigns"};
};

TEST_F(CampaignFolder, CampaignsAreFoldersWithCampAndNoDotSortedByName) {
    folder("zeta-camp");
    folder("alpha-campaign-with-a-name-far-longer-than-sixteen");
    folder("camp.old");
    folder("levels");
    temp.write("file-camp", "not a folder");
    temp.write("alpha-campaign-with-a-name-far-longer-than-sixteen/description.txt", "Name:\nAlpha\n");
    std::vector<CampaignEntry> campaigns = listCampaigns(temp.path());
    ASSERT_EQ(campaigns.size(), 2u);
    EXPECT_EQ(campaigns[0].directory, "alpha-campaign-with-a-name-far-longer-than-sixteen") << "full name";
    EXPECT_EQ(campaigns[0].description.name, "Alpha");
    EXPECT_EQ(campaigns[1].directory, "zeta-camp");
    EXPECT_EQ(campaigns[1].description.name, "No name");
    EXPECT_TRUE(listCampaigns(temp.file("nothing")).empty());
}

TEST_F(CampaignFolder, LevelsAreSlvFilesStartingWithSInByteOrder) {
    folder("a-camp");
    for (const char* name : {"s-2.slv", "s-10.slv", "s-1.slv", "x-3.slv", "s-4.txt", "s-.slv", "s-1.slv.gho"})
        temp.write(std::string("a-camp/") + name, "x");
    EXPECT_EQ(listCampaignLevels(temp.file("a-camp")),
              (std::vector<std::string>{"s-.slv", "s-1.slv", "s-10.slv", "s-2.slv"}));
}

TEST_F(CampaignFolder, LongFolderNamesKeepTheirOwnProgress) {
    // Two campaigns sharing their first sixteen characters.
    const std::string first = "shared-prefix-camp-one", second = "shared-prefix-camp-two";
    folder(first);
    folder(second);
    temp.write(first + "/s-a.slv", "x");
    temp.write(second + "/s-a.slv", "x");
    CampaignProgress one = loadCampaignProgress(temp.path(), first);
    one.progress = 1;
    ASSERT_EQ(writeProgressFile(progressPath(temp.path(), first), one), 0);
    EXPECT_EQ(loadCampaignProgress(temp.path(), second).progress, 0);
    EXPECT_EQ(loadCampaignProgress(temp.path(), first).progress, 1);
}

TEST_F(CampaignFolder, ALevelAddedBeforeTheFirstOpenOneTakesNothingBack) {
    folder("grow-camp");
    for (const char* name : {"s-1.slv", "s-2.slv", "s-3.slv"}) temp.write(std::string("grow-camp/") + name, "x");
    CampaignProgress played = loadCampaignProgress(temp.path(), "grow-camp");
    finishLevel(played, 0, 3, 1000);
    finishLevel(played, 1, 3, 1000);
    ASSERT_EQ(played.progress, 2);
    ASSERT_EQ(writeProgressFile(progressPath(temp.path(), "grow-camp"), played), 0);
    temp.write("grow-camp/s-15.slv", "x");  // a new second level
    const CampaignProgress grown = loadCampaignProgress(temp.path(), "grow-camp");
    EXPECT_EQ(grown.progress, 3) << "s-3 is still the first open level";
    EXPECT_EQ(grown.levels[1].recordTime, NO_CAMPAIGN_RECORD);
}

// single.stat holds 63 bytes of a name: a level named longer could never
// find its record or skip mark again (the skip would come back at every
// reading), so it is left out of the campaign and the list says so.
TEST_F(CampaignFolder, LevelsWhoseNamesSingleStatCannotHoldAreLeftOut) {
    folder("long-camp");
    const std::string longest = "s-" + std::string(57, 'a') + ".slv";  // 63 bytes
    const std::string tooLong = "s-" + std::string(58, 'b') + ".slv";  // 64 bytes
    for (int i = 1; i <= 5; ++i) temp.write("long-camp/s-" + std::to_string(i) + ".slv", "x");
    temp.write("long-camp/" + longest, "x");
    temp.write("long-camp/" + tooLong, "x");

    CampaignProgress campaign = loadCampaignProgress(temp.path(), "long-camp");
    ASSERT_EQ(campaign.levels.size(), 6u);
    EXPECT_EQ(campaign.levels[5].name, longest);
    EXPECT_EQ(campaign.leftOut, std::vector<std::string>{tooLong});
    EXPECT_EQ(leftOutLine(campaign), "Left out: 1 level with a file name of 64 bytes or more");
    campaign.leftOut.clear();
    EXPECT_EQ(leftOutLine(campaign), "");

    // The 63-byte name keeps its finish and skip across readings.
    campaign.progress = 5;
    ASSERT_TRUE(skipLevel(campaign, 5));
    ASSERT_EQ(writeProgressFile(progressPath(temp.path(), "long-camp"), campaign), 0);
    CampaignProgress again = loadCampaignProgress(temp.path(), "long-camp");
    EXPECT_TRUE(again.levels[5].skipped);
    EXPECT_EQ(again.skipsUsed, 1);
}

// ---- Skips, finishes, rank ---------------------------------------------------

CampaignProgress campaignWith(int levels) {
    CampaignProgress campaign;
    for (int i = 0; i < levels; ++i) {
        LevelRecord record;
        record.name = "s-" + std::to_string(i) + ".slv";
        campaign.levels.push_back(record);
    }
    return campaign;
}

TEST(CampaignRules, OneSkipPerSixLevelsOnlyOnTheFirstOpenLevel) {
    CampaignProgress five = campaignWith(5);
    EXPECT_FALSE(skipLevel(five, 0)) << "5 / 6 = 0 skips";

    CampaignProgress twelve = campaignWith(12);
    twelve.progress = 3;
    EXPECT_FALSE(skipLevel(twelve, 2)) << "not the first open level";
    EXPECT_TRUE(skipLevel(twelve, 3));
    EXPECT_TRUE(twelve.levels[3].skipped);
    EXPECT_EQ(twelve.progress, 4);
    EXPECT_TRUE(skipLevel(twelve, 4));
    EXPECT_FALSE(skipLevel(twelve, 5)) << "both skips used";
    EXPECT_EQ(twelve.skipsUsed, 2);

    // Finishing a skipped level gives its skip back and leaves progress.
    EXPECT_TRUE(finishLevel(twelve, 3, 6, 9000));
    EXPECT_FALSE(twelve.levels[3].skipped);
    EXPECT_EQ(twelve.progress, 5);
    EXPECT_TRUE(canSkip(twelve, 5));
}

TEST(CampaignRules, MoreSpareLivesBeatAFasterTime) {
    CampaignProgress campaign = campaignWith(3);
    EXPECT_TRUE(finishLevel(campaign, 0, 4, 70000));
    EXPECT_EQ(campaign.progress, 1);
    EXPECT_EQ(campaign.levels[0].spareLives, 3);

    EXPECT_FALSE(finishLevel(campaign, 0, 3, 10000)) << "fewer lives, however fast";
    EXPECT_FALSE(finishLevel(campaign, 0, 4, 70001)) << "same lives, slower";
    EXPECT_TRUE(finishLevel(campaign, 0, 4, 70000)) << "same lives, not slower";
    EXPECT_TRUE(finishLevel(campaign, 0, 6, 99000)) << "more lives, slower";
    EXPECT_EQ(campaign.levels[0].recordTime, 99000u);
    EXPECT_EQ(campaign.levels[0].spareLives, 5);
    EXPECT_EQ(campaign.progress, 1) << "an earlier level changes only its record";

    EXPECT_TRUE(finishLevel(campaign, 1, 1, 5000)) << "no record yet: any finish sets one";
    EXPECT_EQ(campaign.progress, 2);
    EXPECT_FALSE(finishLevel(campaign, 7, 6, 1)) << "a level the list does not have";
}

// The finish moment compares with the best finish before it; the list's
// cursor then stands on the next open level; no record shows as none.
TEST(CampaignRules, FinishMomentAndRowsTellTheRecordAsItIs) {
    CampaignProgress campaign = campaignWith(3);
    const auto row = [&campaign] { return levelRowTexts(campaign.levels[0]).lives + "|" + levelRowTexts(campaign.levels[0]).time; };
    EXPECT_EQ(row(), "-|no record");
    LevelFinish first = finishAndCompare(campaign, 0, 4, 75010);
    EXPECT_EQ(levelFinishLines(first), (std::vector<std::string>{"Level complete", "Time: 1:15:01", "Spare lives: 3",
                                                                 "Your first finish of this level.",
                                                                 "Press a key for the level list."}));
    EXPECT_EQ(first.nextLevel, 1);
    EXPECT_EQ(row(), "3| 1: 15: 01");
    EXPECT_EQ(levelFinishLines(finishAndCompare(campaign, 0, 4, 75010))[3], "Your best stays 1:15:01, 3 spare lives.");
    EXPECT_EQ(levelFinishLines(finishAndCompare(campaign, 0, 4, 75000))[3], "New best! Before: 1:15:01, 3 spare lives.");
    EXPECT_EQ(levelFinishLines(finishAndCompare(campaign, 0, 5, 99000))[3], "New best! Before: 1:15:00, 3 spare lives.");
    EXPECT_EQ(finishAndCompare(campaign, 1, 1, 5000).nextLevel, 2);
    EXPECT_EQ(finishAndCompare(campaign, 2, 1, 5000).nextLevel, 2) << "the last level stays chosen";
}

TEST(CampaignRules, RankFromProgressAndLivesLost) {
    EXPECT_STREQ(rankName(0, 0), "Newbie");
    EXPECT_STREQ(rankName(2, 0), "Veteran");
    EXPECT_STREQ(rankName(4, 0), "Progamer");
    EXPECT_STREQ(rankName(5, 0), "Godlike");
    EXPECT_STREQ(rankName(17, 10), "Veteran") << "exactly 1.7 lies below the single-precision 1.7";
    EXPECT_STREQ(rankName(18, 10), "Progamer");
    EXPECT_STREQ(rankName(3, 10), "Poor") << "exactly 0.3 lies below the single-precision 0.3";
    EXPECT_STREQ(rankName(7, 2), "Godlike");
    EXPECT_STREQ(rankName(3, 4), "Highly Skilled");
    EXPECT_STREQ(rankName(1, 2), "Skilled");
    EXPECT_STREQ(rankName(1, 5), "Newbie");

    CampaignProgress campaign = campaignWith(6);
    campaign.progress = 3;
    campaign.levels[0].spareLives = 5;
    campaign.levels[1].skipped = true;  // keeps no lives: five lost
    campaign.levels[2].spareLives = 2;
    campaign.levels[3].spareLives = 5;  // beyond progress: not counted
    EXPECT_EQ(livesLost(campaign), 8);
    campaign.progress = 0;
    EXPECT_EQ(livesLost(campaign), 0);

    // Spare lives from a damaged file: sums and comparisons do not overflow.
    campaign.progress = 2;
    campaign.levels[0].spareLives = INT32_MAX;
    campaign.levels[1].spareLives = INT32_MAX;
    EXPECT_EQ(livesLost(campaign), 0);
    campaign.levels[0].spareLives = INT32_MIN;
    campaign.levels[1].spareLives = 0;
    EXPECT_EQ(livesLost(campaign), INT32_MAX);
    campaign.levels[1].spareLives = INT32_MAX;
    EXPECT_FALSE(finishLevel(campaign, 1, 6, 1000)) << "no finish beats a stored INT32_MAX spare lives";
    EXPECT_TRUE(finishLevel(campaign, 0, 1, 1000));
}

TEST(CampaignRules, LongTextIsCutOnlyForDrawing) {
    EXPECT_EQ(shownName("s-01.slv", 26), "s-01.slv");
    EXPECT_EQ(shownName(std::string(40, 'a'), 10), "aaaaaaa...");
    EXPECT_EQ(wrapDescription("one two three four", 9), (std::vector<std::string>{"one two", "three", "four"}));
    EXPECT_EQ(wrapDescription(std::string(12, 'x') + " y", 5),
              (std::vector<std::string>{"xxxxx", "xxxxx", "xx y"}));
    EXPECT_TRUE(wrapDescription("", 57).empty());
    EXPECT_TRUE(wrapDescription("   ", 57).empty());
}

}  // namespace
