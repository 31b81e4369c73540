// Screenshots: the PNG holds the back buffer exactly, names and folders, and the key's rules.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <cstdlib>
#include <filesystem>

#include "app/screenshot_key.h"
#include "app/window_procedure.h"
#include "graphics_fixture.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "platform/screenshot.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
namespace fs = std::filesystem;

// The files in a folder (none when it does not exist).
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code none;
  for (const auto& entry : fs::directory_iterator(folder, none)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A frame with something in every corner, so that a flip or a shift shows.
void DrawPattern() {
  ASSERT_TRUE(World.BeginFrame(0xFF102030u));
  RenderDevice* device = World.Device;
  device->SetRenderState(D3DRS_FOGENABLE, 0);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetTexture(0, nullptr);
  device->SetVertexShader(SceneVertexFormat);
  device->SetTransform(D3DTS_WORLD, MatrixIdentity());
  device->SetTransform(D3DTS_VIEW, MatrixIdentity());
  device->SetTransform(D3DTS_PROJECTION, MatrixIdentity());
  // Shaded from corner to corner, so the PNG must hold every level, not just a few colours.
  FanVertex corner[4] = {{-1, 1, 0.5f, 0xFFE04010u, 0, 0}, {-0.2f, 1, 0.5f, 0xFF20C060u, 0, 0},
                         {-0.2f, 0.3f, 0.5f, 0xFFA0A0F0u, 0, 0}, {-1, 0.3f, 0.5f, 0xFFE04010u, 0, 0}};
  ASSERT_TRUE(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, corner, sizeof(FanVertex)));
  World.Device->EndScene();
}

class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    ASSERT_NE(World.Device, nullptr);
    World.ApplyRenderStates();
    Folder = Temp.Path + "/shots";
  }
  void TearDown() override {
    World.SetupCamera(45);
    Options = PortOptions{};
    Settings.KeyPreset = 0;
    for (std::uint32_t& key : Settings.KeyBindings) key = 0;
    TriggerHeld = 0;
    unsetenv("XDG_PICTURES_DIR");
  }
  TempFolder Temp;
  std::string Folder;
};

TEST_F(ScreenshotTest, ThePngHoldsTheBackBufferAtItsOwnSize) {
  DrawPattern();
  // Whatever shape the window gives the picture, the file has the back buffer's.
  SetPresentKeepsShape(true);
  std::string path, error;
  ASSERT_TRUE(SaveScreenshot(World.Device, Folder, path, error)) << error;
  const Pixels back = ReadBack();
  const std::string png = ReadFile(path);
  int width = 0, height = 0, channels = 0;
  stbi_uc* decoded = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()), static_cast<int>(png.size()),
                                           &width, &height, &channels, 3);
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(width, back.Width);
  EXPECT_EQ(height, back.Height);
  EXPECT_EQ(channels, 3);
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const stbi_uc* p = decoded + (static_cast<std::size_t>(y) * width + x) * 3;
      const std::uint32_t c = back.At(x, y);
      differing += p[0] != Red(c) || p[1] != Green(c) || p[2] != Blue(c);
    }
  }
  stbi_image_free(decoded);
  EXPECT_EQ(differing, 0);
  // The pattern's corner is where it was drawn: the PNG is not upside down.
  EXPECT_GT(Red(back.At(1, 1)), 0xC0);
  EXPECT_LT(Red(back.At(1, 478)), 0x20);
}

TEST_F(ScreenshotTest, ShotsInOneSecondGetASuffixAndNeverReplaceAFile) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 9;
  t.tm_hour = 7;
  t.tm_min = 5;
  t.tm_sec = 3;
  EXPECT_EQ(ScreenshotFileName(t, 1), "korvid-20261209-070503.png");
  EXPECT_EQ(ScreenshotFileName(t, 2), "korvid-20261209-070503-2.png");
  DrawPattern();
  std::string first, second, third, error;
  ASSERT_TRUE(SaveScreenshot(World.Device, Folder, first, error)) << error;
  ASSERT_TRUE(SaveScreenshot(World.Device, Folder, second, error)) << error;
  ASSERT_TRUE(SaveScreenshot(World.Device, Folder, third, error)) << error;
  EXPECT_EQ(FilesIn(Folder).size(), 3u);
  EXPECT_NE(first, second);
  EXPECT_NE(second, third);
}

