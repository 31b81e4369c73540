// A player's hands for the end-to-end runs that must destroy an enemy: reads the X screen,
// finds an enemy, turns the view onto it with relative mouse motion and fires, until a file
// shows the match has ended.
//
//   e2e_hunt_enemy SECONDS DONE_FILE MARKER [KILLS]
//                                             hunts until DONE_FILE is newer than MARKER
//                                             (exit 0) or SECONDS have passed (exit 1); after
//                                             KILLS kills (default 1) it seeks enemy fire
//   e2e_hunt_enemy --find PICTURE.ppm          prints what the finder sees in a screenshot
//   e2e_hunt_enemy --look DX DY                turns the view by so many mouse counts
//
// With KORVID_E2E_PAD naming the game's test-pad FIFO, the hands are a game controller instead:
// the right stick turns, the left stick walks, the right trigger fires and X reloads.
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
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct Rgb {
  int R, G, B;
};

bool IsEye(const Rgb& c) { return c.R > 150 && c.R - c.G > 70 && c.R - c.B > 80 && c.G >= c.B - 8; }

// The ball's shaded grey leans to blue, the more so in the fog, or to red near the eye's glow,
// unlike bark, soil and the walls' neutral grey; the sky is brighter and bluer still.
bool IsBody(const Rgb& c) {
  const int hi = std::max({c.R, c.G, c.B});
  const int blue = c.B - c.G, red = c.R - c.G;
  if (hi <= 0x30 || hi >= 0xA0) return false;
  const bool cool = blue >= 10 && blue <= 22 && red >= -10 && red <= 24;
  const bool warm = red >= 8 && red <= 24 && blue >= 0 && blue <= 20;
  return cool || warm;
}

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtol(text, nullptr, 10) : fallback;
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

// Right-stick push that turns by `counts` mouse counts a step at the default look speed (12
// counts a step at full push) and dead zone (15 %), past which the response is square.
int StickFor(double counts) {
  if (std::abs(counts) < 0.01) return 0;
  const double push = 0.15 + 0.85 * std::sqrt(std::min(std::abs(counts) / 12.0, 1.0));
  return static_cast<int>(std::lround((counts < 0 ? -push : push) * 32767));
}

struct Hands {
  Display* X = nullptr;
  Window Root = 0;
  FILE* Pad = nullptr;  // the test pad's FIFO, when the hands are a pad

  void PadLine(const char* line) const {
    std::fputs(line, Pad);
    std::fputc('\n', Pad);
    std::fflush(Pad);
  }
  void PadAxis(const char* axis, int value) const {
    char line[64];
    std::snprintf(line, sizeof line, "axis %s %d", axis, value);
    PadLine(line);
  }

  // The screen as if the picture were stretched over all of it: the game keeps the back
  // buffer's shape between black bars, and every place this program looks at is written for
  // the stretched picture.
  bool Grab(Picture& picture) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(X, Root, &attributes);
    XImage* image = XGetImage(X, Root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    const int width = attributes.width, height = attributes.height;
    const long backWidth = EnvNumber("KORVID_E2E_BACK_W", 640), backHeight = EnvNumber("KORVID_E2E_BACK_H", 480);
    long picX = 0, picY = 0, picW = width, picH = height;
    if (width * backHeight > height * backWidth) {
      picW = (2 * height * backWidth / backHeight + 1) / 2;
      picX = (width - picW) / 2;
    } else if (width * backHeight < height * backWidth) {
      picH = (2 * width * backHeight / backWidth + 1) / 2;
      picY = (height - picH) / 2;
    }
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize(static_cast<std::size_t>(width) * height);
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                        image->red_mask == 0xFF0000 && image->blue_mask == 0xFF;
    for (int y = 0; y < height; ++y) {
      const int sy = static_cast<int>(picY + static_cast<long>(y) * picH / height);
      unsigned* row = &picture.Pixels[static_cast<std::size_t>(y) * width];
      const auto* source = reinterpret_cast<const unsigned*>(image->data + static_cast<std::size_t>(sy) * image->bytes_per_line);
      for (int x = 0; x < width; ++x) {
        const int sx = static_cast<int>(picX + static_cast<long>(x) * picW / width);
        row[x] = (direct ? source[sx] : static_cast<unsigned>(XGetPixel(image, sx, sy))) & 0xFFFFFF;
      }
    }
    XDestroyImage(image);
    return true;
  }

