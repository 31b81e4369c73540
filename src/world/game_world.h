// GameWorld: the one object holding the device, the catalogues, the world state and the scene.
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "world/world_types.h"
#include "graphics/texture_id.h"
#include "platform/render/render_types.h"

struct RenderSystem;
struct RenderDevice;
struct Texture;
struct Sprite;

enum GameStateValue : std::int32_t {
  StateTitle = 0,
  StatePlay = 1,
  StateRanking = 2,
  StateOperation = 3,
  StateSettings = 4,
  StateGameOver = 5,
  StateCredits = 6,
  StateQuit = 10,
};

constexpr int RankingLevels = 3;
constexpr int RankingSlots = 6;
constexpr int RankingNameBytes = 32;
constexpr int RankingNameMaxLength = 16;
constexpr int RankingScoreMax = 1000;

class GameWorld {
 public:
  // ---- shell: main loop and scene state ----
  std::int32_t Fps = 0;
  float LoadPercent = 0;
  std::int32_t GameState = StateTitle;
  std::uint32_t StateFrameCount = 0;
  std::uint8_t TransitionActive = 0;
  std::uint8_t MenuShown = 0;
  std::uint8_t TitleRestart = 0;
  std::int32_t PageIndex = 0;
  std::uint32_t PlayFrameCount = 0;

  // ---- ranking table and Ranking.dat ----
  std::int32_t RankingScores[RankingLevels][RankingSlots] = {};
  char RankingNames[RankingLevels][RankingSlots][RankingNameBytes] = {};
  std::int32_t RankingNameLengths[RankingLevels][RankingSlots] = {};
  std::int32_t LastGameScore = 0;
  // Set while the table holds scores the last save could not write; told to the player once.
  std::uint8_t RankingSaveFailed = 0;
  std::uint8_t RankingSaveFailureShown = 0;

  bool SaveRanking();
  void LoadRanking();
  void ResetRanking();
  bool ValidateRanking() const;

  // ---- graphics: device, display modes, camera, textures, text panels ----
  RenderSystem* D3D = nullptr;
  DisplayMode DesktopMode;
  PresentParameters WindowedParams;
  PresentParameters FullScreenParams;
  RenderDevice* Device = nullptr;
  Matrix ViewMatrix;
  Matrix ProjectionMatrix;
  float ShownFps = 0;
  Texture* Textures[TextureCount] = {};
  Sprite* PanelSprite = nullptr;
  Texture* TextPanels[TextPanelCount] = {};

  bool InitDirect3D();
  bool ResetDisplay(int mode);
  void ApplyRenderStates();
  bool ApplyViewSettings();
  bool InitTitle();
  void SetupCamera(float fieldOfView);
  bool BeginFrame(std::uint32_t clearColour);
  bool EndFrame();
  void UpdateFpsTexture();
  bool LoadTextures();
  // A catalogue slot's picture; a screen picture not in texture memory is loaded first, and
  // one that cannot be read is told once and stays null.
  Texture* SlotTexture(int slot);
  // Called each step: loads one of the screen pictures `state` draws that is not loaded yet,
  // and lets the other screen pictures go.
  void KeepScreenPicturesFor(std::int32_t state);
  std::uint64_t ScreenPicturesMissing = 0;
  void CreateTextPanels();
  bool CreateTextPanel(int slot, int width, int height);
  void ReleaseTextPanels();
  void RenderTextPanel(int kind, int slot, int left, int top, int right, int bottom, int number,
                       const char* text, int fontHeight, int background, std::uint32_t colour);
  // Releases the catalogue, the panels, the sprite, the device and D3D, in that order (teardown).
  void ReleaseGraphics();

  // ---- world: arena, player, enemies, weapons, shots, match ----
  GameWorld();  // builds the world (ConstructWorld) when the static object is created

  // Fog of the play scene.
  std::uint32_t FogMode = 0;
  std::uint32_t FogColour = 0;
  float FogStart = 0;
  float FogEnd = 0;
  float FogDensity = 0;

  // Flat quads drawn by the screens and overlays (four vertices in fan order each).
  SceneVertex BackdropQuad[4];
  SceneVertex MenuItemQuads[MenuItemCount][4];
  SceneVertex CursorQuad[4];
  SceneVertex FpsBadgeQuad[4];
  SceneVertex RankingPanelQuad[4];
  SceneVertex WidePanelQuad[4];
  SceneVertex PageLabelQuad[4];  // twice the panel's width, from the same left edge
  SceneVertex ScreenQuad[4];  // the status frame
  SceneVertex FlashQuad[4];
  SceneVertex ScopeQuad[4];
  SceneVertex WeaponPlateQuad[4];
  SceneVertex AmmoPlateQuad[4];
  SceneVertex HealthPlateQuad[4];
  WorldObject MenuPos[MenuItemCount];
  float CursorX = 0;
  float CursorY = 0;

  // Full-screen flash (drawn and faded by the play scene).
  std::uint8_t FlashActive = 0;
  float FlashLevel = 0;
  std::int32_t FlashKind = 0;
  std::uint32_t FlashColour = 0;

