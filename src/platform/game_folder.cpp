// The game folder: classic or per-user, the installed pack behind it, and case-blind file lookup.
#include "platform/game_folder.h"

#include <dirent.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#ifndef KORVID_PACK_FROM_BIN
#define KORVID_PACK_FROM_BIN "../share/korvid/File"
#endif

GameFolderPlace GameFolder;

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Every entry of `folder` named `name` ignoring case, the exact spelling first (found even
// where the folder may be entered but not listed).
std::vector<std::string> EntriesIgnoringCase(const std::string& folder, const std::string& name) {
  std::vector<std::string> found;
  if (Exists(folder + name)) found.push_back(name);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  while (dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0 && name != entry->d_name) found.push_back(entry->d_name);
  }
  closedir(dir);
  return found;
}

// A File folder in any letter case, as the game's lookups would find it.
bool HoldsFileFolder(const std::string& folder) {
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (const std::string& name : EntriesIgnoringCase(prefix, "File"))
    if (IsFolder(prefix + name)) return true;
  return false;
}

// Resolves the components of `slashed` from `start` below `resolved`, trying every spelling of
// each (a folder may hold both "File" and "FILE" and only one of them the file).
std::string MatchFrom(const std::string& slashed, std::size_t start, const std::string& resolved) {
  while (start < slashed.size() && slashed[start] == '/') ++start;
  if (start >= slashed.size()) return resolved;
  std::size_t end = slashed.find('/', start);
  if (end == std::string::npos) end = slashed.size();
  const std::string part = slashed.substr(start, end - start);
  for (const std::string& name : EntriesIgnoringCase(resolved, part)) {
    std::string below = resolved + name;
    if (end < slashed.size()) below += "/";
    const std::string found = MatchFrom(slashed, end, below);
    if (!found.empty()) return found;
  }
  return {};
}

// The existing file for `slashed`, each component matched ignoring case where the exact name
// is absent (data copied from another system may differ in letter case), or empty.
std::string MatchIgnoringCase(const std::string& slashed) {
  if (Exists(slashed)) return slashed;
  return MatchFrom(slashed, 0, slashed[0] == '/' ? "/" : "");
}

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// Creates every missing component; new folders are private to the player.
bool MakeFolders(const std::string& path, std::string& error) {
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    const std::string prefix = path.substr(0, at);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
      error = "cannot create " + prefix + ": " + std::strerror(errno);
      return false;
    }
  }
  if (!IsFolder(path)) {
    error = path + " is not a folder";
    return false;
  }
  return true;
}

std::string CurrentFolder() {
  std::error_code failed;
  const std::filesystem::path here = std::filesystem::current_path(failed);
  return failed ? std::string(".") : here.string();
}

std::string OwnExecutable() {
  std::error_code failed;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
  return failed ? std::string() : self.string();
}

}  // namespace

bool ChooseGameFolder(const std::string& currentDir, const char* xdgDataHome, const char* home,
                      const std::string& executable, GameFolderPlace& place, std::string& error) {
  place = GameFolderPlace{};
  if (HoldsFileFolder(currentDir)) {
    place.Folder = currentDir;
    return true;
  }

  // Relative values of these variables are invalid and ignored.
  std::string base;
  if (IsAbsolute(xdgDataHome)) {
    base = xdgDataHome;
  } else if (IsAbsolute(home)) {
    base = std::string(home) + "/.local/share";
  } else {
    error = "neither XDG_DATA_HOME nor HOME names an absolute folder for the game's files";
    return false;
  }
  place.Classic = false;
  place.Folder = std::filesystem::path(base + "/korvid").lexically_normal().string();
  while (place.Folder.size() > 1 && place.Folder.back() == '/') place.Folder.pop_back();

  // Installed: <prefix>/bin/korvid (/usr/games/korvid from the package) with
  // <prefix>/share/korvid/File. Built: File/ beside it.
  const std::filesystem::path bin = std::filesystem::path(executable).parent_path();
  for (const std::filesystem::path& pack : {bin / KORVID_PACK_FROM_BIN, bin / "File"}) {
    if (!executable.empty() && IsFolder(pack.string())) {
      place.DefaultPack = pack.lexically_normal().string();
      break;
    }
  }
  return true;
}

bool EnterGameFolder(std::string& error) {
  const char* home = std::getenv("HOME");
  if (!IsAbsolute(home)) {
    const passwd* entry = getpwuid(getuid());
    home = entry ? entry->pw_dir : nullptr;
  }
  GameFolderPlace place;
  if (!ChooseGameFolder(CurrentFolder(), std::getenv("XDG_DATA_HOME"), home, OwnExecutable(), place, error))
    return false;
  if (!place.Classic) {
    if (!MakeFolders(place.Folder, error)) return false;
    if (chdir(place.Folder.c_str()) != 0) {
      error = "cannot enter " + place.Folder + ": " + std::strerror(errno);
      return false;
    }
    if (place.DefaultPack.empty() && !HoldsFileFolder("")) {
      std::fprintf(stderr, "korvid: no installed File folder next to the program, and none in %s\n",
                   place.Folder.c_str());
    }
  }
  GameFolder = place;
  return true;
}

std::string LanguagePicturePath(const std::string& path, const std::string& language) {
  if (language.empty()) return path;
  std::string slashed = path;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  const std::size_t cut = slashed.rfind('/');
  if (cut == std::string::npos) return path;
  const std::string translated = slashed.substr(0, cut + 1) + language + slashed.substr(cut);
  std::error_code failed;
  const std::filesystem::path found = ResolveGamePath(translated);
  if (!std::filesystem::is_regular_file(found, failed)) return path;
  const std::filesystem::path original = ResolveGamePath(path);
  if (std::filesystem::is_regular_file(original, failed) &&
      original.parent_path().lexically_normal() != found.parent_path().parent_path().lexically_normal())
    return path;
  return translated;
}

std::string ResolveGamePath(const std::string& path) {
  std::string slashed = path;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (slashed.empty()) return slashed;
  std::string found = MatchIgnoringCase(slashed);
  if (!found.empty()) return found;
  if (!GameFolder.Classic && !GameFolder.DefaultPack.empty()) {
    const std::size_t slash = slashed.find('/');
    if (slash != std::string::npos && strcasecmp(slashed.substr(0, slash).c_str(), "File") == 0) {
      found = MatchIgnoringCase(GameFolder.DefaultPack + slashed.substr(slash));
      if (!found.empty()) return found;
    }
  }
  return slashed;
}
