// The long-lived objects of the program, created before start-up and destroyed after it.
#include "world/game_world.h"

GameWorld World;
