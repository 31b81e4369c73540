// SoundEngine: loading the samples, the volume rule, placement, the listener and every play.
#include "audio/sound_engine.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/random.h"
#include "audio/audio_preparation.h"
#include "audio/wav_reader.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/game_folder.h"
#include "platform/message_box.h"
#include "platform/sound/sound_device.h"
#include "world/game_world.h"

SoundEngine Sound;

const char* const SoundFilePaths[SoundFileCount] = {
    "File/Sound/Machinegun.wav",      "File/Sound/MachinegunTeki.wav",
    "File/Sound/Machinegun_Reload.wav", "File/Sound/Rifle.wav",
    "File/Sound/Rifle_Reload.wav",    "File/Sound/Rifle_Shells.wav",
    "File/Sound/Handgun.wav",         "File/Sound/Bullet_Kabe.wav",
    "File/Sound/Bullet_Yuka.wav",     "File/Sound/Page.wav",
    "File/Sound/Heartbeat_4.wav",     "File/Sound/Heartbeat_6.wav",
    "File/Sound/Heartbeat_10.wav",    "File/Sound/Heartbeat_15.wav",
    "File/Sound/Call_Hajime_01.wav",  "File/Sound/Call_Hajime_02.wav",
    "File/Sound/Call_Hajime_03.wav",  "File/Sound/Call_Hajime_04.wav",
    "File/Sound/Call_Hajime_05.wav",  "File/Sound/Call_Damage_01.wav",
    "File/Sound/Call_Damage_02.wav",  "File/Sound/Call_Damage_03.wav",
    "File/Sound/Call_Damage_04.wav",  "File/Sound/Call_Kill_01.wav",
    "File/Sound/Call_Kill_02.wav",    "File/Sound/Call_Kill_03.wav",
    "File/Sound/Call_Kill_04.wav",
};

namespace {

constexpr const char* Caption = "DirectSound";
constexpr const char* LoadingFormat = "Now Loadind... %d％　サウンドのロード中";
constexpr float LoadingStep = 0.114504f;  // 15 points over 131 steps
constexpr float SoundDegreesToRadians = 0.017453292f;

enum VolumeClass { Effects, Voice };
struct GroupVolume {
  VolumeClass Class;
  int Offset;
};
constexpr GroupVolume GroupVolumes[SoundGroupCount] = {
    {Effects, 0},   {Voice, 200},   {Effects, 0}, {Effects, 400}, {Effects, 100},
    {Effects, 0},   {Effects, 300}, {Effects, 100}, {Voice, 100}, {Voice, 0},
    {Voice, 0},     {Effects, 300}, {Effects, 300},
};

// File table index of each positional group's copy 0.
constexpr int FilePage = 9, FileEnemyGun = 1, FileMachineGun = 0, FileRifle = 3,
              FileHandgun = 6, FileShells = 5, FileMachineGunReload = 2, FileRifleReload = 4,
              FileImpactWall = 7, FileImpactFloor = 8;

bool EffectsEnabled() { return Settings.EffectsOn != 0; }
bool VoiceEnabled() { return Settings.VoiceOn != 0; }

float SoundX(float x) { return x / Settings.SoundDistanceScale; }
float SoundY(float y) { return y / Settings.SoundDistanceQuarter; }

SoundBuffer* LoadSoundBuffer(const char* path) {
  std::vector<std::uint8_t> samples;
  WaveFormat format;
  if (!ReadWaveAhead(ResolveGamePath(path), samples, format)) return nullptr;
  return CreateSoundBuffer(format, samples.data(), static_cast<std::uint32_t>(samples.size()));
}

void Reset3D(SoundBuffer* buffer) {
  SetSoundPosition(buffer, 0, 0, 0, true);
  SetSoundVelocity(buffer, 0, 0, 0, true);
}

void AdvanceLoading() {
  World.LoadPercent += LoadingStep;
  Text.ShowLoadingLine(LoadingFormat, static_cast<int>(World.LoadPercent));
}

bool FailLoading() {
  AdvanceLoading();
  MessageBox(nullptr, "WAVファイルの読み込みに失敗しました。", Caption, MB_OK);
  return false;
}

}  // namespace