  // Arena and bodies.
  SceneVertex PlayerBody[CubeVertexCount];
  SceneVertex ArenaBox[CubeVertexCount];
  float ArenaCeiling = 0;
  float ArenaFloor = 0;
  float ArenaMaxX = 0;
  float ArenaMinX = 0;
  float ArenaMaxZ = 0;
  float ArenaMinZ = 0;
  WorldObject Player;  // X, Y, Z hold the body centre negated
  WorldObject Enemies[EnemySlots];
  WorldObject Shots[ShotSlots];
  SceneVertex ShotMeshes[ShotSlots][CubeVertexCount];
  WorldObject Smokes[SmokeSlots];
  SceneVertex SmokeVertices[SmokeSlots][SmokeVertexCount];
  SceneVertex SmokeTemplate[SmokeVertexCount];  // the 31st set, around the origin
  WorldObject Trees[TreeCount];
  WeaponSpec Weapons[WeaponCount];

  // Player movement and view.
  std::uint8_t KeyForwardHeld = 0;
  std::uint8_t KeyBackHeld = 0;
  std::uint8_t KeyLeftHeld = 0;
  std::uint8_t KeyRightHeld = 0;
  std::uint8_t KeyTurnLeftHeld = 0;
  std::uint8_t KeyTurnRightHeld = 0;
  std::uint8_t JumpActive = 0;
  std::uint8_t JumpKeyHeld = 0;
  std::int32_t JumpPhase = 0;  // 0 idle, 1 rising, 2 falling, 3 landed
  float ViewYaw = 0;
  float ViewPitch = 0;
  float ViewOffset[3] = {};  // the eye point negated
  std::int32_t MouseDirX = 0;
  std::int32_t MouseDirY = 0;

  // Enemies.
  std::int32_t SpawnTimer = 0;
  std::int32_t EnemiesAlive = 0;
  float EnemyDistance = 0;

  // Weapons and shots.
  std::int32_t CurrentWeapon = 0;
  std::int32_t SelectedWeapon = 0;
  std::int32_t BurstCount = 0;
  std::int32_t FireCooldown = 0;
  std::uint8_t WeaponBusy = 0;
  std::uint8_t ActionRising = 0;
  std::int32_t WeaponAction = 0;
  std::uint8_t ScopeOn = 0;
  float OverlayDepthOffset = 0;
  std::int32_t ShotsFired = 0;
  std::int32_t Hits = 0;
  std::int32_t SmokeNext = 0;
  std::int32_t WheelDir = 0;

  void ConstructWorld();
  void SetupFog();
  void ResetMatch();
  void DestroyWorld();

  void UpdateGame();
  void UpdatePlayer();
  void WalkPlayer(float offset);
  void StepJump();
  void LookBy(float dx, float dy);
  void ClampView();
  void UpdateEnemies();
  void UpdateTrigger();
  void FireShot();
  void UpdateShots();
  void UpdateWeapon();
  void StartWeaponAction(std::int32_t action);
  void SelectWeapon(std::int32_t kind, std::int32_t value);
  void SetScope(std::uint8_t on);
  void OnMouseWheel();
  void OnMouseButtons();


  // ---- input handlers (window procedure) ----
  void OnKeyDown(std::uint32_t key);
  void OnKeyUp(std::uint32_t key);
  void OnMouseMove(LPARAM position);
  // Play cases of the mouse buttons; the Down handlers return true when they applied.
  bool OnPlayLeftButtonDown();
  void OnPlayLeftButtonUp();
  bool OnPlayRightButtonDown();

  // ---- scene state machine (app/): match entry and end ----
  std::uint32_t ModalRedrawCount = 0;
  void FinishMatch();
  void OnMenuClick();

  // ---- title and information screens (screens/) ----
  // How far each menu item has slid left, and how far it slides in all.
  std::int32_t MenuSlide[MenuItemCount] = {};
  std::int32_t MenuSlideTarget[MenuItemCount] = {1300, 800, 300, 1300, 800, 300};
  float TitleLogoDepth = 0;
  float TitleBackOffset = 1200;  // extra depth of the title background while it approaches
  std::int32_t NoiseFrame = 0;   // noise picture of the transition, 0..2
  bool DrawTitle();
  bool DrawOperation();
  bool DrawCredits();
  bool DrawSettingsBackdrop();
  bool DrawTransition();
  void DrawTitleBack();
  void DrawTitleLogo();
  void DrawMenuItem(int index);
  void UpdateMenuHover();
  void DrawCursor();
  void DrawFpsBadge();
  void RenderPageLabel();

  // ---- play scene (scene/) ----
  bool RenderPlayFrame();
  // The last world transform placed by SetSpriteTransform.
  Matrix SpriteMatrix;
  void SetSpriteTransform(std::int32_t scale, float x, float y, float z, float angleX,
                          float angleY, float angleZ);
  void SetFog(bool on);

  // ---- game-over, results and ranking screens (screens/) ----
  void PrepareResults();
  bool DrawGameOver();
  void PrepareRanking();
  bool DrawRanking();
  void SortRanking(bool includeCandidate);
  // The modal name-entry dialog, owned by the main window.
  void OpenRankingEntry();
};

extern GameWorld World;
