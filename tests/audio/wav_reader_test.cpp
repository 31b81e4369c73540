// The WAV reader on well-formed and malformed files, and the sample decoding behind it.
#include <unistd.h>

#include <cstdlib>

#include "audio/wav_reader.h"
#include "audio_fixture.h"
#include "platform/sound/sample_convert.h"

namespace audio_test {
namespace {

class WavReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("korvid_wav_" + std::to_string(::getpid()) + ".wav");
  }
  void TearDown() override {
    WavReader.Close();
    std::filesystem::remove(path_);
  }
  bool Read(const Bytes& file, Bytes& samples, WaveFormat& format) {
    WriteFile(path_, file);
    return ReadWaveFile(path_.string(), samples, format);
  }
  std::filesystem::path path_;
};

TEST_F(WavReaderTest, ReadsPcmFormatAndSamples) {
  const Bytes data = Sine16(100, 441);
  Bytes samples;
  WaveFormat format;
  ASSERT_TRUE(Read(Riff({Chunk("fmt ", FormatBody(1, 1, 22050, 16)), Chunk("data", data)}),
                   samples, format));
  EXPECT_EQ(samples, data);
  EXPECT_EQ(format.FormatTag, 1);
  EXPECT_EQ(format.Channels, 1);
  EXPECT_EQ(format.SamplesPerSec, 22050u);
  EXPECT_EQ(format.AvgBytesPerSec, 44100u);
  EXPECT_EQ(format.BlockAlign, 2);
  EXPECT_EQ(format.BitsPerSample, 16);
  EXPECT_EQ(format.ExtraSize, 0);
}

TEST_F(WavReaderTest, SkipsOtherChunksAndPadding) {
  // An odd-sized chunk is padded to even length; LIST and fact sit around the format.
  const Bytes data = {1, 2, 3, 4, 5, 6};
  Bytes samples;
  WaveFormat format;
  ASSERT_TRUE(Read(Riff({Chunk("fact", {9, 9, 9}), Chunk("fmt ", FormatBody(1, 2, 8000, 8)),
                         Chunk("LIST", Bytes(37, 'x')), Chunk("data", data)}),
                   samples, format));
  EXPECT_EQ(samples, data);
  EXPECT_EQ(format.Channels, 2);
  EXPECT_EQ(format.BitsPerSample, 8);
}

TEST_F(WavReaderTest, NonPcmKeepsOnlyTheEighteenByteRecord) {
  const Bytes extra = {0xF9, 0x01, 0xAA, 0xBB};
  Bytes samples;
  WaveFormat format;
  ASSERT_TRUE(Read(Riff({Chunk("fmt ", FormatBody(0x11, 1, 22050, 4, true, extra)),
                         Chunk("data", Bytes(256, 0x77))}),
                   samples, format));
  EXPECT_EQ(format.FormatTag, 0x11);
  EXPECT_EQ(format.ExtraSize, 4);  // the count is handed out, the bytes are not
  EXPECT_EQ(samples.size(), 256u);
  EXPECT_TRUE(WavReader.FormatBlock.empty());  // released by the read
}

TEST_F(WavReaderTest, NonPcmWithoutExtraWordReadsAsNoExtraBytes) {
  // Float files often carry a 16-byte format chunk; the next chunk is not format data.
  Bytes samples;
  WaveFormat format;
  ASSERT_TRUE(Read(Riff({Chunk("fmt ", FormatBody(3, 1, 44100, 32)), Chunk("data", Bytes(8, 0))}),
                   samples, format));
  EXPECT_EQ(format.FormatTag, 3);
  EXPECT_EQ(format.ExtraSize, 0);
}

TEST_F(WavReaderTest, MalformedFilesFail) {
  const Bytes fmt = Chunk("fmt ", FormatBody(1, 1, 44100, 16));
  const Bytes data = Chunk("data", Sine16(50, 441));
  Bytes shortFmt = FormatBody(1, 1, 44100, 16);
  shortFmt.resize(14);
  Bytes longData = Chunk("data", Bytes(40, 1));
  longData[4] = 200;  // claims 200 bytes, holds 40
  const Bytes whole = Riff({fmt, data});

  const struct {
    const char* Name;
    Bytes File;
  } cases[] = {
      {"empty file", {}},
      {"truncated header", Bytes(whole.begin(), whole.begin() + 10)},
      {"not RIFF", [&] { Bytes b = whole; b[0] = 'X'; return b; }()},
      {"not WAVE", [&] { Bytes b = whole; b[8] = 'A'; b[9] = 'V'; b[10] = 'I'; b[11] = ' '; return b; }()},
      {"short fmt", Riff({Chunk("fmt ", shortFmt), data})},
      {"missing fmt", Riff({data})},
      {"missing data", Riff({fmt, Chunk("LIST", Bytes(12, 0))})},
      {"data longer than file", Riff({fmt, longData})},
      {"truncated inside fmt", Bytes(whole.begin(), whole.begin() + 24)},
      {"chunk size running off the end", [&] {
         Bytes b = Riff({Chunk("LIST", Bytes(4, 0)), fmt, data});
         b[16] = 0xFF; b[17] = 0xFF; b[18] = 0xFF; b[19] = 0x7F;
         return b; }()},
  };
  for (const auto& c : cases) {
    Bytes samples;
    WaveFormat format;
    EXPECT_FALSE(Read(c.File, samples, format)) << c.Name;
    EXPECT_EQ(WavReader.File, nullptr) << c.Name << ": the file is closed again";
  }
}