  // Relative motion in moves of at most 3 counts (the server accelerates bigger ones), one a
  // game step: each move message turns the view by the motion the game polled at its last
  // step, so moves bunched into one step would each repeat it and sparse ones would be lost.
  // How far a move really turns therefore varies with the machine's load: every turn is
  // measured on the screen afterwards rather than trusted.
  void Look(int dx, int dy) const {
    const int n = std::max(std::abs(dx), std::abs(dy)) / 3 + 1;
    if (Pad) {
      // The stick held for n steps at the push that gives the same counts a step.
      PadAxis("rightx", StickFor(static_cast<double>(dx) / n));
      PadAxis("righty", StickFor(static_cast<double>(dy) / n));
      usleep(static_cast<useconds_t>(n) * 16000);
      PadAxis("rightx", 0);
      PadAxis("righty", 0);
      return;
    }
    for (int i = 1; i <= n; ++i) {
      XTestFakeRelativeMotionEvent(X, dx * i / n - dx * (i - 1) / n, dy * i / n - dy * (i - 1) / n, CurrentTime);
      XFlush(X);
      usleep(17000);
    }
  }

  // A key or button held over a few game steps: input is read once a step.
  void Hold(unsigned code, bool button, int milliseconds) const {
    if (Pad) {
      HoldOnPad(code, button, milliseconds);
      return;
    }
    if (button) XTestFakeButtonEvent(X, code, True, CurrentTime);
    else XTestFakeKeyEvent(X, code, True, CurrentTime);
    XFlush(X);
    usleep(static_cast<useconds_t>(milliseconds) * 1000);
    if (button) XTestFakeButtonEvent(X, code, False, CurrentTime);
    else XTestFakeKeyEvent(X, code, False, CurrentTime);
    XFlush(X);
  }

  // The keys and the button the hunter uses, on the pad: the turn key's 5 counts a step on the
  // right stick, the forward key on the left stick, the left button on the right trigger.
  void HoldOnPad(unsigned code, bool button, int milliseconds) const {
    const char* on = nullptr;
    const char* off = nullptr;
    char push[64];
    if (button) {
      on = "axis righttrigger 32767", off = "axis righttrigger 0";
    } else if (code == XKeysymToKeycode(X, XK_e)) {
      std::snprintf(push, sizeof push, "axis rightx %d", StickFor(5));
      on = push, off = "axis rightx 0";
    } else if (code == XKeysymToKeycode(X, XK_w)) {
      on = "axis lefty -32768", off = "axis lefty 0";
    } else if (code == XKeysymToKeycode(X, XK_r)) {
      on = "button x 1", off = "button x 0";
    } else {
      std::fprintf(stderr, "e2e_hunt_enemy: no pad control for key code %u\n", code);
      return;
    }
    PadLine(on);
    usleep(static_cast<useconds_t>(milliseconds) * 1000);
    PadLine(off);
  }

  // Long enough that a slow frame of a loaded machine does not swallow the whole press.
  void Fire() const { Hold(1, true, 250); }
  void Press(KeySym key, int milliseconds = 80) const { Hold(XKeysymToKeycode(X, key), false, milliseconds); }
};

// The ground (soil and grass) is warmer than the walls' neutral grey and the blue sky.
bool IsGround(unsigned p) {
  const int r = static_cast<int>(p >> 16), g = static_cast<int>((p >> 8) & 0xFF), b = static_cast<int>(p & 0xFF);
  return (r + g) / 2 - b >= 14;
}

// The screen row where the ground ends, seen up the left half of the view (trees stand in
// some columns, so the middle of eight is taken): the view's top when it looks at the ground
// only, its bottom when it sees no ground.
int HorizonRow(const Picture& picture) {
  const int top = 45, bottom = picture.Height - 130;
  std::vector<int> rows;
  for (int column = 0; column < 8; ++column) {
    const int x = 60 + column * (picture.Width / 2 - 120) / 7;
    int y = bottom, run = 0;
    for (int row = bottom; row > top && run < 12; --row) {
      if (IsGround(picture.Pixels[static_cast<std::size_t>(row) * picture.Width + x])) {
        run = 0;
        y = row;
      } else {
        ++run;
      }
    }
    rows.push_back(run < 12 ? top : y);
  }
  std::nth_element(rows.begin(), rows.begin() + 4, rows.end());
  return rows[4];
}

bool NewerThan(const char* file, const char* marker) {
  struct stat a{}, b{};
  if (stat(file, &a) != 0 || stat(marker, &b) != 0) return false;
  return a.st_mtim.tv_sec > b.st_mtim.tv_sec ||
         (a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec > b.st_mtim.tv_nsec);
}

void Pause(int milliseconds) { usleep(static_cast<useconds_t>(milliseconds) * 1000); }

