// The fixed-step main loop.
#include "app/main_loop.h"

#include "app/app_globals.h"
#include "app/demo_run.h"
#include "platform/clock.h"
#include "platform/run_stats.h"
#include "platform/window.h"
#include "world/game_world.h"

int RunMainLoop(const MainLoopSteps& steps) {
  std::uint32_t now = TimeGetTime();
  std::uint32_t nextStepTime = now;
  std::uint32_t lastFpsTime = now;
  std::int32_t frameCount = 0;

  for (;;) {
    Message message;
    if (PeekMessage(message)) {
      if (message.Id == WM_QUIT) {
        DestroyWindow(MainWindow);
        return static_cast<int>(message.WParam);
      }
      DispatchMessage(message);
      continue;
    }
    if (AppActive == 0) {
      // Inactive: the schedule stands still, so the steps missed now run as a burst later.
      // Waiting for the next event instead of spinning keeps an idle game off the CPU.
      WaitMessage(10);
      continue;
    }
    now = TimeGetTime();
    // Compared by difference, so the schedule survives the clock's wrap.
    // A timedemo never waits.
    if (TimeAfter(nextStepTime, now) && !DemoFlatOut()) {
      Sleep(1);
      continue;
    }
    if (steps.Update) steps.Update();
    nextStepTime += StepMilliseconds;
    // A demo renders after the steps its recording did.
    const bool drawn = DemoFrameAfterStep(TimeAfter(nextStepTime, now));
    NoteRunStep(drawn);
    if (drawn) {
      if (steps.Render) steps.Render();
      ++frameCount;
      if (now - lastFpsTime >= FpsWindowMilliseconds) {
        lastFpsTime = now;
        World.Fps = frameCount;
        frameCount = 0;
      }
    }
  }
}
