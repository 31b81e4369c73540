// A player's hands for the end-to-end runs that must destroy an enemy: reads the X screen,
// finds an enemy, turns the view onto it with relative mouse motion and fires, until a file
// shows the match has ended.
//
//   e2e_hunt_enemy SECONDS DONE_FILE MARKER   hunts until DONE_FILE is newer than MARKER
//                                             (exit 0) or SECONDS have passed (exit 1)
//   e2e_hunt_enemy --find PICTURE.ppm          prints what the finder sees in a screenshot
//   e2e_hunt_enemy --look DX DY                turns the view by so many mouse counts
//
// An enemy is a dark grey ball with a red-orange eye. Its pixels are told apart from the sky,
// the walls, the trees and the ground by colour; the HUD strips, the gun and the aiming cursor
// are left out, and a red hit flash over the view is taken back out first.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct Rgb {
  int R, G, B;
};

bool IsEye(const Rgb& c) { return c.R > 150 && c.R - c.G > 70 && c.R - c.B > 80 && c.G >= c.B - 8; }

// The ball's shaded grey leans to blue, or to red near the eye's glow, unlike bark, soil and
// the walls' neutral grey.
bool IsBody(const Rgb& c) {
  const int hi = std::max({c.R, c.G, c.B});
  const int blue = c.B - c.G, red = c.R - c.G;
  return hi > 0x30 && hi < 0x78 && blue >= 0 && blue <= 20 && red >= -2 && red <= 24 &&
         (blue >= 7 || red >= 8);
}

struct Picture {
  int Width = 0, Height = 0;
  std::vector<unsigned> Pixels;  // 0xRRGGBB, row by row
};

struct Target {
  enum Kind { Nothing, Tinted, Seen } What = Nothing;
  double X = 0, Y = 0;  // from the screen's centre
  int Size = 0;         // pixels
};

struct Cluster {
  double SumX = 0, SumY = 0;
  int Count = 0, Eyes = 0;
  int MinX = 1 << 30, MinY = 1 << 30, MaxX = -1, MaxY = -1;
};

constexpr int MinimumBall = 250;

// Clusters of enemy-coloured pixels; with `near` (x and y relative to the centre, and the size
// last seen), the one closest to that point is taken, so that a moving target is followed
// rather than swapped.
Target Find(const Picture& picture, const double* near) {
  const int width = picture.Width, height = picture.Height;
  const int cx = width / 2, cy = height / 2;
  const int top = 45, bottom = height - 130, left = 24, right = width - 24;

  // While the player is hit a red flash is blended over the view. Its strength shows in the
  // darkest red values (the scene's darkest pixels are near black) and is taken back out.
  std::vector<int> reds;
  for (int y = top; y < bottom; y += 3)
    for (int x = left; x < right; x += 3) reds.push_back(static_cast<int>(picture.Pixels[y * width + x] >> 16));
  std::nth_element(reds.begin(), reds.begin() + reds.size() / 1000, reds.end());
  const double flash = std::clamp((reds[reds.size() / 1000] - 25) / 230.0, 0.0, 0.9);
  if (flash > 0.8) return {Target::Tinted};
  const double keep = 1.0 - flash;

  // 0 nothing, 1 body, 2 eye, 3 the aiming cursor: it joins what lies across it but counts for
  // nothing.
  std::vector<unsigned char> kind(static_cast<std::size_t>(width) * height, 0);
  int eyes = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (x >= 780 && y >= 580) continue;  // the gun
      const int ax = x - cx, ay = y - cy;
      const std::size_t at = static_cast<std::size_t>(y) * width + x;
      if ((ax >= -1 && ax <= 2 && std::abs(ay) <= 18) || (ay >= -1 && ay <= 2 && std::abs(ax) <= 18)) {
        kind[at] = 3;
        continue;
      }
      const unsigned p = picture.Pixels[at];
      const Rgb c{static_cast<int>((static_cast<double>(p >> 16) - 255 * flash) / keep),
                  static_cast<int>(static_cast<double>((p >> 8) & 0xFF) / keep),
                  static_cast<int>(static_cast<double>(p & 0xFF) / keep)};
      if (IsEye(c)) {
        kind[at] = 2;
        ++eyes;
      } else if (IsBody(c)) {
        kind[at] = 1;
      }
    }
  }
  if (eyes > 6000) return {Target::Tinted};  // more red than any enemy: the flash misjudged

  std::vector<Cluster> clusters;
  std::vector<std::pair<int, unsigned char>> todo;
  for (int start = 0; start < width * height; ++start) {
    if (!kind[start]) continue;
    Cluster c;
    todo.assign(1, {start, kind[start]});
    c.Eyes += kind[start] == 2;
    kind[start] = 0;
    while (!todo.empty()) {
      const auto [at, was] = todo.back();
      todo.pop_back();
      const int x = at % width, y = at / width;
      for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, height - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, width - 1); ++nx) {
          const int n = ny * width + nx;
          if (!kind[n]) continue;
          c.Eyes += kind[n] == 2;
          todo.push_back({n, kind[n]});
          kind[n] = 0;
        }
      }
      if (was == 3) continue;
      c.SumX += x;
      c.SumY += y;
      ++c.Count;
      c.MinX = std::min(c.MinX, x);
      c.MaxX = std::max(c.MaxX, x);
      c.MinY = std::min(c.MinY, y);
      c.MaxY = std::max(c.MaxY, y);
    }
    clusters.push_back(c);
  }

  // A ball is roundish and fills its box; thin lines and big shaded areas are not enemies.
  // Only balls within some 5000 units are taken (a radius of 9 pixels or more): smaller ones
  // are too far to hit and too like the specks of shade in trees and soil. Followed, the ball
  // nearest the point given, if it lies near it and is of a like size.
  const Cluster* best = nullptr;
  auto distance = [&](const Cluster& c) {
    return std::hypot(c.SumX / c.Count - cx - near[0], c.SumY / c.Count - cy - near[1]);
  };
  for (const Cluster& c : clusters) {
    const int w = c.MaxX - c.MinX + 1, h = c.MaxY - c.MinY + 1;
    if (c.Count < MinimumBall || w > 4 * h || h > 4 * w) continue;
    if (c.Count * 10 < w * h * 4 || w > 200 || h > 200) continue;
    if (near) {
      if (distance(c) > 100 || c.Count * 2 < near[2] || c.Count > near[2] * 2) continue;
      if (!best || distance(c) < distance(*best)) best = &c;
    } else if (!best || c.Count > best->Count) {
      best = &c;
    }
  }
  if (!best) return {};
  return {Target::Seen, best->SumX / best->Count - cx, best->SumY / best->Count - cy, best->Count};
}

