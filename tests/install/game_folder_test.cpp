// Choosing the game folder, entering it, and finding each file in the player's File/ or the installed pack.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/game_folder.h"
#include "platform/render/texture.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, const std::string& bytes = "x") {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A 2 x 2 24-bit picture of one colour.
std::string SolidBmp(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::string bytes(54, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54 + 16);
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  bytes[26] = 1;
  bytes[28] = 24;
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 2; ++x) bytes += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
    bytes += std::string(2, '\0');  // rows padded to four bytes
  }
  return bytes;
}

class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/korvid-folder-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    saved = GameFolder;
    savedCwd = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(savedCwd);
    GameFolder = saved;
    fs::remove_all(root);
  }
  std::string root;
  GameFolderPlace saved;
  fs::path savedCwd;
};

TEST_F(GameFolderTest, ChoosesClassicOrPerUserFolderAndFindsThePackBesideTheProgram) {
  fs::create_directories(root + "/classic/File");
  fs::create_directories(root + "/lower/file");
  Touch(root + "/notdir/File");
  fs::create_directories(root + "/empty");
  Touch(root + "/prefix/bin/korvid");
  fs::create_directories(root + "/prefix/share/korvid/File");
  Touch(root + "/built/korvid");
  fs::create_directories(root + "/built/File");
  Touch(root + "/bare/korvid");
  const std::string installed = root + "/prefix/bin/korvid";
  const std::string installedPack = root + "/prefix/share/korvid/File";

  struct Case {
    const char* Name;
    std::string Cwd;
    const char* Xdg;
    const char* Home;
    std::string Exe;
    bool Ok, Classic;
    std::string Folder, Pack;
  };
  const Case cases[] = {
      {"File here", root + "/classic", "/data", "/home/p", installed, true, true, root + "/classic", ""},
      {"file in other case", root + "/lower", "/data", "/home/p", installed, true, true, root + "/lower", ""},
      {"File is no folder", root + "/notdir", "/data", "/home/p", installed, true, false, "/data/korvid",
       installedPack},
      {"XDG_DATA_HOME unset", root + "/empty", nullptr, "/home/p", installed, true, false,
       "/home/p/.local/share/korvid", installedPack},
      {"XDG_DATA_HOME relative", root + "/empty", "rel/data", "/home/p", installed, true, false,
       "/home/p/.local/share/korvid", installedPack},
      {"XDG_DATA_HOME empty", root + "/empty", "", "/home/p", installed, true, false, "/home/p/.local/share/korvid",
       installedPack},
      {"trailing slash", root + "/empty", "/data//", "/home/p", installed, true, false, "/data/korvid",
       installedPack},
      {"build folder", root + "/empty", "/data", "/home/p", root + "/built/korvid", true, false, "/data/korvid",
       root + "/built/File"},
      {"no pack anywhere", root + "/empty", "/data", "/home/p", root + "/bare/korvid", true, false, "/data/korvid",
       ""},
      {"executable unknown", root + "/empty", "/data", "/home/p", "", true, false, "/data/korvid", ""},
      {"no home at all", root + "/empty", nullptr, nullptr, installed, false, false, "", ""},
      {"relative home", root + "/empty", "rel", "home/p", installed, false, false, "", ""},
  };
  for (const Case& c : cases) {
    GameFolderPlace place;
    std::string error;
    const bool ok = ChooseGameFolder(c.Cwd, c.Xdg, c.Home, c.Exe, place, error);
    EXPECT_EQ(ok, c.Ok) << c.Name;
    if (!ok) {
      EXPECT_FALSE(error.empty()) << c.Name;
      continue;
    }
    EXPECT_EQ(place.Classic, c.Classic) << c.Name;
    EXPECT_EQ(place.Folder, c.Folder) << c.Name;
    EXPECT_EQ(place.DefaultPack, c.Pack) << c.Name;
  }
}

