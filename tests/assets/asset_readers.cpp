// Readers written from the file formats' own definitions, sharing no code with the generator.
#include "asset_readers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

std::string GameDir()
{
    // Set by the test support from the build, or by whoever runs the tests against another folder.
    const char* dir = std::getenv("KORVID_GAME_DIR");
    return dir ? dir : "";
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunGenerator(const std::string& dir)
{
    std::string command = std::string("'") + KORVID_ASSETGEN + "' write '" + dir + "'";
    return std::system(command.c_str());
}

static uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
static uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

DdsPicture ReadDds(const std::vector<uint8_t>& b)
{
    DdsPicture d;
    if (b.size() < 128 || std::memcmp(b.data(), "DDS ", 4) != 0 || Le32(b, 4) != 124 || Le32(b, 76) != 32)
        return d;
    d.Height = int(Le32(b, 12));
    d.Width = int(Le32(b, 16));
    uint32_t pfFlags = Le32(b, 80);
    size_t pixels = size_t(d.Width) * d.Height;
    if (pfFlags & 0x4) {
        d.Format = std::string(reinterpret_cast<const char*>(&b[84]), 4);
        size_t blocks = size_t((d.Width + 3) / 4) * ((d.Height + 3) / 4);
        size_t need = blocks * (d.Format == "DXT1" ? 8 : 16);
        d.Ok = (d.Format == "DXT1" || d.Format == "DXT5") && b.size() == 128 + need;
        return d;
    }
    bool argb = (pfFlags & 0x41) == 0x41 && Le32(b, 88) == 32 && Le32(b, 92) == 0x00FF0000 &&
                Le32(b, 96) == 0x0000FF00 && Le32(b, 100) == 0x000000FF && Le32(b, 104) == 0xFF000000;
    if (!argb || b.size() != 128 + pixels * 4) return d;
    d.Format = "ARGB";
    d.Argb.assign(b.begin() + 128, b.end());
    d.Ok = true;
    return d;
}

std::vector<uint8_t> DecodeDxt5Alpha(const std::vector<uint8_t>& b)
{
    DdsPicture d = ReadDds(b);
    if (!d.Ok || d.Format != "DXT5") return {};
    std::vector<uint8_t> alpha(size_t(d.Width) * d.Height);
    int bw = (d.Width + 3) / 4, bh = (d.Height + 3) / 4;
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx) {
            const uint8_t* blk = &b[128 + (size_t(by) * bw + bx) * 16];
            int a0 = blk[0], a1 = blk[1];
            int table[8] = {a0, a1};
            if (a0 > a1)
                for (int i = 1; i <= 6; ++i) table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
            else {
                for (int i = 1; i <= 4; ++i) table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
                table[6] = 0;
                table[7] = 255;
            }
            uint64_t bits = 0;
            for (int i = 0; i < 6; ++i) bits |= uint64_t(blk[2 + i]) << (8 * i);
            for (int i = 0; i < 16; ++i) {
                int x = bx * 4 + i % 4, y = by * 4 + i / 4;
                if (x < d.Width && y < d.Height) alpha[size_t(y) * d.Width + x] = uint8_t(table[(bits >> (3 * i)) & 7]);
            }
        }
    return alpha;
}

WavSound ReadWav(const std::vector<uint8_t>& b)
{
    WavSound w;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(&b[8], "WAVE", 4) != 0) return w;
    if (Le32(b, 4) + 8 != b.size()) return w;
    bool haveFmt = false, haveData = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        uint32_t len = Le32(b, at + 4);
        if (at + 8 + len > b.size()) return w;
        if (std::memcmp(&b[at], "fmt ", 4) == 0 && len >= 16) {
            w.Format = Le16(b, at + 8);
            w.Channels = Le16(b, at + 10);
            w.Rate = int(Le32(b, at + 12));
            w.Bits = Le16(b, at + 22);
            uint32_t byteRate = Le32(b, at + 16);
            uint16_t align = Le16(b, at + 20);
            if (byteRate != uint32_t(w.Rate * w.Channels * w.Bits / 8) || align != w.Channels * w.Bits / 8) return w;
            haveFmt = true;
        } else if (std::memcmp(&b[at], "data", 4) == 0 && haveFmt && w.Bits == 16) {
            for (uint32_t i = 0; i + 1 < len; i += 2) w.Samples.push_back(int16_t(Le16(b, at + 8 + i)));
            haveData = true;
        }
        at += 8 + len + (len & 1);
    }
    w.Ok = haveFmt && haveData;
    return w;
}

