// Weapons: trigger cadence and spread, kick and bolt, reload and weapon change, scope, shots.
#include <cmath>

#include "input/dxinput.h"
#include "world_fixture.h"

namespace {

constexpr std::uint32_t KeyR = 0x52;

// Steps (1-based) at which a shot left the weapon while the trigger was held.
std::vector<int> FiringSteps(int steps) {
  std::vector<int> out;
  TriggerHeld = 1;
  for (int step = 1; step <= steps; ++step) {
    const int before = World.ShotsFired;
    World.UpdateGame();
    if (World.ShotsFired != before) out.push_back(step);
  }
  return out;
}

// The shot fired in the step just run: it has flown exactly one step.
const WorldObject* NewestShot() {
  for (const auto& s : World.Shots) {
    if (s.Active && s.SP == 450) return &s;
  }
  return nullptr;
}

void HoldRifle() {
  World.CurrentWeapon = World.SelectedWeapon = WeaponRifle;
}

}  // namespace

class WeaponTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    Settings.KeyBindings[KeyReload] = KeyR;
    World.SpawnTimer = 1 << 30;
  }
};

TEST_F(WeaponTest, HeldTriggerFiresEachWeaponAtItsCadence) {
  EXPECT_EQ(FiringSteps(40), std::vector<int>({1, 12, 23, 34}));
  EXPECT_EQ(World.Weapons[0].Ammo, 26);
  EXPECT_EQ(World.ShotsFired, 4);
  EXPECT_EQ(CountPlayed(SoundMachineGun), 4);

  StartTestMatch(0);
  World.SpawnTimer = 1 << 30;
  World.CurrentWeapon = World.SelectedWeapon = WeaponHandgun;
  EXPECT_EQ(FiringSteps(40), std::vector<int>({1, 17, 33}));
}

TEST_F(WeaponTest, MachineGunSpreadWidensWithTheBurst) {
  SeedRandom(99);
  TriggerHeld = 1;
  std::vector<float> angleX, angleY;
  for (int step = 0; step < 7 * 11; ++step) {
    const int before = World.ShotsFired;
    World.UpdateGame();
    if (World.ShotsFired != before) {
      const WorldObject* s = NewestShot();
      ASSERT_NE(s, nullptr);
      angleX.push_back(s->AngleX);
      angleY.push_back(s->AngleY);
    }
  }
  ASSERT_EQ(angleX.size(), 7u);
  const int widths[7] = {10, 11, 12, 12, 13, 14, 14};
  SeedRandom(99);
  for (int k = 0; k < 7; ++k) {
    const int n = widths[k];
    const int sx = static_cast<int>(RandomBelow(n)) - n / 2;
    const int sy = static_cast<int>(RandomBelow(n)) - n / 2;
    EXPECT_FLOAT_EQ(angleX[k], static_cast<float>(sx * 0.1)) << "attempt " << k + 1;
    EXPECT_FLOAT_EQ(angleY[k], static_cast<float>(sy * 0.1)) << "attempt " << k + 1;
  }
}

TEST_F(WeaponTest, ShotsLeaveFromTheWeaponOrFromTheEyeWithTheScope) {
  World.UpdatePlayer();  // the player's record holds the body centre from the first step on
  TriggerHeld = 1;
  World.CurrentWeapon = World.SelectedWeapon = WeaponHandgun;
  World.UpdateGame();
  const WorldObject* s = NewestShot();
  ASSERT_NE(s, nullptr);
  // 20 units out at 70 degrees to the right of the view, then one step of 300 along +Z.
  EXPECT_NEAR(s->X, std::sin(70 * DegreesToRadians) * 20, 1e-4f);
  EXPECT_NEAR(s->Z, std::cos(70 * DegreesToRadians) * 20 + 300, 1e-3f);
  EXPECT_NEAR(s->Y, 225.0f, 1e-4f);
  EXPECT_EQ(s->AngleX, 0.0f);

  StartTestMatch(0);
  World.SpawnTimer = 1 << 30;
  HoldRifle();
  World.ScopeOn = 1;
  World.ViewYaw = 90;
  TriggerHeld = 1;
  World.UpdateGame();
  s = NewestShot();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->AngleX, 90.0f);  // no spread through the scope
  EXPECT_EQ(s->AngleY, 0.0f);
  EXPECT_NEAR(s->X, -320.0f, 1e-3f);
  EXPECT_NEAR(s->Z, 0.0f, 1e-3f);
}

