// CheckSoundAssets: every sound and music file read the way the game reads it.
#pragma once

#include <string>
#include <vector>

// `fileFolder` is the File/ folder. Appends one line per file that would stop start-up.
bool CheckSoundAssets(const std::string& fileFolder, std::vector<std::string>& problems);
