// Demo files: one match's settings, starting state, per-step input and result, as bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint16_t DemoFormatVersion = 1;
constexpr std::size_t DemoSettingsBytes = 442;   // the Setting.dat record, line end excluded
constexpr std::uint32_t DemoChecksumInterval = 64;  // steps between two world checksums
// Far beyond any match (over four hours); a file claiming more is damaged, and a recording
// stops there.
constexpr std::uint32_t DemoStepLimit = 1000000;
constexpr std::uint32_t DemoMessagesPerStepLimit = 4096;
constexpr std::uint64_t DemoMessageLimit = 4000000;
constexpr std::size_t DemoFileLimit = 64u << 20;

// A window message as it reached the window procedure.
struct DemoMessage {
  std::uint32_t Id = 0;
  std::uint32_t WParam = 0;
  std::uint32_t LParam = 0;
};

struct DemoMouse {
  std::int32_t DeltaX = 0;
  std::int32_t DeltaY = 0;
  std::int32_t Wheel = 0;
  std::uint8_t Buttons[4] = {};
};

// What one update step consumed, and whether a frame was rendered after it.
struct DemoStep {
  std::vector<DemoMessage> Messages;  // dispatched since the previous step, in order
  bool Polled = false;                // the step took a mouse snapshot
  DemoMouse Mouse;
  bool Framed = false;
};

struct DemoResult {
  std::uint32_t Steps = 0;
  std::int32_t Score = 0;
  std::int32_t Shots = 0;
  std::int32_t Hits = 0;
  float Health = 0;
  bool Finished = false;  // false: the program was closed during the match
};

struct DemoFile {
  std::uint16_t Version = DemoFormatVersion;
  std::string ProgramVersion;
  std::uint32_t Seed = 0;
  std::string SettingsRecord;  // DemoSettingsBytes long
  std::vector<std::uint8_t> EntryState;  // the match state on its entering frame
  std::vector<DemoStep> Steps;
  DemoResult Result;
  std::vector<std::uint32_t> Checksums;  // after steps 64, 128, ... (one per full interval)
  std::uint32_t FinalChecksum = 0;       // at the end of the match (or of the recording)
};

// True for the messages a demo records and replays: keys, buttons, wheel, motion, activation.
bool IsDemoMessage(std::uint32_t id);

std::string EncodeDemo(const DemoFile& demo);

// Reads a whole file's bytes; on failure `error` says what is wrong in one line, and `demo`
// may hold part of what was read.
bool DecodeDemo(const std::uint8_t* data, std::size_t size, DemoFile& demo, std::string& error);

// Identical steps in a row are stored once with a count.
bool SameStep(const DemoStep& a, const DemoStep& b);
