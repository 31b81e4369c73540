// Modal message boxes (UTF-8), with a seam that lets tests answer them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"

enum : std::uint32_t {
  MB_OK = 0x0,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONWARNING = 0x30,
};

enum : int {
  IDOK = 1,
  IDYES = 6,
  IDNO = 7,
};

// Shows the box and waits for the answer. Works before any window exists (owner null).
int MessageBox(HWND owner, const char* text, const char* caption, std::uint32_t type);

struct ShownMessageBox {
  std::string Text;
  std::string Caption;
  std::uint32_t Type = 0;
  bool Owned = false;
  HWND Owner = nullptr;
};

// While capturing, boxes are recorded instead of shown and answered from the queue;
// an empty queue answers the default button (OK or Yes).
void BeginMessageBoxCapture();
void QueueMessageBoxAnswer(int answer);
const std::vector<ShownMessageBox>& CapturedMessageBoxes();
void EndMessageBoxCapture();
