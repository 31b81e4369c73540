// The demo session: recording a match's input step by step, replaying it, checking and timing it.
#include "app/demo_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/app_globals.h"
#include "app/frame_timer.h"
#include "app/match_state.h"
#include "app/random.h"
#include "app/window_procedure.h"
#include "persist/masked_file.h"
#include "persist/settings_record.h"
#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/message_box.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

DemoSession Demo;

namespace {

// The settings record is masked with a fixed key: drawing one would move the match's seed.
constexpr std::uint32_t DemoSettingsKey = 10111115u;
constexpr std::uint32_t EscapeKey = 0x1B;

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void CloseProgram() {
  StopFrameTimer();
  PostMessage(MainWindow, WM_CLOSE, 0, 0);
}

std::size_t MatchStateSize() { return SaveMatchState().size(); }

void WriteRecording() {
  const std::string bytes = EncodeDemo(Demo.Demo);
  if (!ReplaceFileContents(Demo.Path, bytes)) {
    const std::string line = "korvid: the demo could not be written to " + Demo.Path;
    std::fprintf(stderr, "%s\n", line.c_str());
    MessageBox(MainWindow, line.c_str(), "Korvid", MB_OK | MB_ICONERROR);
    return;
  }
  const DemoResult& r = Demo.Demo.Result;
  std::fprintf(stderr, "korvid: recorded %s: %u steps, score %d, %d hits of %d shots%s\n",
               Demo.Path.c_str(), r.Steps, r.Score, r.Hits, r.Shots,
               r.Finished ? "" : " (closed before the match ended)");
}

void FinishRecording(bool finished) {
  DemoResult& r = Demo.Demo.Result;
  r.Steps = Demo.Step;
  r.Score = World.LastGameScore;
  r.Shots = World.ShotsFired;
  r.Hits = World.Hits;
  r.Health = World.Player.HP;
  r.Finished = finished;
  Demo.Demo.FinalChecksum = MatchChecksum(Demo.RandomAfterStep);
  Demo.InMatch = false;
  Demo.Done = true;
  WriteRecording();
}

void NoteDesync(std::uint32_t step, const std::string& what);

// Frame times of a timedemo, closing the frame in flight first (swaps may not wait for it).
void MarkFrame() {
  if (World.Device) World.Device->Finish();
  const double now = Seconds();
  if (Demo.LastFrameTime >= 0) Demo.FrameSeconds.push_back(now - Demo.LastFrameTime);
  Demo.LastFrameTime = now;
}

void ReportTimedemo() {
  if (Demo.Reported) return;
  Demo.Reported = true;
  const std::vector<double>& times = Demo.FrameSeconds;
  const double total = Demo.LastFrameTime >= 0 ? Demo.LastFrameTime - Demo.FirstFrameTime : 0;
  std::vector<double> slowest = times;
  std::sort(slowest.begin(), slowest.end(), std::greater<double>());
  // The 1 % low: the frame rate over the slowest hundredth of the frames (at least one).
  const std::size_t hundredth = std::max<std::size_t>(1, slowest.size() / 100);
  double slowSum = 0;
  for (std::size_t i = 0; i < hundredth && i < slowest.size(); ++i) slowSum += slowest[i];
  const auto fps = [](double seconds) { return seconds > 0 ? 1.0 / seconds : 0.0; };
  std::printf("timedemo %s at %dx%d\n", Demo.Path.c_str(), Settings.ScreenWidth, Settings.ScreenHeight);
  std::printf("  frames %zu, seconds %.3f, average %.1f fps, lowest %.1f fps, 1%% low %.1f fps\n",
              times.size(), total, total > 0 ? static_cast<double>(times.size()) / total : 0.0,
              slowest.empty() ? 0.0 : fps(slowest.front()),
              slowest.empty() ? 0.0 : fps(slowSum / static_cast<double>(std::min(hundredth, slowest.size()))));
  const DemoResult& r = Demo.Demo.Result;
  if (Demo.DesyncStep != 0) {
    std::printf("  DESYNC at step %u of %u: %s\n", Demo.DesyncStep, r.Steps, Demo.DesyncWhat.c_str());
    Demo.ExitCode = DemoDesyncExitCode;
  } else {
    std::printf("  replay identical: %u steps, score %d, %d hits of %d shots, %zu checksums matched\n",
                r.Steps, r.Score, r.Hits, r.Shots, Demo.Demo.Checksums.size() + 1);
    Demo.ExitCode = 0;
  }
  std::fflush(stdout);
}

// The replay has run its course (or can go no further): a timedemo reports and closes.
void EndReplay(bool closeProgram) {
  Demo.InMatch = false;
  Demo.Done = true;
  if (Demo.Mode == DemoMode::Timedemo) {
    MarkFrame();
    ReportTimedemo();
    CloseProgram();
  } else if (Demo.DesyncStep == 0) {
    std::fprintf(stderr, "korvid: the replay of %s matched its recording: score %d, %d hits of %d shots\n",
                 Demo.Path.c_str(), World.LastGameScore, World.Hits, World.ShotsFired);
    if (closeProgram) CloseProgram();
  } else if (closeProgram) {
    CloseProgram();
  }
}

void NoteDesync(std::uint32_t step, const std::string& what) {
  if (Demo.DesyncStep != 0) return;
  Demo.DesyncStep = step;
  Demo.DesyncWhat = what;
  std::fprintf(stderr, "korvid: the replay of %s differs from its recording at step %u: %s\n",
               Demo.Path.c_str(), step, what.c_str());
  // A timedemo stops at the first difference; a played demo goes on to show what happens.
  if (Demo.Mode == DemoMode::Timedemo) EndReplay(true);
}

const DemoStep* CurrentStep() {
  if (Demo.Step == 0 || Demo.Step > Demo.Demo.Steps.size()) return nullptr;
  return &Demo.Demo.Steps[Demo.Step - 1];
}

}  // namespace

