// The settings window fixture: scratch folder, main window, captured boxes and sounds.
#include "settings_window_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/app_globals.h"
#include "app/random.h"
#include "dialogs/settings_window.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "world/game_world.h"

const StoredFields DefaultStoredFields = {
    1,  0,  1,  255, 50, 10, 200, 2,  1,  0,  3,  1,  0,  1,  1, 1,  50, 80, 100, 1,  1,  0,  50, 87,
    83, 65, 68, 81,  69, 32, 17,  70, 82, 1,  0,  0,  0,  1,  1, 1,  1,  1,  1,   1,  1,  0,  0,  800};

namespace {
struct FrameScript {
  std::function<void(HWND, int)> Step;
  int Frames = 0;
  bool Overran = false;
};

void OnFrame(HWND top, void* user) {
  auto* script = static_cast<FrameScript*>(user);
  ++script->Frames;
  if (script->Frames > 600) {
    script->Overran = true;
    EndDialog(top, 0);
    return;
  }
  if (script->Step) script->Step(top, script->Frames);
}

// The fields in file order; the fixture compares whole records through these.
std::array<std::uint32_t*, 48> Fields(SettingsRecord& r) {
  return {&r.Difficulty,     &r.InitialWeapon,  &r.CursorStyle,       &r.CursorRed,
          &r.CursorGreen,    &r.CursorBlue,     &r.CursorAlpha,       &r.ResolutionIndex,
          &r.Sharpness,      &r.ColourDepth,    &r.MipmapLevel,       &r.UseMipmaps,
          &r.WindowMode,     &r.MusicOn,        &r.EffectsOn,         &r.VoiceOn,
          &r.MusicVolume,    &r.EffectsVolume,  &r.VoiceVolume,       &r.KeyPreset,
          &r.WheelWeaponChange, &r.InvertMouseY, &r.MouseSensitivity, &r.KeyBindings[0],
          &r.KeyBindings[1], &r.KeyBindings[2], &r.KeyBindings[3],    &r.KeyBindings[4],
          &r.KeyBindings[5], &r.KeyBindings[6], &r.KeyBindings[7],    &r.KeyBindings[8],
          &r.KeyBindings[9], &r.ShowFps,        &r.DebugMode,         &r.Invincible,
          &r.ShowSelf,       &r.ShowGun,        &r.ShowBullets,       &r.ShowAimCursor,
          &r.ShowTrees,      &r.ShowEnemies,    &r.ShowStatus,        &r.UseFog,
          &r.Recoil,         &r.ShowPosition,   &r.ShowEnemyInfo,     &r.SoundDistance};
}
}  // namespace

void SettingsWindowTest::SetUp() {
  Previous = std::filesystem::current_path();
  char pattern[] = "/tmp/korvid_settings_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  Scratch = pattern;
  std::filesystem::current_path(Scratch);
  // The cursor pictures of the preview come from the game folder.
  if (const char* game = std::getenv("KORVID_GAME_DIR"))
    std::filesystem::create_directory_symlink(std::filesystem::path(game) / "File", "File");

  ResetWindowSystem();
  // The window behind the dialogs only needs to exist: what it draws is not under test.
  ASSERT_TRUE(RegisterWindowClass("Main Window", DefWindowProc));
  MainWindow = CreateMainWindow("Main Window", "Korvid");
  ASSERT_NE(MainWindow, nullptr);
  AppActive = 1;

  BeginMessageBoxCapture();
  SeedRandom(4321);
  Settings = SettingsRecord{};
  ASSERT_EQ(Settings.LoadSettings(), 0);
  Settings.DisplayWidth = Settings.ScreenWidth;
  Settings.DisplayHeight = Settings.ScreenHeight;
  World.GameState = StateSettings;
  World.TransitionActive = 0;
  Sound.PlayLog = &Log;
}

void SettingsWindowTest::TearDown() {
  SetDialogFrameHook(nullptr, nullptr);
  Sound.PlayLog = nullptr;
  EndMessageBoxCapture();
  MainWindow = nullptr;
  ResetWindowSystem();
  World.GameState = StateTitle;
  World.TransitionActive = 0;
  Settings = SettingsRecord{};
  std::filesystem::current_path(Previous);
  std::filesystem::permissions(Scratch, std::filesystem::perms::all);
  std::filesystem::remove_all(Scratch);
}

void SettingsWindowTest::RunWindow(std::function<void(HWND, int)> step) {
  FrameScript script{std::move(step)};
  SetDialogFrameHook(OnFrame, &script);
  RunSettingsWindow();
  SetDialogFrameHook(nullptr, nullptr);
  EXPECT_FALSE(script.Overran) << "the window was still open after " << script.Frames << " frames";
  Played.clear();
  for (const SoundEvent& e : Log)
    if (e.Action == SoundEvent::Play) Played.push_back(e);
}

std::string SettingsWindowTest::ReadFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

StoredFields SettingsWindowTest::DecodeSettingsFile() {
  const std::string file = ReadFile("Setting.dat");
  StoredFields fields{};
  if (file.size() < 442) {
    ADD_FAILURE() << "Setting.dat is " << file.size() << " bytes";
    return fields;
  }
  const std::uint32_t key = std::stoul(file.substr(0, 8)) ^ 79876519u;
  for (int i = 0; i < 48; ++i) fields[i] = std::stoul(file.substr(10 + 9 * i, 8)) ^ key;
  return fields;
}

StoredFields SettingsWindowTest::RecordFields() {
  StoredFields fields{};
  int i = 0;
  for (std::uint32_t* field : Fields(Settings)) fields[i++] = *field;
  return fields;
}

void SettingsWindowTest::WriteSettingsFile(const StoredFields& fields) {
  const std::uint32_t key = 10555555u;
  std::string text = std::to_string(key ^ 79876519u) + "\r\n";
  for (std::uint32_t value : fields) text += std::to_string(value ^ key) + ",";
  std::ofstream("Setting.dat", std::ios::binary | std::ios::trunc) << text << "\r\n";
}

void Click(HWND dialog, int id, int code) {
  SendMessage(dialog, WM_COMMAND, CommandParam(id, code), 0);
}

void PostClick(HWND dialog, int id) {
  PostMessage(dialog, WM_COMMAND, CommandParam(id, BN_CLICKED), 0);
}

void PostKey(std::uint32_t key, bool down, bool wasDown) {
  LPARAM flags = 1;
  if (wasDown || !down) flags |= LPARAM{1} << 30;
  if (!down) flags |= LPARAM{1} << 31;
  PostMessage(MainWindow, down ? WM_KEYDOWN : WM_KEYUP, key, flags);
}

int SettingsWindowTest::PlayedOf(SoundGroupId group) const {
  int count = 0;
  for (const SoundEvent& e : Played) count += e.Group == group ? 1 : 0;
  return count;
}
