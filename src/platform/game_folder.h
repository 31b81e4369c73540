// Where the game keeps its files: the classic folder beside File/, or the per-user folder in front of the installed pack.
#pragma once

#include <string>

struct GameFolderPlace {
  // The working directory holds File/: everything is read and written there, as always.
  bool Classic = true;
  // Where Setting.dat and Ranking.dat live; the program works with this as its current directory.
  std::string Folder;
  // The installed File/ folder, read for every file the player's own File/ lacks.
  std::string DefaultPack;
};

// The place in use; ResolveGamePath follows it. Classic until EnterGameFolder changes it.
extern GameFolderPlace GameFolder;

// Decides the place without touching the disk beyond looking: `xdgDataHome` and `home` are the
// environment's values (null when unset), `executable` the program's own absolute path.
// Fails, with the reason in `error`, when no per-user folder can be named.
bool ChooseGameFolder(const std::string& currentDir, const char* xdgDataHome, const char* home,
                      const std::string& executable, GameFolderPlace& place, std::string& error);

// Chooses the place for this process, creates the per-user folder on first start and makes it
// the working directory. On failure `error` says why and nothing has changed.
bool EnterGameFolder(std::string& error);

// The file to open for a game path such as "File\Bitmap\Title.dds": separators made '/', each
// component matched ignoring case, the player's own File/ first, then the installed pack.
// A path found nowhere comes back with only its separators changed, so errors name it.
std::string ResolveGamePath(const std::string& path);

// The game path of a picture in a language folder beside it ("File\Bitmap\x.dds" as
// "File/Bitmap/en/x.dds") when that file exists in the same File/ folder the picture itself is
// found in, or anywhere when the picture is found nowhere; otherwise `path` unchanged. So a
// player's own File/ keeps its pictures over the installed pack's translated ones.
std::string LanguagePicturePath(const std::string& path, const std::string& language);
