// The game program: runs WinMain in the working directory beside File/.
#include "app/win_main.h"

int main() { return WinMain(); }