void ArmDemoRecording(const std::string& path) {
  EndDemoSession();
  Demo.Mode = DemoMode::Record;
  Demo.Path = path;
}

bool CheckDemoForReplay(const DemoFile& demo, std::string& error) {
  if (demo.EntryState.size() != MatchStateSize()) {
    error = "its starting state is not one this Korvid keeps (" + std::to_string(demo.EntryState.size()) +
            " bytes; this one keeps " + std::to_string(MatchStateSize()) + ")";
    return false;
  }
  SettingsRecord probe;
  if (demo.SettingsRecord.size() != DemoSettingsBytes || probe.ReadStoredRecord(demo.SettingsRecord) != 0) {
    error = "its settings record is damaged";
    return false;
  }
  return true;
}

bool StartDemoReplay(DemoMode mode, const DemoFile& demo, std::string& error) {
  if (!CheckDemoForReplay(demo, error)) return false;
  const std::string path = Demo.Path;
  EndDemoSession();
  Demo.Mode = mode;
  Demo.Path = path;
  Demo.Demo = demo;
  return true;
}

bool LoadDemoForReplay(DemoMode mode, const std::string& path, int width, int height, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, DemoFileLimit)) {
    std::error_code missing;
    error = std::filesystem::exists(path, missing) ? "it cannot be read, or is far too large" : "no such file";
    return false;
  }
  DemoFile demo;
  if (!DecodeDemo(bytes.data(), bytes.size(), demo, error)) return false;
  Demo.Path = path;
  if (!StartDemoReplay(mode, demo, error)) return false;
  Demo.Width = width;
  Demo.Height = height;
  // The player's own files are neither read nor written.
  GameFilesUntouched = true;
  return true;
}

void EndDemoSession() {
  Demo = DemoSession{};
  GameFilesUntouched = false;
}

