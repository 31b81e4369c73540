// SoundEngine: every sound effect and voice, their 3D placement, the listener and the heartbeat.
#pragma once

#include <cstdint>
#include <vector>

struct SoundBuffer;  // platform/sound: one playable copy (a source sharing sample data)

enum SoundGroupId : int {
  SoundPage = 0,
  SoundHeartbeat,
  SoundEnemyGun,
  SoundMachineGun,
  SoundRifle,
  SoundHandgun,
  SoundShells,
  SoundReload,
  SoundCallStart,
  SoundCallDamage,
  SoundCallKill,
  SoundImpactWall,
  SoundImpactFloor,
  SoundGroupCount
};

constexpr int SoundEnemySlots = 20;
constexpr int SoundPageCopies = 2;
constexpr int SoundHeartbeatCopies = 4;
constexpr int SoundMachineGunCopies = 30;
constexpr int SoundRifleCopies = 10;
constexpr int SoundHandgunCopies = 8;
constexpr int SoundShellsCopies = 10;
constexpr int SoundReloadCopies = 3;
constexpr int SoundCallStartVariants = 5;
constexpr int SoundCallDamageVariants = 4;
constexpr int SoundCallKillVariants = 4;
constexpr int SoundImpactCopies = 20;

// The 27 sample files, relative to the working directory, and where each call kind begins.
constexpr int SoundFileCount = 27;
extern const char* const SoundFilePaths[SoundFileCount];
constexpr int SoundFileHeartbeatFirst = 10;
constexpr int SoundFileCallStartFirst = 14;
constexpr int SoundFileCallDamageFirst = 19;
constexpr int SoundFileCallKillFirst = 23;

// One entry per sound really started or stopped, for tests (enable with SoundEngine::PlayLog).
struct SoundEvent {
  enum Kind : int { Play = 0, Stop = 1 };
  Kind Action = Play;
  SoundGroupId Group = SoundPage;
  int Copy = 0;     // copy number; enemy slot for SoundEnemyGun and the call groups
  int Variant = 0;  // call variant (0 for the other groups)
  float X = 0, Y = 0, Z = 0;  // the copy's latest position in sound space (pending or applied)
  bool Looping = false;
};

// The volume rule: hundredths of a decibel for a setting of 10..100 and a group offset.
std::int32_t SoundVolume(std::uint32_t volumeSetting, int offset);

class SoundEngine {
 public:
  // ---- buffers, in the order of the file table (calls as [slot][variant]) ----
  SoundBuffer* Page[SoundPageCopies] = {};
  SoundBuffer* Heartbeat[SoundHeartbeatCopies] = {};
  SoundBuffer* EnemyGun[SoundEnemySlots] = {};
  SoundBuffer* MachineGun[SoundMachineGunCopies] = {};
  SoundBuffer* Rifle[SoundRifleCopies] = {};
  SoundBuffer* Handgun[SoundHandgunCopies] = {};
  SoundBuffer* Shells[SoundShellsCopies] = {};
  SoundBuffer* Reload[SoundReloadCopies] = {};
  SoundBuffer* CallStart[SoundEnemySlots][SoundCallStartVariants] = {};
  SoundBuffer* CallDamage[SoundEnemySlots][SoundCallDamageVariants] = {};
  SoundBuffer* CallKill[SoundEnemySlots][SoundCallKillVariants] = {};
  SoundBuffer* ImpactWall[SoundImpactCopies] = {};
  SoundBuffer* ImpactFloor[SoundImpactCopies] = {};

  // ---- rotating copy counters ----
  int MachineGunCounter = 0;
  int RifleCounter = 0;
  int HandgunCounter = 0;
  int MenuShotCounter = 0;
  int ShellsCounter = 0;
  int PageClick = 0;
  int LastVoiceIndex = 0;

  // The listener point L of the last UpdateListener (sound space).
  float ListenerX = 0, ListenerY = 0, ListenerZ = 0;
  // Where each copy was last placed (sound space), so the log can say where a sound started.
  float LastX[SoundGroupCount][SoundEnemySlots * SoundCallStartVariants] = {};
  float LastY[SoundGroupCount][SoundEnemySlots * SoundCallStartVariants] = {};
  float LastZ[SoundGroupCount][SoundEnemySlots * SoundCallStartVariants] = {};

  // When set, every start and stop is appended here (tests). Recorded whether or not the
  // device is open, so world code can be checked without sound hardware.
  std::vector<SoundEvent>* PlayLog = nullptr;

  // Opens the device and loads every sample (131 loading steps); shows its own failure.
  bool InitSound();
  void ApplyEffectVolumes();
  // stop: stop the transition noise; kind 1 menu shot, 2 transition noise, 3 page click.
  void PlayMenuSound(bool stop, int kind);
  void ResetListener();
  // Once per play step: the player's record (X, Y, Z, HP) and the view angles in degrees.
  void UpdateListener(float playerX, float playerY, float playerZ, float viewYaw,
                      float viewPitch, float health);
  // The player's record X, Y, Z (the point L is derived from it).
  void PlayShellSound(float playerX, float playerY, float playerZ);
  void PlayShot(int weapon);
  void StopHeartbeat();
  // weapon = CurrentWeapon (0..2); the player's record X, Y, Z.
  void PlayReload(int weapon, float playerX, float playerY, float playerZ);
  // copy 0..19, kind 1 wall or 2 floor, world point.
  void PlayImpact(int copy, int kind, float x, float y, float z);
  // slot 0..19; kind 1 start call, 2 damage call, 3 kill call, 4 gun firing, 5 gun stops.
  void PlayEnemySound(int slot, int kind, float x, float y, float z);
  void ShutdownSound();

  // Buffers of a group as one flat list (the call groups slot-major); for tests and checks.
  int GroupCopies(SoundGroupId group) const;
  SoundBuffer* GroupBuffer(SoundGroupId group, int index) const;
};

extern SoundEngine Sound;