std::int32_t SoundVolume(std::uint32_t volumeSetting, int offset) {
  const double v = 3000.0 - (3000.0 - 3.0 * offset) * volumeSetting / 100.0;
  return -static_cast<std::int32_t>(std::trunc(v));
}

int SoundEngine::GroupCopies(SoundGroupId group) const {
  switch (group) {
    case SoundPage: return SoundPageCopies;
    case SoundHeartbeat: return SoundHeartbeatCopies;
    case SoundEnemyGun: return SoundEnemySlots;
    case SoundMachineGun: return SoundMachineGunCopies;
    case SoundRifle: return SoundRifleCopies;
    case SoundHandgun: return SoundHandgunCopies;
    case SoundShells: return SoundShellsCopies;
    case SoundReload: return SoundReloadCopies;
    case SoundCallStart: return SoundEnemySlots * SoundCallStartVariants;
    case SoundCallDamage: return SoundEnemySlots * SoundCallDamageVariants;
    case SoundCallKill: return SoundEnemySlots * SoundCallKillVariants;
    case SoundImpactWall:
    case SoundImpactFloor: return SoundImpactCopies;
    default: return 0;
  }
}

SoundBuffer* SoundEngine::GroupBuffer(SoundGroupId group, int index) const {
  if (index < 0 || index >= GroupCopies(group)) return nullptr;
  switch (group) {
    case SoundPage: return Page[index];
    case SoundHeartbeat: return Heartbeat[index];
    case SoundEnemyGun: return EnemyGun[index];
    case SoundMachineGun: return MachineGun[index];
    case SoundRifle: return Rifle[index];
    case SoundHandgun: return Handgun[index];
    case SoundShells: return Shells[index];
    case SoundReload: return Reload[index];
    case SoundCallStart:
      return CallStart[index / SoundCallStartVariants][index % SoundCallStartVariants];
    case SoundCallDamage:
      return CallDamage[index / SoundCallDamageVariants][index % SoundCallDamageVariants];
    case SoundCallKill:
      return CallKill[index / SoundCallKillVariants][index % SoundCallKillVariants];
    case SoundImpactWall: return ImpactWall[index];
    case SoundImpactFloor: return ImpactFloor[index];
    default: return nullptr;
  }
}

namespace {

int FlatIndex(SoundGroupId group, int copy, int variant) {
  switch (group) {
    case SoundCallStart: return copy * SoundCallStartVariants + variant;
    case SoundCallDamage: return copy * SoundCallDamageVariants + variant;
    case SoundCallKill: return copy * SoundCallKillVariants + variant;
    default: return copy;
  }
}

void Place(SoundGroupId group, int copy, int variant, float x, float y, float z,
           bool deferred) {
  const int i = FlatIndex(group, copy, variant);
  Sound.LastX[group][i] = x;
  Sound.LastY[group][i] = y;
  Sound.LastZ[group][i] = z;
  SetSoundPosition(Sound.GroupBuffer(group, i), x, y, z, deferred);
}

void Record(SoundEvent::Kind action, SoundGroupId group, int copy, int variant, bool looping) {
  if (!Sound.PlayLog) return;
  const int i = FlatIndex(group, copy, variant);
  SoundEvent e;
  e.Action = action;
  e.Group = group;
  e.Copy = copy;
  e.Variant = variant;
  e.X = Sound.LastX[group][i];
  e.Y = Sound.LastY[group][i];
  e.Z = Sound.LastZ[group][i];
  e.Looping = looping;
  Sound.PlayLog->push_back(e);
}

void Start(SoundGroupId group, int copy, int variant, bool looping) {
  PlaySound(Sound.GroupBuffer(group, FlatIndex(group, copy, variant)), looping);
  Record(SoundEvent::Play, group, copy, variant, looping);
}

void Halt(SoundGroupId group, int copy, int variant = 0) {
  StopSound(Sound.GroupBuffer(group, FlatIndex(group, copy, variant)));
  Record(SoundEvent::Stop, group, copy, variant, false);
}

}  // namespace