void ApplyDemoSettings() {
  if (!DemoReplaying()) return;
  Settings.ReadStoredRecord(Demo.Demo.SettingsRecord);
  if (Demo.Mode == DemoMode::Timedemo) {
    // As fast as the machine allows: in the window, without the music's synthesiser.
    Settings.WindowMode = 1;
    Settings.MusicOn = 0;
    if (Demo.Width > 0 && Demo.Height > 0) {
      Settings.ScreenWidth = Demo.Width;
      Settings.ScreenHeight = Demo.Height;
    }
  }
}

void DemoMatchEntered() {
  if (Demo.InMatch || Demo.Done) return;
  if (Demo.Mode == DemoMode::Record) {
    DemoFile& d = Demo.Demo;
    d = DemoFile{};
    d.ProgramVersion = KORVID_VERSION_STRING;
    d.Seed = RandomState();
    d.SettingsRecord = Settings.StoredRecord(DemoSettingsKey);
    d.EntryState = SaveMatchState();
  } else if (DemoReplaying()) {
    // What the match carries in from before its entering frame is the recording's.
    RestoreMatchState(Demo.Demo.EntryState);
    SeedRandom(Demo.Demo.Seed);
    AppActive = 1;
    Demo.FirstFrameTime = Demo.LastFrameTime = Seconds();
  } else {
    return;
  }
  Demo.InMatch = true;
  Demo.Step = 0;
  Demo.RandomAfterStep = RandomState();
  Demo.Pending = DemoStep{};
}

void DemoMatchFinished() {
  if (!Demo.InMatch) return;
  if (Demo.Mode == DemoMode::Record) {
    FinishRecording(true);
    return;
  }
  const DemoResult& r = Demo.Demo.Result;
  if (!r.Finished || Demo.Step != r.Steps) {
    NoteDesync(std::min(Demo.Step, r.Steps) + (Demo.Step < r.Steps ? 0 : 1),
               "the match ended after step " + std::to_string(Demo.Step) +
                   (r.Finished ? "; the recorded one after step " + std::to_string(r.Steps)
                               : "; the recorded one did not end"));
  } else if (World.LastGameScore != r.Score || World.ShotsFired != r.Shots || World.Hits != r.Hits) {
    NoteDesync(Demo.Step, "the result differs (score " + std::to_string(World.LastGameScore) + ", " +
                              std::to_string(World.Hits) + " hits of " + std::to_string(World.ShotsFired) +
                              " shots)");
  } else if (MatchChecksum(Demo.RandomAfterStep) != Demo.Demo.FinalChecksum) {
    NoteDesync(Demo.Step, "the world at the end differs from the recording");
  }
  if (!Demo.Done) EndReplay(false);
}

void DemoStepBegins() {
  if (!Demo.InMatch) return;
  ++Demo.Step;
  Demo.PolledThisStep = false;
  if (Demo.Mode == DemoMode::Record) {
    if (Demo.Step > DemoStepLimit) {
      // Longer than a demo may be (an invincible player's match): what there is is kept.
      --Demo.Step;
      FinishRecording(false);
      return;
    }
    Demo.Demo.Steps.push_back(std::move(Demo.Pending));
    Demo.Pending = DemoStep{};
    return;
  }
  const std::uint32_t recorded = Demo.Demo.Result.Steps;
  if (Demo.Step == recorded + 1 && !Demo.Demo.Result.Finished) {
    // The recording was closed here: the state must be the one it was closed in.
    if (MatchChecksum(Demo.RandomAfterStep) != Demo.Demo.FinalChecksum)
      NoteDesync(recorded, "the world after the last step differs from the recording");
    if (!Demo.Done) EndReplay(true);
    return;
  }
  if (Demo.Step == recorded + 1) NoteDesync(Demo.Step, "the match goes on past its recorded end");
  const DemoStep* step = CurrentStep();
  if (!step) return;
  Demo.Injecting = true;
  for (const DemoMessage& m : step->Messages)
    MainWndProc(MainWindow, m.Id, m.WParam, static_cast<LPARAM>(static_cast<std::int32_t>(m.LParam)));
  Demo.Injecting = false;
}