// The hunt: look round for a ball, turn onto it, walk up to it and fire; after the wanted
// kills, walk up to a ball and stand beside it until its fire ends the match (enemies on the
// easiest difficulty barely move and may never come near a player who waits).
int Hunt(const Hands& hands, int seconds, const char* doneFile, const char* marker, int wantedKills) {
  const auto start = std::chrono::steady_clock::now();
  const auto limit = start + std::chrono::seconds(seconds);
  auto now = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  auto say = [&](const char* format, auto... values) {
    std::printf("%6.1fs ", now());
    std::printf(format, values...);
    std::printf("\n");
    std::fflush(stdout);
  };
  // Screen pixels one mouse count turns the view by, learnt from each turn that was seen.
  double pixelsPerCount = 6.5;
  Picture picture;

  // Level the view: down against the lowest pitch, then up until the ground ends so far down
  // the view (a fraction of its height): a little below the middle, where far balls show
  // against the walls, or near the bottom, for near balls high up.
  auto level = [&](int percent) {
    hands.Look(0, -400);
    for (int tries = 0; tries < 16; ++tries) {
      usleep(120000);
      if (!hands.Grab(picture)) return;
      const int row = HorizonRow(picture), wanted = picture.Height * percent / 100;
      if (std::abs(row - wanted) < picture.Height / 20) return;
      const int counts = std::clamp(static_cast<int>((wanted - row) * 0.6 / pixelsPerCount), -40, 40);
      hands.Look(0, counts != 0 ? counts : (wanted > row ? 1 : -1));
    }
  };
  level(62);

  int fired = 0, seen = 0, lost = 0, turns = 0, kills = 0;
  bool tracking = false;
  double last[3] = {};  // where the ball followed was last seen, and its size
  double boost[2] = {1, 1};
  unsigned lastHealth = 0;
  double lastHit = -10;
  while (!NewerThan(doneFile, marker)) {
    if (std::chrono::steady_clock::now() > limit) {
      say("hunt: time up after %d shots, %d sightings, %d kills", fired, seen, kills);
      return 1;
    }
    if (!hands.Grab(picture)) return 2;
    // The health figure in the bottom left corner changes while an enemy's fire hits.
    unsigned health = 0;
    for (int y = picture.Height - 60; y < picture.Height - 2; ++y)
      for (int x = 0; x < 150; ++x) health = health * 31 + picture.Pixels[static_cast<std::size_t>(y) * picture.Width + x];
    if (health != lastHealth) {
      if (lastHealth != 0) lastHit = now();
      lastHealth = health;
    }
    Target t = Find(picture, tracking ? last : nullptr);
    if (tracking && t.What == Target::Nothing) {
      tracking = false;  // lost it: the nearest ball will do
      t = Find(picture, nullptr);
    }
    if (t.What == Target::Tinted) {
      Pause(100);
      continue;
    }
    if (t.What == Target::Nothing) {
      tracking = false;
      if (kills >= wantedKills && now() - lastHit < 1.5) {
        Pause(300);  // an enemy out of sight is firing: standing still, the player dies sooner
        continue;
      }
      if (++lost >= 3) {
        // Some 40 degrees on with the turn key, which turns by a fixed angle a step (the
        // mouse's turns vary). Once round with nothing in sight, a walk on a new heading (a
        // wall only stops a walk straight into it), further while seeking an enemy's fire, and
        // the view levelled afresh (a mouse turn the game took only in part tilts it), looking
        // higher every other time.
        hands.Press(XK_e, 500);
        lost = 0;
        if (++turns % 9 == 0) {
          hands.Press(XK_e, 100 + std::rand() % 1400);
          hands.Press(XK_w, kills >= wantedKills ? 3000 : 1500);
          level(turns % 18 == 0 ? 62 : 84);
        }
      }
      Pause(40);
      continue;
    }
    ++seen;
    lost = 0;
    // The ball's radius on screen. Shots leave from the gun, half a ball's width right of the
    // view's line at any distance, so the ball is held that much right of the cursor.
    const double radius = std::sqrt(t.Size / 3.14);
    const double error[2] = {t.X - 0.4 * radius, t.Y};
    say("seen %.0f %.0f size %d", t.X, t.Y, t.Size);
    if (std::fabs(error[0]) > 0.5 * radius || std::fabs(error[1]) > 0.6 * radius) {
      // Turn most of the way and look again; a turn seen to land learns how far a count goes.
      // The game may lose a small move whole (Look), so an axis that did not move is pushed
      // harder next time.
      int counts[2];
      for (int a = 0; a < 2; ++a)
        counts[a] = static_cast<int>(std::lround((a ? -0.7 : 0.7) * boost[a] * error[a] / pixelsPerCount));
      hands.Look(counts[0], counts[1]);
      Pause(80);  // a frame drawn after the turn
      Picture after;
      if (!hands.Grab(after)) return 2;
      const double near[3] = {t.X - counts[0] * pixelsPerCount, t.Y + counts[1] * pixelsPerCount,
                              static_cast<double>(t.Size)};
      Target moved = Find(after, near);
      if (moved.What != Target::Seen) {
        // Turned further or less far than thought: the nearest ball of a like size.
        moved = Find(after, nullptr);
        if (moved.What == Target::Seen && (moved.Size * 3 < t.Size * 2 || moved.Size * 2 > t.Size * 3))
          moved.What = Target::Nothing;
      }
      if (moved.What == Target::Seen) {
        if (std::abs(counts[0]) + std::abs(counts[1]) >= 6) {
          const double pixels = std::hypot(t.X - moved.X, t.Y - moved.Y);
          pixelsPerCount = std::clamp(0.6 * pixelsPerCount + 0.4 * pixels / std::hypot(counts[0], counts[1]), 2.0, 20.0);
        }
        const double remaining[2] = {moved.X - 0.4 * radius, moved.Y};
        for (int a = 0; a < 2; ++a) {
          if (counts[a] == 0) continue;
          const bool stuck = std::fabs(remaining[a]) > 0.8 * std::fabs(error[a]) && (remaining[a] > 0) == (error[a] > 0);
          boost[a] = stuck ? std::min(boost[a] * 1.6, 5.0) : std::max(boost[a] / 1.3, 1.0);
        }
      }
      last[0] = moved.What == Target::Seen ? moved.X : near[0];
      last[1] = moved.What == Target::Seen ? moved.Y : near[1];
      last[2] = t.Size;
      tracking = true;
      continue;
    }
    boost[0] = boost[1] = 1;
    last[0] = t.X;
    last[1] = t.Y;
    last[2] = t.Size;
    tracking = true;
    // Centred. Far balls are walked up to; after a kill, so is every ball, to stand by it.
    const int wanted = kills < wantedKills ? 1500 : 9000;
    if (t.Size < wanted) {
      hands.Press(XK_w, t.Size < wanted / 4 ? 900 : 400);
      continue;
    }
    if (kills >= wantedKills) {
      Pause(500);  // stand in its fire
      continue;
    }
    hands.Fire();
    ++fired;
    say("fired at %.0f %.0f (size %d)", t.X, t.Y, t.Size);
    Pause(450);  // the bolt
    if (fired % 10 == 0) {
      hands.Press(XK_r);
      Pause(2500);
    }
    // A hit destroys a ball on the easiest difficulty: if none is left where it was, it was a
    // kill (a red flash over the view hides the answer for a moment).
    for (int look = 0; look < 10; ++look) {
      if (!hands.Grab(picture)) return 2;
      const double wide[3] = {t.X, t.Y + 20, static_cast<double>(t.Size)};
      const Target after = Find(picture, wide);
      if (after.What == Target::Tinted) {
        Pause(100);
        continue;
      }
      if (after.What == Target::Nothing) {
        ++kills;
        tracking = false;
        say("kill %d", kills);
      }
      break;
    }
  }
  std::printf("hunt: the match ended after %d shots, %d sightings, %d kills\n", fired, seen, kills);
  return 0;
}

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
    if (const char* pad = std::getenv("KORVID_E2E_PAD"); pad && *pad && !(hands.Pad = std::fopen(pad, "w"))) return 2;
    hands.Look(std::atoi(argv[2]), std::atoi(argv[3]));
    XCloseDisplay(hands.X);
    return 0;
  }
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: %s SECONDS DONE_FILE MARKER [KILLS] | --find PICTURE.ppm\n", argv[0]);
    return 2;
  }
  Hands hands;
  hands.X = XOpenDisplay(nullptr);
  if (!hands.X) {
    std::fprintf(stderr, "e2e_hunt_enemy: no X display\n");
    return 2;
  }
  hands.Root = DefaultRootWindow(hands.X);
  XChangePointerControl(hands.X, True, True, 1, 1, 1);  // no acceleration: a count is a count
  if (const char* pad = std::getenv("KORVID_E2E_PAD"); pad && *pad) {
    hands.Pad = std::fopen(pad, "w");
    if (!hands.Pad) {
      std::fprintf(stderr, "e2e_hunt_enemy: the pad FIFO %s cannot be opened\n", pad);
      return 2;
    }
  }
  return Hunt(hands, std::atoi(argv[1]), argv[2], argv[3], argc == 5 ? std::max(1, std::atoi(argv[4])) : 1);
}
