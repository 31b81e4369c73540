// The asset check on a good and a damaged pack, and the real default pack when it is built.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/asset_check.h"
#include "graphics_fixture.h"

TEST(AssetCheck, GoodPackPassesAndDamagedFilesAreNamed) {
  EnsureDevice();
  ASSERT_TRUE(OpenDeviceForChecks());  // uses the device that is already there
  TempFolder folder;
  WriteMiniPack(folder.Path);
  std::vector<std::string> problems;
  EXPECT_TRUE(CheckGraphicsAssets(folder.Path + "/File", problems));
  EXPECT_TRUE(problems.empty());

  const std::string title = folder.Path + "/File/Bitmap/Title.dds";
  WriteFile(title, ReadFile(title).substr(0, 200));
  std::remove((folder.Path + "/File/XFile/Texture/Tree.bmp").c_str());
  WriteFile(folder.Path + "/File/XFile/Ball.x", "xof 0302txt 0064\nMesh {");
  problems.clear();
  EXPECT_FALSE(CheckGraphicsAssets(folder.Path + "/File", problems));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("File\\Bitmap\\Title.dds"), std::string::npos);
  EXPECT_NE(problems[1].find("File\\XFile\\Ball.x"), std::string::npos);
  EXPECT_NE(problems[2].find("File\\XFile\\Texture\\Tree.bmp"), std::string::npos);
  EXPECT_NE(problems[2].find("untextured"), std::string::npos);

  // A missing model picture alone still lets the game start.
  WriteMiniPack(folder.Path);
  std::remove((folder.Path + "/File/XFile/Texture/Ball.bmp").c_str());
  problems.clear();
  EXPECT_TRUE(CheckGraphicsAssets(folder.Path + "/File", problems));
  EXPECT_EQ(problems.size(), 1u);
}

TEST(AssetCheck, DefaultPackLoadsCompletely) {
  const char* game = std::getenv("KORVID_GAME_DIR");
  struct stat info;
  if (!game || stat((std::string(game) + "/File/Bitmap/Title.dds").c_str(), &info) != 0)
    GTEST_SKIP() << "the default pack has not been generated into KORVID_GAME_DIR/File";
  EnsureDevice();
  std::vector<std::string> problems;
  EXPECT_TRUE(CheckGraphicsAssets(std::string(game) + "/File", problems));
  for (const std::string& p : problems) ADD_FAILURE() << p;
}