TEST_F(WavReaderTest, ExtraSizeLargerThanFormatChunkFails) {
  Bytes body = FormatBody(2, 1, 44100, 4, true, {1, 2});
  body[16] = 50;  // claims 50 extra bytes, the chunk holds 2
  Bytes samples;
  WaveFormat format;
  EXPECT_FALSE(Read(Riff({Chunk("fmt ", body), Chunk("data", Bytes(4, 0))}), samples, format));
}

TEST_F(WavReaderTest, ReadDataStopsAtTheChunkAndCountsDown) {
  WriteFile(path_, Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 16)), Chunk("data", {1, 2, 3, 4}),
                         Chunk("LIST", {9, 9, 9, 9})}));
  ASSERT_TRUE(WavReader.Open(path_.string()));
  EXPECT_EQ(WavReader.DataSize, 4u);
  std::uint8_t out[16] = {};
  std::uint32_t read = 0;
  WaveFormat format;
  ASSERT_TRUE(WavReader.ReadData(16, out, read, format));
  EXPECT_EQ(read, 4u);  // never the LIST bytes behind the data chunk
  EXPECT_EQ(out[3], 4);
  EXPECT_EQ(out[4], 0);
  EXPECT_EQ(WavReader.DataRemaining, 0u);
  WavReader.Close();
}

TEST(SampleConvert, DecodesEncodingsAndDownmixes) {
  std::vector<std::int16_t> out;
  int channels = 0;
  WaveFormat f;
  f.FormatTag = 1;
  f.Channels = 2;
  f.SamplesPerSec = 8000;
  f.BitsPerSample = 16;
  f.BlockAlign = 4;
  const std::int16_t stereo[] = {1000, 3000, -2000, -4000};
  ASSERT_TRUE(ConvertToPcm16(f, stereo, sizeof stereo, true, out, channels));
  EXPECT_EQ(channels, 1);
  EXPECT_EQ(out, (std::vector<std::int16_t>{2000, -3000}));
  ASSERT_TRUE(ConvertToPcm16(f, stereo, sizeof stereo, false, out, channels));
  EXPECT_EQ(channels, 2);
  EXPECT_EQ(out.size(), 4u);

  f.Channels = 1;
  f.BitsPerSample = 8;
  f.BlockAlign = 1;
  const std::uint8_t eight[] = {128, 255, 0};
  ASSERT_TRUE(ConvertToPcm16(f, eight, 3, true, out, channels));
  EXPECT_EQ(out, (std::vector<std::int16_t>{0, 127 << 8, -32768}));

  f.FormatTag = 7;  // mu-law: 0xFF is silence, 0x80 the loudest positive
  const std::uint8_t mulaw[] = {0xFF, 0x80};
  ASSERT_TRUE(ConvertToPcm16(f, mulaw, 2, true, out, channels));
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 32124);

  f.FormatTag = 3;
  f.BitsPerSample = 32;
  f.BlockAlign = 4;
  const float floats[] = {0.5f, -2.0f};
  ASSERT_TRUE(ConvertToPcm16(f, floats, sizeof floats, true, out, channels));
  EXPECT_EQ(out[0], 16384);
  EXPECT_EQ(out[1], -32767);  // clipped

  f.FormatTag = 0x55;  // MPEG layer 3 and other codecs are not decoded
  f.BitsPerSample = 0;
  EXPECT_FALSE(ConvertToPcm16(f, eight, 3, true, out, channels));
  f.FormatTag = 1;
  f.BitsPerSample = 16;
  f.Channels = 6;
  f.BlockAlign = 12;
  EXPECT_FALSE(ConvertToPcm16(f, stereo, sizeof stereo, true, out, channels));
}

// ADPCM files written by an independent encoder (sox) decode to the tone they hold.
TEST(SampleConvert, DecodesAdpcmAgainstAReferenceEncoder) {
  if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("korvid_adpcm_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const char* encoding : {"ima-adpcm", "ms-adpcm"}) {
    for (int ch : {1, 2}) {
      const std::string name = std::string(encoding) + std::to_string(ch);
      const std::string file = (dir / (name + ".wav")).string();
      const std::string reference = (dir / (name + "_pcm.wav")).string();
      const std::string tone = " synth 0.3 sine 441 vol 0.5";
      ASSERT_EQ(std::system(("sox -n -r 22050 -c " + std::to_string(ch) + " -e " + encoding +
                             " " + file + tone).c_str()), 0);
      ASSERT_EQ(std::system(("sox -n -r 22050 -c 1 -b 16 " + reference + tone).c_str()), 0);
      Bytes coded, pcm;
      WaveFormat codedFormat, pcmFormat;
      ASSERT_TRUE(ReadWaveFile(file, coded, codedFormat)) << name;
      ASSERT_TRUE(ReadWaveFile(reference, pcm, pcmFormat)) << name;
      std::vector<std::int16_t> decoded, expected;
      int channels = 0;
      ASSERT_TRUE(ConvertToPcm16(codedFormat, coded.data(), static_cast<std::uint32_t>(coded.size()),
                                 true, decoded, channels)) << name;
      ASSERT_TRUE(ConvertToPcm16(pcmFormat, pcm.data(), static_cast<std::uint32_t>(pcm.size()), true,
                                 expected, channels));
      // Whole blocks may pad the end; every real sample must be there.
      ASSERT_GE(decoded.size(), expected.size()) << name;
      ASSERT_LT(decoded.size(), expected.size() + 2048) << name;
      double error = 0, signal = 0;
      for (std::size_t i = 0; i < expected.size(); ++i) {
        error += std::pow(decoded[i] - expected[i], 2);
        signal += std::pow(expected[i], 2);
      }
      EXPECT_LT(std::sqrt(error / signal), 0.05) << name << ": decoded tone differs";
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace audio_test