bool SoundEngine::InitSound() {
  // Released at process end, after the music (registered later, so run earlier) and
  // before the device layer's own statics go.
  static const bool releaseAtExit = std::atexit([] { Sound.ShutdownSound(); }) == 0;
  (void)releaseAtExit;
  switch (OpenSoundDevice()) {
    case SoundOpenOk:
      break;
    case SoundOpenNoDevice:
      MessageBox(nullptr, "DirectSound オブジェクトの作成に失敗しました。", Caption, MB_OK);
      return false;
    case SoundOpenNoContext:
      MessageBox(nullptr, "DirectSound の協調レベルの設定に失敗しました。", Caption, MB_OK);
      return false;
    case SoundOpenNoOutput:
      MessageBox(nullptr, "プライマリサウンドバッファの作成に失敗しました。", Caption, MB_OK);
      return false;
    case SoundOpenNoListener:
      MessageBox(nullptr, "リスナーの作成に失敗しました。", Caption, MB_OK);
      return false;
  }

  SetListenerPosition(0, 0, 0, true);
  SetListenerVelocity(0, 0, 0, true);
  SetListenerOrientation(0, 0, -1, 0, 1, 0, true);
  SetListenerDopplerFactor(1.0f, true);
  SetListenerDistanceFactor(1.0f, true);

  // Loads one file into `out` with its position reset; false when the file fails.
  auto load = [](int file, SoundBuffer*& out) {
    out = LoadSoundBuffer(SoundFilePaths[file]);
    if (!out) return false;
    Reset3D(out);
    return true;
  };
  auto duplicate = [](SoundBuffer* original, SoundBuffer*& out) {
    out = DuplicateSoundBuffer(original);
    Reset3D(out);
  };

  // 1: the first copy of every positional group, the reloads and the heartbeats.
  const struct {
    int File;
    SoundBuffer** Out;
  } first[] = {
      {FilePage, &Page[0]},          {FileEnemyGun, &EnemyGun[0]},
      {FileMachineGun, &MachineGun[0]}, {FileRifle, &Rifle[0]},
      {FileHandgun, &Handgun[0]},    {FileShells, &Shells[0]},
      {FileMachineGunReload, &Reload[0]}, {FileRifleReload, &Reload[1]},
      {FileRifleReload, &Reload[2]}, {FileImpactWall, &ImpactWall[0]},
      {FileImpactFloor, &ImpactFloor[0]}, {SoundFileHeartbeatFirst, &Heartbeat[0]},
      {SoundFileHeartbeatFirst + 1, &Heartbeat[1]}, {SoundFileHeartbeatFirst + 2, &Heartbeat[2]},
      {SoundFileHeartbeatFirst + 3, &Heartbeat[3]},
  };
  for (const auto& f : first) {
    if (!load(f.File, *f.Out)) return FailLoading();
    AdvanceLoading();
  }

  // 2: per enemy slot, its gun and its thirteen calls.
  for (int s = 0; s < SoundEnemySlots; ++s) {
    if (s == 0) {
      Reset3D(EnemyGun[0]);
    } else {
      duplicate(EnemyGun[0], EnemyGun[s]);
    }
    for (int v = 0; v < SoundCallStartVariants; ++v)
      if (!load(SoundFileCallStartFirst + v, CallStart[s][v])) return FailLoading();
    for (int v = 0; v < SoundCallDamageVariants; ++v)
      if (!load(SoundFileCallDamageFirst + v, CallDamage[s][v])) return FailLoading();
    for (int v = 0; v < SoundCallKillVariants; ++v)
      if (!load(SoundFileCallKillFirst + v, CallKill[s][v])) return FailLoading();
    AdvanceLoading();
  }

  // 3 to 6: the copies of the player's weapons, the shells and the page noise.
  auto copies = [&](SoundBuffer** group, int count) {
    for (int c = 0; c < count; ++c) {
      if (c == 0) {
        Reset3D(group[0]);
      } else {
        duplicate(group[0], group[c]);
      }
      AdvanceLoading();
    }
  };
  copies(Handgun, SoundHandgunCopies);
  copies(MachineGun, SoundMachineGunCopies);
  for (int c = 0; c < SoundRifleCopies; ++c) {
    if (c == 0) {
      Reset3D(Rifle[0]);
      Reset3D(Shells[0]);
    } else {
      duplicate(Rifle[0], Rifle[c]);
      duplicate(Shells[0], Shells[c]);
    }
    AdvanceLoading();
  }
  copies(Page, SoundPageCopies);

  // 7: the heartbeats' positions.
  for (SoundBuffer* b : Heartbeat) {
    Reset3D(b);
    AdvanceLoading();
  }
  // 8: the impact copies.
  for (int c = 1; c < SoundImpactCopies; ++c) {
    duplicate(ImpactWall[0], ImpactWall[c]);
    duplicate(ImpactFloor[0], ImpactFloor[c]);
    AdvanceLoading();
  }
  // 9 and 10: the reloads' and the impacts' positions.
  for (SoundBuffer* b : Reload) {
    Reset3D(b);
    AdvanceLoading();
  }
  for (int c = 0; c < SoundImpactCopies; ++c) {
    Reset3D(ImpactWall[c]);
    Reset3D(ImpactFloor[c]);
    AdvanceLoading();
  }

  CommitDeferredSettings();
  ApplyEffectVolumes();
  return true;
}

