// The generator's sub-commands; each lives in its own file and is listed in main.cpp.
#pragma once

// argv[0] is the sub-command's first argument. Each returns the process exit code.
int RunWrite(int argc, char** argv);
int RunContactSheet(int argc, char** argv);
