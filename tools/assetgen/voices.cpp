// The enemies' voice calls: Japanese lines spoken by eSpeak NG, then given a metallic edge.
#include "dsp.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace assetgen {

namespace {
const int Rate = 22050;  // eSpeak NG's own rate

struct Line {
    const char* File;
    const char* Text;  // hiragana only: the Japanese voice reads kana
    int Pitch, Speed;
    float Ring;        // ring-modulator frequency, Hz
};

const Line Lines[] = {
    {"Call_Hajime_01.wav", "いくぞ！", 40, 170, 55},
    {"Call_Hajime_02.wav", "てきはっけん！", 55, 185, 70},
    {"Call_Hajime_03.wav", "こうげきかいし！", 35, 175, 45},
    {"Call_Hajime_04.wav", "そこにいるな！", 60, 180, 80},
    {"Call_Hajime_05.wav", "しとめろ！", 45, 160, 60},
    {"Call_Damage_01.wav", "ぐあっ！", 65, 200, 90},
    {"Call_Damage_02.wav", "くっ、やるな！", 50, 190, 65},
    {"Call_Damage_03.wav", "いたっ！", 75, 210, 100},
    {"Call_Damage_04.wav", "まだまだ！", 45, 185, 55},
    {"Call_Kill_01.wav", "ぐわあああ！", 30, 130, 40},
    {"Call_Kill_02.wav", "むねん…", 25, 120, 35},
    {"Call_Kill_03.wav", "ばかな！", 55, 150, 75},
    {"Call_Kill_04.wav", "やられたあ！", 40, 140, 50},
};

// Runs eSpeak NG and returns its samples; an empty signal means it failed.
Signal Speak(const Line& line)
{
    char command[512];
    std::snprintf(command, sizeof command, "espeak-ng -v ja -p %d -s %d -a 160 --stdout '%s' 2>/dev/null",
                  line.Pitch, line.Speed, line.Text);
    std::FILE* pipe = popen(command, "r");
    if (!pipe) return {};
    std::vector<unsigned char> bytes;
    unsigned char buf[8192];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    int status = pclose(pipe);
    if (status != 0 || bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return {};
    // The header written to a pipe carries no real sizes: find "data" and read to the end.
    size_t pos = 12;
    while (pos + 8 <= bytes.size() && std::memcmp(&bytes[pos], "data", 4) != 0) {
        uint32_t len = bytes[pos + 4] | bytes[pos + 5] << 8 | bytes[pos + 6] << 16 | uint32_t(bytes[pos + 7]) << 24;
        pos += 8 + len;
    }
    if (pos + 8 > bytes.size()) return {};
    Signal s;
    for (size_t i = pos + 8; i + 1 < bytes.size(); i += 2)
        s.push_back(int16_t(bytes[i] | bytes[i + 1] << 8) / 32768.0f);
    return s;
}

// Part ring modulation and a short metallic comb: the floating machines' voice.
Signal Machine(const Signal& dry, float ring)
{
    Signal s(dry.size() + Rate / 10, 0.0f);
    const size_t comb = Rate * 4 / 1000;
    for (size_t i = 0; i < s.size(); ++i) {
        float x = i < dry.size() ? dry[i] : 0.0f;
        float m = x * (0.65f + 0.35f * std::sin(TwoPi * ring * i / Rate));
        s[i] = m + (i >= comb ? s[i - comb] * 0.35f : 0.0f);
    }
    // trim the silence eSpeak leaves before the first sound: the call should come with its event
    size_t begin = 0;
    while (begin < s.size() && std::fabs(s[begin]) < 0.01f) ++begin;
    begin = begin > size_t(Rate / 200) ? begin - Rate / 200 : 0;
    s.erase(s.begin(), s.begin() + long(begin));
    // trim trailing silence, keep a short tail
    size_t end = s.size();
    while (end > 0 && std::fabs(s[end - 1]) < 0.002f) --end;
    s.resize(std::min(s.size(), end + Rate / 50));
    FadeEdges(s, 32, Rate / 50);
    Normalise(s, 0.85f);
    return s;
}
} // namespace

bool SynthesiseVoices(AssetPack& pack)
{
    for (const Line& line : Lines) {
        Signal dry = Speak(line);
        if (dry.size() < size_t(Rate / 10)) {
            std::fprintf(stderr, "assetgen: espeak-ng produced no speech for %s (is espeak-ng installed?)\n",
                         line.File);
            return false;
        }
        pack.Sounds.push_back(ToSound(std::string("File/Sound/") + line.File, Machine(dry, line.Ring), Rate));
    }
    return true;
}

}  // namespace assetgen