bool ReadPpm(const char* path, Picture& picture) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  int maxValue = 0;
  bool ok = std::fscanf(file, "P6 %d %d %d", &picture.Width, &picture.Height, &maxValue) == 3 &&
            maxValue == 255 && picture.Width > 0 && picture.Height > 0 && picture.Width <= 8192 &&
            picture.Height <= 8192 && std::fgetc(file) != EOF;
  if (ok) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    picture.Pixels.resize(bytes.size() / 3);
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i)
      picture.Pixels[i] = (bytes[3 * i] << 16) | (bytes[3 * i + 1] << 8) | bytes[3 * i + 2];
  }
  std::fclose(file);
  return ok;
}

struct Hands {
  Display* X = nullptr;
  Window Root = 0;

  bool Grab(Picture& picture) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(X, Root, &attributes);
    XImage* image = XGetImage(X, Root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    picture.Width = attributes.width;
    picture.Height = attributes.height;
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * picture.Height);
    for (int y = 0; y < picture.Height; ++y)
      for (int x = 0; x < picture.Width; ++x)
        picture.Pixels[static_cast<std::size_t>(y) * picture.Width + x] =
            static_cast<unsigned>(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return true;
  }

  // Relative motion in moves of at most 3 counts (the server accelerates bigger ones), one a
  // game step: each move message turns the view by the motion the game polled at its last
  // step, so moves bunched into one step would each repeat it and sparse ones would be lost.
  void Look(int dx, int dy) const {
    const int n = std::max(std::abs(dx), std::abs(dy)) / 3 + 1;
    for (int i = 1; i <= n; ++i) {
      XTestFakeRelativeMotionEvent(X, dx * i / n - dx * (i - 1) / n, dy * i / n - dy * (i - 1) / n, CurrentTime);
      XFlush(X);
      usleep(17000);
    }
  }

  // Held over a few game steps: the trigger is read once a step.
  void Fire() const {
    XTestFakeButtonEvent(X, 1, True, CurrentTime);
    XFlush(X);
    usleep(80000);
    XTestFakeButtonEvent(X, 1, False, CurrentTime);
    XFlush(X);
  }

  void Press(KeySym key) const {
    const KeyCode code = XKeysymToKeycode(X, key);
    XTestFakeKeyEvent(X, code, True, CurrentTime);
    XFlush(X);
    usleep(80000);
    XTestFakeKeyEvent(X, code, False, CurrentTime);
    XFlush(X);
  }
};

bool NewerThan(const char* file, const char* marker) {
  struct stat a{}, b{};
  if (stat(file, &a) != 0 || stat(marker, &b) != 0) return false;
  return a.st_mtim.tv_sec > b.st_mtim.tv_sec ||
         (a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec > b.st_mtim.tv_nsec);
}