void SoundEngine::ApplyEffectVolumes() {
  for (int g = 0; g < SoundGroupCount; ++g) {
    const auto group = static_cast<SoundGroupId>(g);
    const GroupVolume& gv = GroupVolumes[g];
    const std::uint32_t setting =
        gv.Class == Effects ? Settings.EffectsVolume : Settings.VoiceVolume;
    const std::int32_t volume = SoundVolume(setting, gv.Offset);
    for (int i = 0; i < GroupCopies(group); ++i) SetSoundVolume(GroupBuffer(group, i), volume);
  }
  CommitDeferredSettings();
}

void SoundEngine::PlayMenuSound(bool stop, int kind) {
  if (stop) {
    Halt(SoundPage, 0);
  } else if (kind == 1) {
    Place(SoundHandgun, MenuShotCounter, 0, 0, 0, 0, false);
    if (EffectsEnabled()) Start(SoundHandgun, MenuShotCounter, 0, false);
    MenuShotCounter = (MenuShotCounter + 1) % SoundHandgunCopies;
  } else if (kind == 2) {
    Place(SoundPage, 0, 0, 0, 0, 0, false);
    if (EffectsEnabled()) Start(SoundPage, 0, 0, true);
  } else if (kind == 3) {
    PageClick = PageClick == 1 ? 0 : 1;
    Place(SoundPage, PageClick, 0, 0, 0, 0, false);
    if (EffectsEnabled()) Start(SoundPage, PageClick, 0, false);
  }
  CommitDeferredSettings();
}

void SoundEngine::ResetListener() {
  SetListenerPosition(0, 0, 0, true);
  SetListenerVelocity(0, 0, 0, true);
  SetListenerOrientation(0, 1, 0, 0, 0.1f, 0, true);
  CommitDeferredSettings();
}

