// Demo file bytes: a fixed header, the steps with runs of identical steps folded, the frame
// bits, a trailer.
#include "app/demo_file.h"

#include <algorithm>
#include <cstring>

#include "platform/window.h"

namespace {

constexpr char Magic[8] = {'K', 'O', 'R', 'V', 'D', 'E', 'M', 'O'};

// The recorded message kinds, by the one-byte code a step stores.
constexpr std::uint32_t MessageIds[] = {WM_ACTIVATE,   WM_KEYDOWN,    WM_KEYUP,
                                        WM_MOUSEMOVE,  WM_LBUTTONDOWN, WM_LBUTTONUP,
                                        WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEWHEEL};
constexpr int MessageKinds = sizeof MessageIds / sizeof MessageIds[0];

// Step tag bits. Whether a frame followed is kept apart, one bit a step, so that the steps of a
// player standing still fold into one run whatever the frame rate did.
constexpr std::uint8_t TagPolled = 0x02;
constexpr std::uint8_t TagMessages = 0x04;
constexpr std::uint8_t TagRepeat = 0x80;  // the previous step again, a counted number of times
constexpr std::uint8_t TagKnown = TagPolled | TagMessages;

// A message's lParam is stored as its difference from the last one of its kind: the cursor
// recentring repeats one position all match long.
struct LastParams {
  std::uint32_t Of[16] = {};
};

int MessageCode(std::uint32_t id) {
  for (int i = 0; i < MessageKinds; ++i)
    if (MessageIds[i] == id) return i;
  return -1;
}

struct Writer {
  std::string Out;
  void Byte(std::uint8_t v) { Out.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v) {
    Byte(static_cast<std::uint8_t>(v));
    Byte(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Var(std::uint32_t v) {
    while (v >= 0x80) {
      Byte(static_cast<std::uint8_t>(v | 0x80));
      v >>= 7;
    }
    Byte(static_cast<std::uint8_t>(v));
  }
  void Signed(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    Var((u << 1) ^ (v < 0 ? 0xFFFFFFFFu : 0u));
  }
  void Bytes(const void* data, std::size_t n) { Out.append(static_cast<const char*>(data), n); }
};

// Reads within the bytes only: every read past the end fails and stays failed.
struct Reader {
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t At = 0;
  bool Short = false;

  std::size_t Left() const { return Size - At; }
  bool Take(void* out, std::size_t n) {
    if (n == 0) return !Short;  // an empty field may have no storage at all
    if (Short || n > Left()) {
      Short = true;
      return false;
    }
    std::memcpy(out, Data + At, n);
    At += n;
    return true;
  }
  std::uint8_t Byte() {
    std::uint8_t v = 0;
    Take(&v, 1);
    return v;
  }
  std::uint16_t U16() {
    const std::uint16_t lo = Byte();
    return static_cast<std::uint16_t>(lo | (Byte() << 8));
  }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return v;
  }
  // False for a number longer than 32 bits.
  bool Var(std::uint32_t& v) {
    v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      const std::uint8_t b = Byte();
      if (Short) return false;
      if (shift == 28 && b > 0x0F) return false;
      v |= static_cast<std::uint32_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  bool Signed(std::int32_t& v) {
    std::uint32_t u = 0;
    if (!Var(u)) return false;
    v = static_cast<std::int32_t>((u >> 1) ^ (0u - (u & 1)));
    return true;
  }
};

void WriteStep(Writer& w, const DemoStep& s, LastParams& last) {
  std::uint8_t tag = 0;
  if (s.Polled) tag |= TagPolled;
  if (!s.Messages.empty()) tag |= TagMessages;
  w.Byte(tag);
  if (s.Polled) {
    w.Signed(s.Mouse.DeltaX);
    w.Signed(s.Mouse.DeltaY);
    w.Signed(s.Mouse.Wheel);
    std::uint8_t held = 0;
    for (int b = 0; b < 4; ++b)
      if (s.Mouse.Buttons[b]) held |= static_cast<std::uint8_t>(1u << b);
    w.Byte(held);
    for (int b = 0; b < 4; ++b)
      if (s.Mouse.Buttons[b]) w.Byte(s.Mouse.Buttons[b]);
  }
  if (!s.Messages.empty()) {
    w.Var(static_cast<std::uint32_t>(s.Messages.size()));
    for (const DemoMessage& m : s.Messages) {
      const int code = MessageCode(m.Id);
      w.Byte(static_cast<std::uint8_t>(code));
      w.Var(m.WParam);
      w.Signed(static_cast<std::int32_t>(m.LParam - last.Of[code]));
      last.Of[code] = m.LParam;
    }
  }
}

bool ReadStep(Reader& r, std::uint8_t tag, DemoStep& s, LastParams& last, std::string& error) {
  s.Polled = (tag & TagPolled) != 0;
  if (s.Polled) {
    std::uint8_t held = 0;
    if (!r.Signed(s.Mouse.DeltaX) || !r.Signed(s.Mouse.DeltaY) || !r.Signed(s.Mouse.Wheel)) return false;
    held = r.Byte();
    if (held > 0x0F) {
      error = "a mouse snapshot is damaged";
      return false;
    }
    for (int b = 0; b < 4; ++b) {
      if (!(held & (1u << b))) continue;
      s.Mouse.Buttons[b] = r.Byte();
      if (s.Mouse.Buttons[b] == 0) {
        error = "a mouse snapshot is damaged";
        return false;
      }
    }
  }
  if (tag & TagMessages) {
    std::uint32_t count = 0;
    if (!r.Var(count)) return false;
    // Each message takes at least three bytes.
    if (count == 0 || count > DemoMessagesPerStepLimit || count > r.Left() / 3) {
      error = "a step's message count runs past the end of the file";
      return false;
    }
    s.Messages.resize(count);
    for (DemoMessage& m : s.Messages) {
      const std::uint8_t code = r.Byte();
      if (!r.Short && code >= MessageKinds) {
        error = "a step holds an unknown message";
        return false;
      }
      std::int32_t change = 0;
      if (!r.Var(m.WParam) || !r.Signed(change)) return false;
      m.Id = MessageIds[code];
      m.LParam = last.Of[code] + static_cast<std::uint32_t>(change);
      last.Of[code] = m.LParam;
    }
  }
  return !r.Short;
}

}  // namespace

bool IsDemoMessage(std::uint32_t id) { return MessageCode(id) >= 0; }

bool SameStep(const DemoStep& a, const DemoStep& b) {
  if (a.Polled != b.Polled || a.Messages.size() != b.Messages.size()) return false;
  if (a.Polled && (a.Mouse.DeltaX != b.Mouse.DeltaX || a.Mouse.DeltaY != b.Mouse.DeltaY ||
                   a.Mouse.Wheel != b.Mouse.Wheel ||
                   std::memcmp(a.Mouse.Buttons, b.Mouse.Buttons, sizeof a.Mouse.Buttons) != 0))
    return false;
  for (std::size_t i = 0; i < a.Messages.size(); ++i) {
    const DemoMessage &x = a.Messages[i], &y = b.Messages[i];
    if (x.Id != y.Id || x.WParam != y.WParam || x.LParam != y.LParam) return false;
  }
  return true;
}

std::string EncodeDemo(const DemoFile& demo) {
  Writer w;
  w.Bytes(Magic, sizeof Magic);
  w.U16(demo.Version);
  const std::string version = demo.ProgramVersion.substr(0, 255);
  w.Byte(static_cast<std::uint8_t>(version.size()));
  w.Bytes(version.data(), version.size());
  w.U32(demo.Seed);
  std::string record = demo.SettingsRecord;
  record.resize(DemoSettingsBytes, ' ');
  w.Bytes(record.data(), record.size());
  w.U32(static_cast<std::uint32_t>(demo.EntryState.size()));
  w.Bytes(demo.EntryState.data(), demo.EntryState.size());

  w.U32(static_cast<std::uint32_t>(demo.Steps.size()));
  LastParams last;
  for (std::size_t i = 0; i < demo.Steps.size();) {
    WriteStep(w, demo.Steps[i], last);
    std::size_t run = 1;
    while (i + run < demo.Steps.size() && SameStep(demo.Steps[i], demo.Steps[i + run])) ++run;
    if (run > 1) {
      w.Byte(TagRepeat);
      w.Var(static_cast<std::uint32_t>(run - 1));
    }
    i += run;
  }
  for (std::size_t i = 0; i < demo.Steps.size(); i += 8) {
    std::uint8_t bits = 0;
    for (std::size_t b = 0; b < 8 && i + b < demo.Steps.size(); ++b)
      if (demo.Steps[i + b].Framed) bits |= static_cast<std::uint8_t>(1u << b);
    w.Byte(bits);
  }

  w.U32(demo.Result.Steps);
  w.U32(static_cast<std::uint32_t>(demo.Result.Score));
  w.U32(static_cast<std::uint32_t>(demo.Result.Shots));
  w.U32(static_cast<std::uint32_t>(demo.Result.Hits));
  std::uint32_t health = 0;
  std::memcpy(&health, &demo.Result.Health, sizeof health);
  w.U32(health);
  w.Byte(demo.Result.Finished ? 1 : 0);
  w.U32(static_cast<std::uint32_t>(demo.Checksums.size()));
  for (std::uint32_t c : demo.Checksums) w.U32(c);
  w.U32(demo.FinalChecksum);
  return w.Out;
}

bool DecodeDemo(const std::uint8_t* data, std::size_t size, DemoFile& demo, std::string& error) {
  demo = DemoFile{};
  error.clear();
  Reader r{data, size};
  char magic[sizeof Magic] = {};
  if (!r.Take(magic, sizeof magic) || std::memcmp(magic, Magic, sizeof Magic) != 0) {
    error = "not a Korvid demo";
    return false;
  }
  demo.Version = r.U16();
  if (!r.Short && demo.Version > DemoFormatVersion) {
    error = "recorded by a newer Korvid (demo format " + std::to_string(demo.Version) +
            "; this one reads format " + std::to_string(DemoFormatVersion) + ")";
    return false;
  }
  if (!r.Short && demo.Version == 0) {
    error = "not a Korvid demo (format 0)";
    return false;
  }
  const std::uint8_t versionLength = r.Byte();
  demo.ProgramVersion.resize(versionLength);
  r.Take(demo.ProgramVersion.data(), versionLength);
  demo.Seed = r.U32();
  demo.SettingsRecord.resize(DemoSettingsBytes);
  r.Take(demo.SettingsRecord.data(), DemoSettingsBytes);
  const std::uint32_t stateSize = r.U32();
  if (!r.Short && stateSize > r.Left()) {
    error = "its starting state runs past the end of the file";
    return false;
  }
  demo.EntryState.resize(r.Short ? 0 : stateSize);
  r.Take(demo.EntryState.data(), demo.EntryState.size());

  const std::uint32_t steps = r.U32();
  if (!r.Short && (steps > DemoStepLimit)) {
    error = "its step count (" + std::to_string(steps) + ") is past any match";
    return false;
  }
  if (r.Short) {
    error = "the file is cut short";
    return false;
  }
  demo.Steps.reserve(std::min<std::size_t>(steps, r.Left() * 64));
  std::uint64_t messages = 0;
  LastParams last;
  while (demo.Steps.size() < steps) {
    const std::uint8_t tag = r.Byte();
    if (r.Short) break;
    if (tag == TagRepeat) {
      std::uint32_t count = 0;
      if (demo.Steps.empty() || !r.Var(count) || count == 0 || count > steps - demo.Steps.size()) {
        if (error.empty()) error = "a run of repeated steps runs past the step count";
        return false;
      }
      const DemoStep copy = demo.Steps.back();
      // Repeats copy their messages: the total is held within what a real match could make.
      messages += static_cast<std::uint64_t>(count) * copy.Messages.size();
      if (messages > DemoMessageLimit) {
        error = "it holds more messages than any match";
        return false;
      }
      demo.Steps.insert(demo.Steps.end(), count, copy);
      continue;
    }
    if (tag & ~TagKnown) {
      error = "step " + std::to_string(demo.Steps.size() + 1) + " is damaged";
      return false;
    }
    DemoStep s;
    if (!ReadStep(r, tag, s, last, error)) {
      if (error.empty()) error = "the file is cut short";
      return false;
    }
    messages += s.Messages.size();
    if (messages > DemoMessageLimit) {
      error = "it holds more messages than any match";
      return false;
    }
    demo.Steps.push_back(std::move(s));
  }
  if (demo.Steps.size() == steps) {
    for (std::size_t i = 0; i < steps; i += 8) {
      const std::uint8_t bits = r.Byte();
      for (std::size_t b = 0; b < 8 && i + b < steps; ++b) demo.Steps[i + b].Framed = (bits >> b) & 1u;
    }
  }
  demo.Result.Steps = r.U32();
  demo.Result.Score = static_cast<std::int32_t>(r.U32());
  demo.Result.Shots = static_cast<std::int32_t>(r.U32());
  demo.Result.Hits = static_cast<std::int32_t>(r.U32());
  const std::uint32_t health = r.U32();
  std::memcpy(&demo.Result.Health, &health, sizeof health);
  const std::uint8_t finished = r.Byte();
  const std::uint32_t checksums = r.U32();
  if (r.Short) {
    error = "the file is cut short";
    return false;
  }
  if (finished > 1 || demo.Result.Steps != steps) {
    error = "its result does not belong to its steps";
    return false;
  }
  demo.Result.Finished = finished == 1;
  if (checksums != steps / DemoChecksumInterval) {
    error = "its checksum count does not match its steps";
    return false;
  }
  if (static_cast<std::size_t>(checksums) * 4 + 4 != r.Left()) {
    error = static_cast<std::size_t>(checksums) * 4 + 4 > r.Left() ? "the file is cut short"
                                                                     : "the file goes on past its end";
    return false;
  }
  demo.Checksums.resize(checksums);
  for (std::uint32_t& c : demo.Checksums) c = r.U32();
  demo.FinalChecksum = r.U32();
  return true;
}
