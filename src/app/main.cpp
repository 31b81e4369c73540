// The game program: runs WinMain in the working directory beside File/.
#include "app/win_main.h"

// The sound, music and mouse objects release their devices at exit; the picture and model
// objects live in the GL context, which goes with the window and the process.
int main() { return WinMain(); }