void Pause(int milliseconds) { usleep(static_cast<useconds_t>(milliseconds) * 1000); }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--find") {
    Picture picture;
    if (!ReadPpm(argv[2], picture)) return 2;
    const Target t = Find(picture, nullptr);
    if (t.What == Target::Seen) std::printf("%.0f %.0f %d\n", t.X, t.Y, t.Size);
    else std::puts(t.What == Target::Tinted ? "tinted" : "none");
    return 0;
  }
  if (argc == 4 && std::string_view(argv[1]) == "--look") {
    Hands hands;
    if (!(hands.X = XOpenDisplay(nullptr))) return 2;
    hands.Look(std::atoi(argv[2]), std::atoi(argv[3]));
    XCloseDisplay(hands.X);
    return 0;
  }
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SECONDS DONE_FILE MARKER | --find PICTURE.ppm\n", argv[0]);
    return 2;
  }
  Hands hands;
  hands.X = XOpenDisplay(nullptr);
  if (!hands.X) {
    std::fprintf(stderr, "e2e_hunt_enemy: no X display\n");
    return 2;
  }
  hands.Root = DefaultRootWindow(hands.X);

  // One mouse count turns the view by 0.25 degrees, about 5.4 pixels near the centre; the
  // game's reading of motion makes turns come out some 20 % bigger, so aim a little short.
  constexpr double PixelsPerCount = 6.5;
  const auto start = std::chrono::steady_clock::now();
  const auto limit = start + std::chrono::seconds(std::atoi(argv[1]));
  int fired = 0, seen = 0, lost = 0, turns = 0;
  bool tracking = false;
  double last[2] = {}, moved[2] = {}, drift[2] = {}, lastSize = 0;
  Picture picture;
  // The view levelled against the lowest pitch (-70 degrees), then raised a little, where the
  // enemies fly against the sky. `pitch` counts the turns up or down since.
  hands.Look(0, -400);
  hands.Look(0, 250);
  int pitch = 0;
  while (!NewerThan(argv[2], argv[3])) {
    if (std::chrono::steady_clock::now() > limit) {
      std::printf("hunt: time up after %d shots, %d sightings\n", fired, seen);
      return 1;
    }
    if (!hands.Grab(picture)) return 2;
    const double predicted[3] = {last[0] - moved[0] + drift[0], last[1] - moved[1] + drift[1], lastSize};
    Target t = Find(picture, tracking ? predicted : nullptr);
    if (tracking && t.What == Target::Nothing) {
      tracking = false;  // lost it: any ball will do
      t = Find(picture, nullptr);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (t.What == Target::Tinted) {
      Pause(100);
      continue;
    }
    if (t.What == Target::Nothing) {
      tracking = false;
      if (++lost >= 4) {
        hands.Look(160, -pitch);  // 40 degrees on, back to the pitch the hunt began with
        pitch = 0;
        lost = 0;
        // Once a full turn, levelled afresh: a move the game did not take would otherwise
        // leave the view looking at the sky or the ground for good.
        if (++turns % 9 == 0) {
          hands.Look(0, -400);
          hands.Look(0, 250);
        }
      }
      Pause(40);
      continue;
    }
    ++seen;
    lost = 0;
    // The drift: where it shows against where it would show had it stood still.
    if (tracking) {
      for (int a = 0; a < 2; ++a)
        drift[a] = std::clamp(0.5 * drift[a] + 0.5 * ((a ? t.Y : t.X) - last[a] + moved[a]), -40.0, 40.0);
    } else {
      drift[0] = drift[1] = 0;
    }
    last[0] = t.X;
    last[1] = t.Y;
    lastSize = t.Size;
    // The ball's radius on screen: its 40 units are the hit cube's half side.
    const double reach = std::sqrt(t.Size / 3.14) + 1;
    const double leadX = t.X + drift[0] / 2, leadY = t.Y + drift[1] / 2;
    std::printf("%6.1fs seen %.0f %.0f size %d drift %.0f %.0f\n", seconds, t.X, t.Y, t.Size, drift[0], drift[1]);
    std::fflush(stdout);
    if (std::fabs(leadX) <= reach && std::fabs(leadY) <= reach) {
      hands.Fire();
      ++fired;
      pitch += 4;  // the rifle's kick raises the view by a degree
      tracking = false;
      std::printf("%6.1fs fired at %.0f %.0f (size %d)\n", seconds, t.X, t.Y, t.Size);
      std::fflush(stdout);
      Pause(400);  // the bolt
      if (fired % 10 == 0) {
        hands.Press(XK_r);
        Pause(2500);
      }
      continue;
    }
    const int dx = static_cast<int>(std::lround((t.X + drift[0]) / PixelsPerCount));
    const int dy = static_cast<int>(std::lround(-(t.Y + drift[1]) / PixelsPerCount));
    hands.Look(dx, dy);
    pitch += dy;
    moved[0] = dx * PixelsPerCount;
    moved[1] = -dy * PixelsPerCount;
    tracking = true;
    Pause(80);  // a frame drawn after the turn
  }
  std::printf("hunt: the match ended after %d shots, %d sightings\n", fired, seen);
  return 0;
}
