// Recording a match into a demo and replaying one: the hooks the shell's steps call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/demo_file.h"
#include "platform/relative_mouse.h"
#include "platform/window.h"

enum class DemoMode { None, Record, Play, Timedemo };

// Exit status of a replay that did not reproduce its recording.
constexpr int DemoDesyncExitCode = 3;

struct DemoSession {
  DemoMode Mode = DemoMode::None;
  std::string Path;  // the file recorded to or replayed
  DemoFile Demo;     // being recorded, or being replayed
  int Width = 0;     // --size of a timedemo; 0 keeps the recorded size
  int Height = 0;

  bool InMatch = false;       // between the entering frame and the end of the match
  bool Done = false;          // the match was recorded, or the replay has ended
  std::uint32_t Step = 0;     // update steps of the match so far
  DemoStep Pending;           // recording: what the coming step consumes
  bool Injecting = false;     // replay: the recorded messages are being dispatched
  std::uint32_t DesyncStep = 0;  // replay: the first step found to differ (0: none)
  std::string DesyncWhat;
  bool PolledThisStep = false;
  // The generator after the last step: the end of a match saves the ranking, which draws.
  std::uint32_t RandomAfterStep = 0;

  // Timedemo timing: when the previous frame was rendered, and each frame's time.
  double LastFrameTime = -1;
  double FirstFrameTime = 0;
  std::vector<double> FrameSeconds;
  bool Reported = false;
  int ExitCode = 0;
};

extern DemoSession Demo;

// --record: arms recording of the next match into `path`.
void ArmDemoRecording(const std::string& path);
// --play and --timedemo: reads and checks the demo; false with the reason in `error`.
bool LoadDemoForReplay(DemoMode mode, const std::string& path, int width, int height, std::string& error);
// The checks a demo read whole must pass before it is replayed: its starting state and settings.
bool CheckDemoForReplay(const DemoFile& demo, std::string& error);
// The same for a demo already in memory (tests).
bool StartDemoReplay(DemoMode mode, const DemoFile& demo, std::string& error);
void EndDemoSession();  // back to ordinary play (tests)

inline bool DemoReplaying() { return Demo.Mode == DemoMode::Play || Demo.Mode == DemoMode::Timedemo; }
inline bool DemoFlatOut() { return Demo.Mode == DemoMode::Timedemo; }

// Start-up of a replay: the recorded settings in place of Setting.dat's (checked on loading).
void ApplyDemoSettings();

// The hooks. Entering frame of a match (after its reset), and its end (after FinishMatch).
void DemoMatchEntered();
void DemoMatchFinished();
// Around UpdateStep: a replay dispatches the step's recorded messages first.
void DemoStepBegins();
void DemoStepEnds();
// After an update step: whether a frame is rendered now (`onTime` is the loop's own answer).
bool DemoFrameAfterStep(bool onTime);
// Every message the window procedure receives: true when a replay swallows it.
bool DemoTakesMessage(std::uint32_t message, WPARAM wParam, LPARAM lParam);
// The mouse poll's snapshot: recorded, or replaced by the recorded one.
void DemoMousePolled(MouseSnapshot& snapshot);

// At exit: a match still being recorded is written as it stands; returns the exit status.
int EndDemoRun(int exitCode);

// The recorded match as it stands (a recording, or tests).
DemoFile RecordedDemo();
