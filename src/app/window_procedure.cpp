// MainWndProc: activation, destruction, keys, mouse movement and buttons.
#include "app/window_procedure.h"

#include "app/app_globals.h"
#include "world/game_world.h"

LRESULT MainWndProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      // Only the low word says whether the window is active; the minimised flag is ignored.
      AppActive = (wParam & 0xFFFF) == WA_INACTIVE ? 0 : 1;
      return 0;
    case WM_KEYDOWN:
      World.OnKeyDown(static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_KEYUP:
      World.OnKeyUp(static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      World.OnMouseMove(lParam);
      return 0;
    case WM_LBUTTONDOWN:
      World.OnPlayLeftButtonDown();
      return 0;
    case WM_LBUTTONUP:
      World.OnPlayLeftButtonUp();
      return 0;
    case WM_RBUTTONDOWN:
      World.OnPlayRightButtonDown();
      return 0;
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}