TEST_F(WeaponTest, RifleKickStartsTheBoltOnTheNineteenthUpdate) {
  HoldRifle();
  TriggerHeld = 1;
  World.UpdateGame();
  TriggerHeld = 0;
  EXPECT_EQ(World.ShotsFired, 1);
  EXPECT_FLOAT_EQ(RecoilKick, 1.9f);
  for (int step = 2; step <= 18; ++step) {
    World.UpdateGame();
    ASSERT_EQ(World.WeaponAction, 0) << step;
  }
  World.UpdateGame();
  EXPECT_EQ(World.WeaponAction, ActionBolt);
  EXPECT_EQ(World.WeaponBusy, 1);

  // The bolt cycles once (shell sound at the top), then the rifle is ready again.
  int steps = 0;
  while (World.WeaponBusy && steps < 200) {
    World.UpdateGame();
    ++steps;
  }
  EXPECT_LT(steps, 200);
  EXPECT_EQ(CountPlayed(SoundShells), 1);
  EXPECT_EQ(RecoilKick, 0.0f);
  EXPECT_EQ(FiringSteps(1), std::vector<int>({1}));
}

TEST_F(WeaponTest, HandgunAndMachineGunKicksDecayThenZero) {
  World.CurrentWeapon = World.SelectedWeapon = WeaponHandgun;
  TriggerHeld = 1;
  World.UpdateGame();
  TriggerHeld = 0;
  for (int step = 2; step <= 11; ++step) World.UpdateGame();
  EXPECT_GT(RecoilKick, 0.0f);
  EXPECT_LT(RecoilKick, 0.1f);
  World.UpdateGame();
  EXPECT_EQ(RecoilKick, 0.0f);
  EXPECT_EQ(World.WeaponAction, 0);  // only the rifle has a bolt

  // Letting go of the machine gun kicks it by 1.0: below 0.1 after 9, zero at the 10th.
  StartTestMatch(0);
  World.SpawnTimer = 1 << 30;
  World.OnPlayLeftButtonDown();
  World.OnPlayLeftButtonUp();
  EXPECT_EQ(RecoilKick, 1.0f);
  for (int i = 0; i < 9; ++i) World.UpdateWeapon();
  EXPECT_GT(RecoilKick, 0.0f);
  World.UpdateWeapon();
  EXPECT_EQ(RecoilKick, 0.0f);
}

TEST_F(WeaponTest, RecoilRaisesTheViewOnShotsAndKick) {
  Settings.Recoil = 1;
  World.CurrentWeapon = World.SelectedWeapon = WeaponHandgun;
  TriggerHeld = 1;
  World.UpdateGame();
  // 0.5 for the shot, 0.1 for the kick and 0 to 0.09 of muzzle climb.
  EXPECT_GE(World.ViewPitch, 0.6f - 1e-5f);
  EXPECT_LE(World.ViewPitch, 0.69f + 1e-5f);
}

TEST_F(WeaponTest, EmptyMagazineFiresNothingAndDoesNotReload) {
  World.Weapons[0].Ammo = 0;
  EXPECT_TRUE(FiringSteps(30).empty());
  EXPECT_EQ(World.BurstCount, 0);
  EXPECT_EQ(MuzzleFlash, 0.0f);
  EXPECT_EQ(World.WeaponBusy, 0);
  EXPECT_EQ(World.Weapons[0].Ammo, 0);
}

TEST_F(WeaponTest, ReloadRefillsAtTheTopOfTheAction) {
  World.Weapons[0].Ammo = 5;
  World.OnKeyDown(KeyR);
  EXPECT_EQ(World.WeaponAction, ActionReloadMachineGun);
  int top = 0;
  for (int step = 1; step <= 200 && World.WeaponBusy; ++step) {
    const std::uint8_t rising = World.ActionRising;
    World.UpdateGame();
    if (rising && !World.ActionRising) top = step;
    EXPECT_EQ(World.Weapons[0].Ammo, top ? 30 : 5) << step;
  }
  EXPECT_GE(top, 85);
  EXPECT_LE(top, 95);
  EXPECT_EQ(World.WeaponBusy, 0);
  EXPECT_EQ(World.WeaponAction, 0);
  EXPECT_EQ(CountPlayed(SoundReload), 1);
}