TEST_F(ScreenshotTest, AFolderThatCannotBeMadeIsToldAndNothingIsWritten) {
  WriteFile(Temp.Path + "/plain", "a file, not a folder");
  std::string path, error;
  EXPECT_FALSE(SaveScreenshot(World.Device, Temp.Path + "/plain/Korvid", path, error));
  EXPECT_NE(error.find("plain"), std::string::npos) << error;
}

struct FolderCase {
  const char* Name;
  const char* Pictures;    // $XDG_PICTURES_DIR
  const char* UserDirs;    // the contents of user-dirs.dirs, or null for none
  std::string Expected;    // with H for the home folder and D for the data folder
};

TEST_F(ScreenshotTest, TheFolderFollowsThePicturesFolderOrElseTheDataFolder) {
  const std::string home = Temp.Path + "/home";
  const FolderCase cases[] = {
      {"variable", "/srv/pictures/", nullptr, "/srv/pictures/Korvid"},
      {"user dirs", nullptr, "# comment\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "H/Bilder/Korvid"},
      {"variable first", "/p", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/p/Korvid"},
      {"home means none", nullptr, "XDG_PICTURES_DIR=\"$HOME/\"\n", "D"},
      {"relative is ignored", "pictures", nullptr, "D"},
      {"nothing", nullptr, nullptr, "D"},
  };
  for (const FolderCase& c : cases) {
    fs::remove_all(home);
    fs::create_directories(home + "/.config");
    if (c.UserDirs) WriteFile(home + "/.config/user-dirs.dirs", c.UserDirs);
    std::string expected = c.Expected;
    if (expected == "D") expected = "/data";
    if (expected[0] == 'H') expected = home + expected.substr(1);
    EXPECT_EQ(ScreenshotFolder(c.Pictures, nullptr, home.c_str(), "/data"), expected) << c.Name;
  }
}

struct KeyCase {
  const char* Name;
  std::uint32_t Key;
  bool Repeat;
  std::uint32_t Option;
  bool BindToAttack;
  bool Saved;
};

class ScreenshotKeyRules : public ScreenshotTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(ScreenshotKeyRules, SaveOnlyForAFreeKeyWithTheOptionOn) {
  const KeyCase& c = GetParam();
  setenv("XDG_PICTURES_DIR", Folder.c_str(), 1);
  DrawPattern();
  Options.Screenshots = c.Option;
  Settings.KeyBindings[KeyAttack] = c.BindToAttack ? c.Key : 17;
  World.GameState = StatePlay;
  World.Player.Active = 1;
  TriggerHeld = 0;
  const LPARAM flags = c.Repeat ? (LPARAM{1} << 30) | 1 : 1;
  MainWndProc(nullptr, WM_KEYDOWN, c.Key, flags);
  EXPECT_EQ(FilesIn(Folder + "/Korvid").size(), c.Saved ? 1u : 0u);
  // A bound key keeps its action.
  EXPECT_EQ(TriggerHeld, c.BindToAttack ? 1 : 0);
  MainWndProc(nullptr, WM_KEYUP, c.Key, flags | (LPARAM{3} << 30));
  World.GameState = StateTitle;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScreenshotKeyRules,
    testing::Values(KeyCase{"F12", ScreenshotKey, false, 1, false, true},
                    KeyCase{"PrintScreen", PrintScreenKey, false, 1, false, true},
                    KeyCase{"HeldF12Repeats", ScreenshotKey, true, 1, false, false},
                    KeyCase{"OptionOff", ScreenshotKey, false, 0, false, false},
                    KeyCase{"F12BoundToAttack", ScreenshotKey, false, 1, true, false},
                    KeyCase{"OtherKey", 122, false, 1, false, false}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.Name); });
}  // namespace
