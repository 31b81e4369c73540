// Saving under failure: every low-level step of a save failing in turn, and a killed writer.
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "persist/settings_record.h"
#include "persist_fixture.h"
#include "platform/file_replace.h"
#include "world/game_world.h"

namespace {

// One of the two files, saved through the game's own code.
struct SavedFile {
  const char* Name;
  bool (*Save)(int variant);
  bool (*LoadsAs)(int variant);  // loads cleanly and holds that variant
};

SettingsRecord SettingsUnderTest;
GameWorld* RankingUnderTest = nullptr;

bool SaveSettingsVariant(int variant) {
  SettingsUnderTest.Difficulty = static_cast<std::uint32_t>(variant % 3);
  SettingsUnderTest.MusicVolume = static_cast<std::uint32_t>(10 + variant % 91);
  return SettingsUnderTest.SaveSettings();
}
bool SettingsLoadAs(int variant) {
  SettingsRecord record;
  const std::size_t boxes = CapturedMessageBoxes().size();
  return record.LoadSettings() == 0 && CapturedMessageBoxes().size() == boxes &&
         record.Difficulty == static_cast<std::uint32_t>(variant % 3) &&
         record.MusicVolume == static_cast<std::uint32_t>(10 + variant % 91);
}
bool SaveRankingVariant(int variant) {
  RankingUnderTest->RankingScores[1][0] = 100 + variant;
  return RankingUnderTest->SaveRanking();
}
bool RankingLoadsAs(int variant) {
  static GameWorld reader;
  reader.RankingSaveFailed = 0;
  const std::size_t boxes = CapturedMessageBoxes().size();
  reader.LoadRanking();
  return CapturedMessageBoxes().size() == boxes && reader.RankingScores[1][0] == 100 + variant;
}

const SavedFile Files[] = {{"Setting.dat", SaveSettingsVariant, SettingsLoadAs},
                           {"Ranking.dat", SaveRankingVariant, RankingLoadsAs}};

}  // namespace

class SaveFaults : public PersistTest {
 protected:
  void SetUp() override {
    PersistTest::SetUp();
    static GameWorld world;
    RankingUnderTest = &world;
    RankingUnderTest->ResetRanking();
    SettingsUnderTest = SettingsRecord{};
    ASSERT_EQ(SettingsUnderTest.LoadSettings(), 0);
  }
  void TearDown() override {
    InjectFileFault(-1, 0, false);
    PersistTest::TearDown();
  }
};

TEST_F(SaveFaults, EveryFailingStepLeavesTheOldOrTheNewFileWhole) {
  for (const SavedFile& file : Files) {
    SCOPED_TRACE(file.Name);
    ASSERT_TRUE(file.Save(1));
    const std::string old = ReadFile(file.Name);
    InjectFileFault(-1, 0, false);
    ASSERT_TRUE(file.Save(2));
    const int steps = FileStepsTaken();
    ASSERT_GE(steps, 5);
    for (int step = 0; step < steps; ++step) {
      for (const bool shortWrite : {false, true}) {
        for (const int error : {EIO, ENOSPC}) {
          SCOPED_TRACE(testing::Message() << "step " << step << " short " << shortWrite << " errno " << error);
          WriteFile(file.Name, old);
          InjectFileFault(step, error, shortWrite);
          EXPECT_FALSE(file.Save(2));
          InjectFileFault(-1, 0, false);
          EXPECT_FALSE(std::filesystem::exists(std::string(file.Name) + ".tmp"));
          EXPECT_TRUE(ReadFile(file.Name) == old || file.LoadsAs(2));
        }
      }
    }
  }
}

TEST_F(SaveFaults, AFailedSaveIsToldOnce) {
  InjectFileFault(0, ENOSPC, false);
  EXPECT_FALSE(SaveSettingsVariant(2));
  InjectFileFault(-1, 0, false);
  SettingsUnderTest.LoadSettings();
  SettingsUnderTest.LoadSettings();
  int told = 0;
  for (const ShownMessageBox& box : CapturedMessageBoxes()) told += box.Type == MB_OK;
  EXPECT_EQ(told, 1);
  // The record keeps what the player chose though the file could not take it.
  EXPECT_EQ(SettingsUnderTest.Difficulty, 2u);
}

TEST_F(SaveFaults, AWriterKilledMidSaveLeavesFilesThatLoadWithoutRepair) {
  for (int round = 0; round < 12; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int variant = 0;; ++variant) {
        SaveSettingsVariant(variant);
        SaveRankingVariant(variant);
      }
    }
    usleep(static_cast<useconds_t>(2000 + 1700 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    SettingsRecord record;
    EXPECT_EQ(record.LoadSettings(), 0);
    static GameWorld reader;
    reader.LoadRanking();
    EXPECT_TRUE(CapturedMessageBoxes().empty()) << CapturedMessageBoxes()[0].Text;
  }
}

TEST_F(SaveFaults, FilesPaddedToGigabytesStillLoadFromTheirRecord) {
  ASSERT_TRUE(SaveSettingsVariant(4));
  ASSERT_TRUE(SaveRankingVariant(4));
  ASSERT_EQ(truncate("Setting.dat", 2LL << 30), 0);
  ASSERT_EQ(truncate("Ranking.dat", 2LL << 30), 0);
  EXPECT_TRUE(SettingsLoadAs(4));
  EXPECT_TRUE(RankingLoadsAs(4));
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}