TEST_F(WeaponTest, ReloadIsRefusedWhenFullBusyFiringOrKicked) {
  World.OnKeyDown(KeyR);  // full magazine
  EXPECT_EQ(World.WeaponBusy, 0);
  World.Weapons[0].Ammo = 3;
  TriggerHeld = 1;
  World.OnKeyDown(KeyR);
  EXPECT_EQ(World.WeaponBusy, 0);
  TriggerHeld = 0;
  RecoilKick = 0.3f;
  World.OnKeyDown(KeyR);
  EXPECT_EQ(World.WeaponBusy, 0);
  RecoilKick = 0;
  World.GameState = StateTitle;
  World.OnKeyDown(KeyR);
  EXPECT_EQ(World.WeaponBusy, 0);
  World.GameState = StatePlay;
  World.OnKeyDown(KeyR);
  EXPECT_EQ(World.WeaponAction, ActionReloadMachineGun);
}

TEST_F(WeaponTest, WeaponChangesHandsAtTheTopAndFallsAtTheNewRate) {
  World.OnKeyDown(0x63);  // numeric keypad 3
  EXPECT_EQ(World.SelectedWeapon, WeaponHandgun);
  EXPECT_EQ(World.WeaponAction, ActionChange);
  int rising = 0;
  while (World.ActionRising) {
    EXPECT_EQ(World.CurrentWeapon, WeaponMachineGun);
    World.UpdateWeapon();
    ++rising;
  }
  EXPECT_EQ(World.CurrentWeapon, WeaponHandgun);
  EXPECT_EQ(CountPlayed(SoundReload), 1);
  EXPECT_EQ(Played.back().Copy, 0);  // the handling sound of the weapon put away
  int falling = 0;
  while (World.WeaponBusy) {
    World.UpdateWeapon();
    ++falling;
  }
  EXPECT_GE(rising, 50);
  EXPECT_LE(rising, 52);
  EXPECT_LE(falling, 19);  // 0.3 a step; the machine gun's 0.2 would take 26
}

TEST_F(WeaponTest, WheelAndKeysAreRefusedWhileBusyOrKicked) {
  Settings.KeyBindings[KeyWeapon] = 0x51;
  Mouse.MouseState = MouseSnapshot{};
  Mouse.MouseState.Wheel = 120;
  World.WeaponBusy = 1;
  World.OnMouseWheel();
  World.OnKeyDown(0x32);
  World.OnKeyDown(0x51);
  EXPECT_EQ(World.SelectedWeapon, 0);
  World.WeaponBusy = 0;
  RecoilKick = 0.2f;
  World.OnMouseWheel();
  EXPECT_EQ(World.SelectedWeapon, 0);
  RecoilKick = 0;
  World.OnKeyDown(0x31);  // the weapon already in hand
  EXPECT_EQ(World.WeaponBusy, 0);

  Mouse.MouseState.Wheel = -240;  // back: previous weapon, wrapping to the handgun
  World.OnMouseWheel();
  EXPECT_EQ(World.WheelDir, 2);
  EXPECT_EQ(World.SelectedWeapon, WeaponHandgun);
  EXPECT_EQ(World.WeaponAction, ActionChange);

  StartTestMatch(0);
  Settings.WheelWeaponChange = 0;
  Mouse.MouseState.Wheel = 120;
  World.OnMouseWheel();
  EXPECT_EQ(World.WheelDir, 1);
  EXPECT_EQ(World.WeaponBusy, 0);
}