void SoundEngine::UpdateListener(float playerX, float playerY, float playerZ, float viewYaw,
                                 float viewPitch, float health) {
  const float lx = SoundX(playerX), ly = SoundY(playerY), lz = SoundX(playerZ);
  ListenerX = lx;
  ListenerY = ly;
  ListenerZ = lz;
  const float yaw = viewYaw * SoundDegreesToRadians;
  const float pitch = viewPitch * SoundDegreesToRadians;
  SetListenerPosition(lx, ly, lz, true);
  SetListenerVelocity(0, 0, 0, true);
  SetListenerOrientation(std::sin(yaw), -std::tan(pitch), -std::cos(yaw), 0, 0.1f, 0, true);

  // The heartbeat quickens as health falls; renewing a playing loop keeps it going.
  int beat = -1;
  if (health <= 100) {
    beat = 0;
  } else if (health <= 250) {
    beat = 1;
  } else if (health <= 500) {
    beat = 2;
  } else if (health <= 800) {
    beat = 3;
  }
  if (beat < 0) {
    for (int b = 0; b < SoundHeartbeatCopies; ++b) Halt(SoundHeartbeat, b);
  } else {
    for (int b = beat + 1; b < SoundHeartbeatCopies; ++b) Halt(SoundHeartbeat, b);
    Place(SoundHeartbeat, beat, 0, lx, ly, lz, true);
    if (VoiceEnabled()) Start(SoundHeartbeat, beat, 0, true);
  }

  // The player's own guns and reloads sit at the listener.
  auto follow = [&](SoundGroupId group, int count, float vx, float vz) {
    for (int c = 0; c < count; ++c) {
      Place(group, c, 0, lx, ly, lz, true);
      SetSoundVelocity(GroupBuffer(group, c), vx, 0, vz, true);
    }
  };
  follow(SoundMachineGun, SoundMachineGunCopies, 0, 0);
  follow(SoundHandgun, SoundHandgunCopies, 0, 0);
  follow(SoundReload, SoundReloadCopies, 0, 0);
  follow(SoundRifle, SoundRifleCopies, 100, 100);
  CommitDeferredSettings();
}

void SoundEngine::PlayShellSound(float playerX, float playerY, float playerZ) {
  const int c = ShellsCounter;
  Place(SoundShells, c, 0, SoundX(playerX), SoundY(playerY), SoundX(playerZ), true);
  const std::uint32_t r1 = RandomBelow(8);
  const std::uint32_t r2 = RandomBelow(8);
  SetSoundVelocity(Shells[c], static_cast<float>(r2 + 5), 0, static_cast<float>(r1 + 5), true);
  if (EffectsEnabled()) Start(SoundShells, c, 0, false);
  ShellsCounter = (ShellsCounter + 1) % SoundShellsCopies;
}

void SoundEngine::PlayShot(int weapon) {
  if (!EffectsEnabled()) return;
  if (weapon == 0) {
    Start(SoundMachineGun, MachineGunCounter, 0, false);
    MachineGunCounter = (MachineGunCounter + 1) % SoundMachineGunCopies;
  } else if (weapon == 1) {
    Start(SoundRifle, RifleCounter, 0, false);
    RifleCounter = (RifleCounter + 1) % SoundRifleCopies;
  } else if (weapon == 2) {
    Start(SoundHandgun, HandgunCounter, 0, false);
    HandgunCounter = (HandgunCounter + 1) % SoundHandgunCopies;
  }
}

void SoundEngine::StopHeartbeat() {
  for (int b = 0; b < SoundHeartbeatCopies; ++b) Halt(SoundHeartbeat, b);
}

void SoundEngine::PlayReload(int weapon, float playerX, float playerY, float playerZ) {
  if (weapon < 0 || weapon >= SoundReloadCopies) return;
  Halt(SoundReload, weapon);
  Place(SoundReload, weapon, 0, SoundX(playerX), SoundY(playerY), SoundX(playerZ), true);
  SetSoundVelocity(Reload[weapon], 0, 0, 0, true);
  if (EffectsEnabled()) Start(SoundReload, weapon, 0, false);
}