void DemoStepEnds() {
  if (!Demo.InMatch) return;
  Demo.RandomAfterStep = RandomState();
  const bool checkpoint = Demo.Step % DemoChecksumInterval == 0;
  if (Demo.Mode == DemoMode::Record) {
    if (checkpoint) Demo.Demo.Checksums.push_back(MatchChecksum());
    return;
  }
  const DemoStep* step = CurrentStep();
  if (!step) return;
  if (step->Polled != Demo.PolledThisStep) {
    NoteDesync(Demo.Step, step->Polled ? "the recorded mouse poll did not happen" : "the mouse was polled where the recording was not");
    return;
  }
  const std::size_t index = Demo.Step / DemoChecksumInterval;
  if (checkpoint && index <= Demo.Demo.Checksums.size() && MatchChecksum() != Demo.Demo.Checksums[index - 1]) {
    NoteDesync(Demo.Step, "the world differs from the recording" +
                              (index > 1 ? " (it still matched at step " +
                                               std::to_string((index - 1) * DemoChecksumInterval) + ")"
                                         : std::string(" (the first check)")));
  }
}

bool DemoFrameAfterStep(bool onTime) {
  if (Demo.Mode == DemoMode::Record) {
    if (Demo.InMatch && !Demo.Demo.Steps.empty() && Demo.Step > 0) Demo.Demo.Steps.back().Framed = onTime;
    return onTime;
  }
  if (!DemoReplaying()) return onTime;
  const DemoStep* step = Demo.InMatch ? CurrentStep() : nullptr;
  const bool framed = step ? step->Framed : (DemoFlatOut() || onTime);
  if (framed && Demo.InMatch && DemoFlatOut()) MarkFrame();
  return framed;
}

bool DemoTakesMessage(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (!IsDemoMessage(message)) return false;
  if (Demo.Mode == DemoMode::Record) {
    if (Demo.InMatch)
      Demo.Pending.Messages.push_back(DemoMessage{message, static_cast<std::uint32_t>(wParam),
                                                  static_cast<std::uint32_t>(lParam)});
    return false;
  }
  if (!DemoReplaying() || Demo.Injecting) return false;
  // The player watches: only Escape is taken, and it ends the program as always.
  if (message == WM_KEYDOWN && wParam == EscapeKey) CloseProgram();
  return true;
}

void DemoMousePolled(MouseSnapshot& snapshot) {
  if (!Demo.InMatch) return;
  Demo.PolledThisStep = true;
  if (Demo.Mode == DemoMode::Record) {
    if (Demo.Demo.Steps.empty()) return;
    DemoStep& s = Demo.Demo.Steps.back();
    s.Polled = true;
    s.Mouse.DeltaX = snapshot.DeltaX;
    s.Mouse.DeltaY = snapshot.DeltaY;
    s.Mouse.Wheel = snapshot.Wheel;
    std::copy(std::begin(snapshot.Buttons), std::end(snapshot.Buttons), s.Mouse.Buttons);
    return;
  }
  const DemoStep* step = CurrentStep();
  snapshot = MouseSnapshot{};
  if (!step) return;
  snapshot.DeltaX = step->Mouse.DeltaX;
  snapshot.DeltaY = step->Mouse.DeltaY;
  snapshot.Wheel = step->Mouse.Wheel;
  std::copy(std::begin(step->Mouse.Buttons), std::end(step->Mouse.Buttons), snapshot.Buttons);
}

int EndDemoRun(int exitCode) {
  if (Demo.Mode == DemoMode::Record && Demo.InMatch) FinishRecording(false);
  if (Demo.Mode == DemoMode::Timedemo) {
    if (!Demo.Reported) {
      std::fprintf(stderr, "korvid: the timedemo of %s was closed before the match ended\n", Demo.Path.c_str());
      return 1;
    }
    return Demo.ExitCode;
  }
  return exitCode;
}

DemoFile RecordedDemo() { return Demo.Demo; }