MidiSong ReadMidi(const std::vector<uint8_t>& b)
{
    MidiSong m;
    auto fail = [&](const char* why) {
        m.Ok = false;
        m.Error = why;
        return m;
    };
    auto be32 = [&](size_t at) { return uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]; };
    if (b.size() < 14 || std::memcmp(b.data(), "MThd", 4) != 0 || be32(4) != 6) return fail("header");
    m.Format = b[8] << 8 | b[9];
    int tracks = b[10] << 8 | b[11];
    m.Division = b[12] << 8 | b[13];
    size_t at = 14;
    for (int t = 0; t < tracks; ++t) {
        if (at + 8 > b.size() || std::memcmp(&b[at], "MTrk", 4) != 0) return fail("track header");
        size_t end = at + 8 + be32(at + 4);
        if (end > b.size()) return fail("track length");
        size_t p = at + 8;
        uint32_t tick = 0;
        uint8_t status = 0;
        bool ended = false;
        std::map<int, int> on;  // channel * 128 + note -> count
        while (p < end) {
            uint32_t delta = 0;
            for (int k = 0;; ++k) {
                if (p >= end || k > 3) return fail("delta");
                uint8_t c = b[p++];
                delta = delta << 7 | (c & 0x7F);
                if (!(c & 0x80)) break;
            }
            tick += delta;
            if (p >= end) return fail("event");
            uint8_t c = b[p];
            if (c & 0x80) {
                status = c;
                ++p;
            } else if (!status) {
                return fail("running status without status");
            }
            if (status == 0xFF) {
                if (p + 2 > end) return fail("meta");
                uint8_t type = b[p++];
                uint32_t len = 0;
                for (int k = 0;; ++k) {
                    if (p >= end || k > 3) return fail("meta length");
                    uint8_t v = b[p++];
                    len = len << 7 | (v & 0x7F);
                    if (!(v & 0x80)) break;
                }
                if (p + len > end) return fail("meta data");
                if (type == 0x51 && len == 3) m.HasTempo = true;
                p += len;
                if (type == 0x2F) {
                    ended = true;
                    if (p != end) return fail("data after end of track");
                }
                status = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                return fail("sysex not expected");
            } else {
                int type = status & 0xF0, ch = status & 0x0F;
                int n = (type == 0xC0 || type == 0xD0) ? 1 : 2;
                if (p + n > end) return fail("channel data");
                uint8_t d1 = b[p], d2 = n > 1 ? b[p + 1] : 0;
                if ((d1 | d2) & 0x80) return fail("data byte");
                p += n;
                if (type == 0x90 && d2 > 0) {
                    ++on[ch * 128 + d1];
                    ++m.NoteOns;
                    if (ch == 9) m.UsesDrums = true;
                } else if (type == 0x80 || (type == 0x90 && d2 == 0)) {
                    if (on[ch * 128 + d1] > 0) --on[ch * 128 + d1];
                } else if (type == 0xC0) {
                    m.Programs.push_back(d1);
                }
            }
        }
        if (!ended) return fail("missing end of track");
        for (auto& [key, count] : on) m.HangingNotes += count;
        m.TrackEnds.push_back(tick);
        at = end;
    }
    if (at != b.size()) return fail("trailing bytes");
    m.Ok = true;
    return m;
}