void SoundEngine::PlayImpact(int copy, int kind, float x, float y, float z) {
  const SoundGroupId group = kind == 1 ? SoundImpactWall : SoundImpactFloor;
  if ((kind == 1 || kind == 2) && copy >= 0 && copy < SoundImpactCopies) {
    Halt(group, copy);
    Place(group, copy, 0, SoundX(-x), SoundY(-y), SoundX(-z), true);
    SetSoundVelocity(GroupBuffer(group, copy), 10, 10, 10, true);
    if (EffectsEnabled()) Start(group, copy, 0, false);
  }
  CommitDeferredSettings();
}

void SoundEngine::PlayEnemySound(int slot, int kind, float x, float y, float z) {
  if (slot < 0 || slot >= SoundEnemySlots) {
    CommitDeferredSettings();
    return;
  }
  const float px = SoundX(-x), py = SoundY(-y), pz = SoundX(-z);
  switch (kind) {
    case 1:
      Halt(SoundCallStart, slot, LastVoiceIndex);
      LastVoiceIndex = static_cast<int>(RandomBelow(SoundCallStartVariants));
      Place(SoundCallStart, slot, LastVoiceIndex, px, py, pz, false);
      if (VoiceEnabled()) Start(SoundCallStart, slot, LastVoiceIndex, false);
      break;
    case 2:
      // A start call may have left variant 4, which the damage calls do not have.
      if (LastVoiceIndex < SoundCallDamageVariants) Halt(SoundCallDamage, slot, LastVoiceIndex);
      LastVoiceIndex = static_cast<int>(RandomBelow(SoundCallDamageVariants));
      Place(SoundCallDamage, slot, LastVoiceIndex, px, py, pz, false);
      if (VoiceEnabled()) Start(SoundCallDamage, slot, LastVoiceIndex, false);
      break;
    case 3:
      if (LastVoiceIndex < SoundCallKillVariants) {
        Halt(SoundCallDamage, slot, LastVoiceIndex);
        Halt(SoundCallKill, slot, LastVoiceIndex);
      }
      LastVoiceIndex = static_cast<int>(RandomBelow(SoundCallKillVariants));
      Place(SoundCallKill, slot, LastVoiceIndex, px, py, pz, false);
      if (VoiceEnabled()) Start(SoundCallKill, slot, LastVoiceIndex, false);
      break;
    case 4:
      Place(SoundEnemyGun, slot, 0, px, py, pz, false);
      SetSoundVelocity(EnemyGun[slot], 0, 0, 0, true);
      if (EffectsEnabled()) Start(SoundEnemyGun, slot, 0, true);
      break;
    case 5:
      Halt(SoundEnemyGun, slot);
      break;
    default:
      break;
  }
  CommitDeferredSettings();
}

void SoundEngine::ShutdownSound() {
  for (int g = 0; g < SoundGroupCount; ++g) {
    const auto group = static_cast<SoundGroupId>(g);
    for (int i = 0; i < GroupCopies(group); ++i) ReleaseSoundBuffer(GroupBuffer(group, i));
  }
  for (SoundBuffer*& b : Page) b = nullptr;
  for (SoundBuffer*& b : Heartbeat) b = nullptr;
  for (SoundBuffer*& b : EnemyGun) b = nullptr;
  for (SoundBuffer*& b : MachineGun) b = nullptr;
  for (SoundBuffer*& b : Rifle) b = nullptr;
  for (SoundBuffer*& b : Handgun) b = nullptr;
  for (SoundBuffer*& b : Shells) b = nullptr;
  for (SoundBuffer*& b : Reload) b = nullptr;
  for (auto& slot : CallStart) for (SoundBuffer*& b : slot) b = nullptr;
  for (auto& slot : CallDamage) for (SoundBuffer*& b : slot) b = nullptr;
  for (auto& slot : CallKill) for (SoundBuffer*& b : slot) b = nullptr;
  for (SoundBuffer*& b : ImpactWall) b = nullptr;
  for (SoundBuffer*& b : ImpactFloor) b = nullptr;
  CloseSoundDevice();
}