TEST_F(WeaponTest, ScopeTogglesOnlyWithTheRifleReady) {
  EXPECT_FALSE(World.OnPlayRightButtonDown());  // machine gun
  HoldRifle();
  EXPECT_TRUE(World.OnPlayRightButtonDown());
  EXPECT_EQ(World.ScopeOn, 1);
  EXPECT_EQ(World.OverlayDepthOffset, 2.79f);
  EXPECT_EQ(World.FlashKind, FlashZoom);
  EXPECT_EQ(World.FlashLevel, 255.0f);

  // The bolt keeps the scope up; a reload takes it down.
  World.StartWeaponAction(ActionBolt);
  EXPECT_EQ(World.ScopeOn, 1);
  World.WeaponBusy = 0;
  World.WeaponAction = 0;
  World.Weapons[1].Ammo = 2;
  World.OnKeyDown(KeyR);
  EXPECT_EQ(World.WeaponAction, ActionReloadRifle);
  EXPECT_EQ(World.ScopeOn, 0);
  EXPECT_EQ(World.OverlayDepthOffset, 0.0f);
  EXPECT_EQ(World.FlashLevel, 128.0f);
  EXPECT_FALSE(World.OnPlayRightButtonDown());  // not during the rifle's reload
  EXPECT_EQ(World.ScopeOn, 0);

  World.Player.Active = 0;
  World.WeaponAction = 0;
  EXPECT_FALSE(World.OnPlayRightButtonDown());
}

TEST_F(WeaponTest, ShotStopsAtTheWallInItsFirstSubStepWithAPuffAndImpactSound) {
  WorldObject& s = World.Shots[0];
  s.Active = 1;
  s.SP = 150;
  s.X = 0;
  s.Y = 500;
  s.Z = 5990;
  World.UpdateShots();
  EXPECT_EQ(s.Active, 0);
  EXPECT_EQ(s.Z, 6020.0f);
  EXPECT_EQ(World.SmokeNext, 1);
  const WorldObject& puff = World.Smokes[1];
  EXPECT_EQ(puff.Active, 1);
  EXPECT_EQ(puff.SP, 3);
  EXPECT_EQ(World.SmokeVertices[1][0].X, -30.0f);
  EXPECT_EQ(World.SmokeVertices[1][0].Y, 470.0f);
  EXPECT_EQ(World.SmokeVertices[1][0].Z, 6020.0f);
  ASSERT_EQ(CountPlayed(SoundImpactWall), 1);
  EXPECT_EQ(ImpactSoundSlot, 1);

  // Ground: impact kind 2. Sky: gone without puff or sound.
  Played.clear();
  s = WorldObject{};
  s.Active = 1;
  s.Y = -5;
  s.AngleY = -10;
  World.UpdateShots();
  EXPECT_EQ(s.Active, 0);
  EXPECT_EQ(CountPlayed(SoundImpactFloor), 1);
  EXPECT_EQ(World.SmokeNext, 2);
  Played.clear();
  s = WorldObject{};
  s.Active = 1;
  s.Y = 1495;
  s.AngleY = 10;
  World.UpdateShots();
  EXPECT_EQ(s.Active, 0);
  EXPECT_TRUE(Played.empty());
  EXPECT_EQ(World.SmokeNext, 2);
}

TEST_F(WeaponTest, ShotHitsTheLowerIndexedEnemyWithTheDamageOfTheWeaponInHand) {
  WorldObject& later = PlaceEnemy(5, 0, 500, 40);
  WorldObject& earlier = PlaceEnemy(3, 10, 520, 60);
  WorldObject& s = World.Shots[2];
  s.Active = 1;
  s.SP = 150;
  s.Y = 500;
  World.UpdateShots();
  EXPECT_EQ(s.Active, 0);
  EXPECT_EQ(World.Hits, 1);
  EXPECT_EQ(earlier.HP, 4.0f);
  EXPECT_EQ(later.HP, 5.0f);
  ASSERT_EQ(CountPlayed(SoundCallDamage), 1);
  for (const auto& e : Played) {
    if (e.Group == SoundCallDamage) {
      EXPECT_EQ(e.Copy, 0);  // always slot 0's voice
    }
  }

  for (int weapon : {1, 2}) {
    World.CurrentWeapon = weapon;  // switched while the shot was in flight
    s = WorldObject{};
    s.Active = 1;
    s.Y = 500;
    const float before = earlier.HP;
    World.UpdateShots();
    EXPECT_EQ(before - earlier.HP, weapon == 1 ? 5.0f : 2.0f);
  }
}

TEST_F(WeaponTest, ShotExpiresAfter15000Units) {
  WorldObject& s = World.Shots[0];
  s.Active = 1;
  s.SP = 15000;
  World.UpdateShots();
  EXPECT_EQ(s.Active, 0);
  EXPECT_EQ(s.Z, 0.0f);
}