TEST_F(GameFolderTest, PlayersOwnFilesWinAndTheRestComeFromThePackIgnoringCase) {
  const std::string pack = root + "/share/korvid/File";
  for (const char* file : {"/Bitmap/Title.dds", "/Bitmap/Haikei.bmp", "/Sound/Page.wav", "/XFile/Tree.x"})
    Touch(pack + file);
  const std::string user = root + "/user";
  Touch(user + "/file/bitmap/TITLE.DDS");
  Touch(user + "/File/XFile/Tree.x");
  Touch(user + "/Other.x");
  fs::current_path(user);

  GameFolder = GameFolderPlace{false, user, pack};
  const struct {
    const char* Asked;
    std::string Opened;
  } cases[] = {
      {"File\\Bitmap\\Title.dds", "file/bitmap/TITLE.DDS"},
      {"File/XFile/Tree.x", "File/XFile/Tree.x"},
      {"File/Bitmap/Haikei.bmp", pack + "/Bitmap/Haikei.bmp"},
      {"FILE\\sound\\PAGE.WAV", pack + "/Sound/Page.wav"},
      {"File\\Bitmap\\Missing.bmp", "File/Bitmap/Missing.bmp"},
      {"Other.x", "Other.x"},
      {"Elsewhere/Tree.x", "Elsewhere/Tree.x"},  // only File/ has a pack behind it
      {"Setting.dat", "Setting.dat"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveGamePath(c.Asked), c.Opened) << c.Asked;

  // The classic folder has nothing behind it: a file it lacks stays missing.
  GameFolder.Classic = true;
  EXPECT_EQ(ResolveGamePath("File\\Bitmap\\Haikei.bmp"), "File/Bitmap/Haikei.bmp");
  EXPECT_EQ(ResolveGamePath("File\\Bitmap\\Title.dds"), "file/bitmap/TITLE.DDS");
}

TEST_F(GameFolderTest, AChangedPictureInThePlayersFolderIsTheOneLoaded) {
  const std::string pack = root + "/pack/File";
  Touch(pack + "/Bitmap/Sight.bmp", SolidBmp(0, 0, 255));
  const std::string user = root + "/user";
  Touch(user + "/File/Bitmap/sight.BMP", SolidBmp(255, 0, 0));
  fs::current_path(user);
  GameFolder = GameFolderPlace{false, user, pack};

  PreparedPicture picture;
  ASSERT_TRUE(PreparePicture("File\\Bitmap\\Sight.bmp", TextureLoadOptions{1, 0}, picture));
  EXPECT_EQ(picture.Levels.at(0).Pixels.at(0), 0xFFFF0000u);

  fs::remove(user + "/File/Bitmap/sight.BMP");
  ASSERT_TRUE(PreparePicture("File\\Bitmap\\Sight.bmp", TextureLoadOptions{1, 0}, picture));
  EXPECT_EQ(picture.Levels.at(0).Pixels.at(0), 0xFF0000FFu);
}

TEST_F(GameFolderTest, EnteringCreatesAPrivatePerUserFolderAndWorksThere) {
  fs::create_directories(root + "/empty");
  fs::current_path(root + "/empty");
  const char* before = std::getenv("XDG_DATA_HOME");
  const std::string restore = before ? before : "";
  setenv("XDG_DATA_HOME", (root + "/data/deeper").c_str(), 1);

  std::string error;
  ASSERT_TRUE(EnterGameFolder(error)) << error;
  EXPECT_FALSE(GameFolder.Classic);
  EXPECT_EQ(fs::current_path(), fs::path(root + "/data/deeper/korvid"));
  for (const char* made : {"/data", "/data/deeper", "/data/deeper/korvid"}) {
    struct stat info;
    ASSERT_EQ(stat((root + made).c_str(), &info), 0) << made;
    EXPECT_EQ(info.st_mode & 0777, 0700u) << made;
  }

  // A folder that cannot be made: nothing changes and the reason names it.
  Touch(root + "/plain");
  setenv("XDG_DATA_HOME", (root + "/plain").c_str(), 1);
  fs::current_path(root + "/empty");
  GameFolder = GameFolderPlace{};
  EXPECT_FALSE(EnterGameFolder(error));
  EXPECT_NE(error.find(root + "/plain/korvid"), std::string::npos) << error;
  EXPECT_EQ(fs::current_path(), fs::path(root + "/empty"));
  EXPECT_TRUE(GameFolder.Classic);

  if (before) {
    setenv("XDG_DATA_HOME", restore.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace

namespace {
// A picture's language version is read where the same File/ folder holds it beside the
// picture; a player's own File/ keeps its pictures over the pack's translated ones.
TEST_F(GameFolderTest, ALanguagesPictureIsPreferredOnlyBesideThePictureItStandsFor) {
  const std::string pack = root + "/pack/File";
  for (const char* file : {"/Bitmap/Title.dds", "/Bitmap/en/Title.dds", "/Bitmap/Menu1a.bmp",
                           "/Bitmap/en/Menu1a.bmp", "/Bitmap/Haikei.bmp", "/Bitmap/en/Only.bmp"})
    Touch(pack + file);
  const std::string user = root + "/user";
  Touch(user + "/File/Bitmap/Menu1a.bmp");      // the player's own, with no English beside it
  Touch(user + "/File/Bitmap/Record.bmp");
  Touch(user + "/File/Bitmap/EN/record.bmp");   // and one that has its own, any case
  fs::current_path(user);
  GameFolder = GameFolderPlace{false, user, pack};
  const struct {
    const char* Asked;
    const char* Language;
    std::string Read;
  } cases[] = {
      {"File\\Bitmap\\Title.dds", "en", "File/Bitmap/en/Title.dds"},  // the pack's, both
      {"File\\Bitmap\\Title.dds", "", "File\\Bitmap\\Title.dds"},     // Japanese: as asked
      {"File\\Bitmap\\Title.dds", "de", "File\\Bitmap\\Title.dds"},   // no German picture
      {"File\\Bitmap\\Menu1a.bmp", "en", "File\\Bitmap\\Menu1a.bmp"}, // the player's picture stays
      {"File\\Bitmap\\Record.bmp", "en", "File/Bitmap/en/Record.bmp"},
      {"File\\Bitmap\\Haikei.bmp", "en", "File\\Bitmap\\Haikei.bmp"}, // a picture without words
      {"File\\Bitmap\\Only.bmp", "en", "File/Bitmap/en/Only.bmp"},    // nothing else to read
      {"Setting.dat", "en", "Setting.dat"},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguagePicturePath(c.Asked, c.Language), c.Read) << c.Asked << " " << c.Language;
  EXPECT_EQ(ResolveGamePath(LanguagePicturePath("File\\Bitmap\\Title.dds", "en")), pack + "/Bitmap/en/Title.dds");
  EXPECT_EQ(ResolveGamePath(LanguagePicturePath("File\\Bitmap\\Record.bmp", "en")), "File/Bitmap/EN/record.bmp");
}
}  // namespace
