// Screenshots: choosing the folder and the name, encoding with stb's PNG writer, writing without overwriting.
#include "platform/screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <stb_image_write.h>

#include "platform/render/render_device.h"

namespace {
constexpr int MaxShotsPerSecond = 1000;

// The XDG_PICTURES_DIR line of user-dirs.dirs: XDG_PICTURES_DIR="$HOME/Pictures".
std::string PicturesFromUserDirs(const std::string& file, const std::string& home) {
  std::ifstream in(file);
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    const std::string key = "XDG_PICTURES_DIR=";
    const std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) continue;
    std::string value = line.substr(at + key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t')) value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    if (!value.empty() && value.front() == '/') found = value;
  }
  return found;
}

void AppendEncoded(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

bool WriteNewFile(const std::string& path, const std::string& bytes, int& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = errno;
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      ::close(fd);
      ::unlink(path.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) {
    error = errno;
    ::unlink(path.c_str());
    return false;
  }
  return true;
}
}  // namespace

std::string ScreenshotFolder(const char* picturesDir, const char* configHome, const char* home,
                             const std::string& dataFolder) {
  const std::string homeDir = home ? home : "";
  std::string pictures = picturesDir ? picturesDir : "";
  if (pictures.empty()) {
    std::string config = configHome && configHome[0] == '/' ? configHome : "";
    if (config.empty() && !homeDir.empty()) config = homeDir + "/.config";
    if (!config.empty()) pictures = PicturesFromUserDirs(config + "/user-dirs.dirs", homeDir);
  }
  while (pictures.size() > 1 && pictures.back() == '/') pictures.pop_back();
  // A pictures folder set to the home folder means the desktop has none.
  if (pictures.empty() || pictures[0] != '/' || pictures == homeDir) return dataFolder;
  return pictures + "/Korvid";
}

std::string ScreenshotFileName(const std::tm& t, int shotOfSecond) {
  char name[64];
  std::snprintf(name, sizeof name, "korvid-%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  std::string text = name;
  if (shotOfSecond > 1) text += "-" + std::to_string(shotOfSecond);
  return text + ".png";
}

bool SaveScreenshot(RenderDevice* device, const std::string& folder, std::string& path, std::string& error) {
  std::vector<std::uint32_t> argb;
  int width = 0, height = 0;
  if (!device || !device->ReadBackBuffer(argb, width, height) || width <= 0 || height <= 0) {
    error = "the picture could not be read";
    return false;
  }
  // The alpha of the back buffer is not part of what the player sees.
  std::vector<std::uint8_t> rgb(argb.size() * 3);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    rgb[i * 3] = static_cast<std::uint8_t>(argb[i] >> 16);
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(argb[i] >> 8);
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(argb[i]);
  }
  std::string png;
  if (!stbi_write_png_to_func(AppendEncoded, &png, width, height, 3, rgb.data(), width * 3) || png.empty()) {
    error = "the PNG could not be encoded";
    return false;
  }
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) {
    error = folder + ": " + made.message();
    return false;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  for (int shot = 1; shot <= MaxShotsPerSecond; ++shot) {
    const std::string candidate = folder + "/" + ScreenshotFileName(local, shot);
    int failure = 0;
    if (WriteNewFile(candidate, png, failure)) {
      path = candidate;
      return true;
    }
    if (failure != EEXIST) {
      error = candidate + ": " + std::strerror(failure);
      return false;
    }
  }
  error = folder + ": too many screenshots in one second";
  return false;
}

std::string ScreenshotFolderHere() {
  std::error_code failed;
  const std::string here = std::filesystem::current_path(failed).string();
  return ScreenshotFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), here);
}
