// One 16 ms step of a match, in the order the rules depend on.
#include "world/game_world.h"

void GameWorld::UpdateGame() {
  UpdateTrigger();
  UpdateShots();
  UpdatePlayer();
  UpdateEnemies();
  UpdateWeapon();
  ClampView();
}
