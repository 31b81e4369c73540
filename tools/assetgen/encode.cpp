// Byte encodings of the pack's files: BMP (true colour and palettised), DDS, WAV, PNG.
#include "pack.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBIW_WINDOWS_UTF8
#include <stb_image_write.h>
#define STB_DXT_IMPLEMENTATION
#include <stb_dxt.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace assetgen {

namespace {
void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
uint8_t ToByte(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

struct Rgb8 {
    uint8_t R, G, B;
};

// Flattens a picture to opaque bytes. Keyed pictures: transparent becomes pure white, and
// white that is meant to be seen is pulled down one step so that the key never catches it.
std::vector<Rgb8> Flatten(const PictureAsset& p, std::vector<bool>* keyMask)
{
    const Image& img = p.Picture;
    std::vector<Rgb8> out(img.Pixels.size());
    if (keyMask) keyMask->assign(img.Pixels.size(), false);
    for (size_t i = 0; i < img.Pixels.size(); ++i) {
        const Colour& c = img.Pixels[i];
        if (p.Keyed && c.A < 0.5f) {
            out[i] = Rgb8{255, 255, 255};
            if (keyMask) (*keyMask)[i] = true;
            continue;
        }
        // Non-keyed pictures are opaque by design; anything partly transparent lies on black.
        float a = p.Keyed ? 1.0f : std::clamp(c.A, 0.0f, 1.0f);
        Rgb8 v{ToByte(c.R * a), ToByte(c.G * a), ToByte(c.B * a)};
        if (p.Keyed && v.R == 255 && v.G == 255 && v.B == 255) v = Rgb8{254, 254, 254};
        out[i] = v;
    }
    return out;
}

void BmpHeader(std::vector<uint8_t>& b, int w, int h, int bits, int paletteEntries, uint32_t imageSize)
{
    uint32_t offset = 14 + 40 + paletteEntries * 4;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + imageSize);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));  // positive: rows stored bottom-up
    Put16(b, 1);
    Put16(b, uint32_t(bits));
    Put32(b, 0);  // BI_RGB
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, uint32_t(paletteEntries));
    Put32(b, 0);
}

std::vector<uint8_t> Bmp24(const PictureAsset& p)
{
    std::vector<Rgb8> px = Flatten(p, nullptr);
    int w = p.Picture.Width, h = p.Picture.Height;
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b;
    BmpHeader(b, w, h, 24, 0, uint32_t(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb8& c = px[size_t(y) * w + x];
            b.push_back(c.B);
            b.push_back(c.G);
            b.push_back(c.R);
        }
        for (int k = w * 3; k < stride; ++k) b.push_back(0);
    }
    return b;
}

// Median cut over a 5-bit-per-channel histogram.
struct Bin {
    uint32_t Count = 0;
    uint64_t R = 0, G = 0, B = 0;
};

std::vector<Rgb8> MedianCut(const std::vector<Rgb8>& px, const std::vector<bool>& key, int maxColours)
{
    std::vector<Bin> hist(32768);
    for (size_t i = 0; i < px.size(); ++i) {
        if (key[i]) continue;
        const Rgb8& c = px[i];
        Bin& bin = hist[(c.R >> 3) << 10 | (c.G >> 3) << 5 | (c.B >> 3)];
        bin.Count++;
        bin.R += c.R;
        bin.G += c.G;
        bin.B += c.B;
    }
    std::vector<int> used;
    for (int i = 0; i < 32768; ++i)
        if (hist[i].Count) used.push_back(i);
    std::vector<std::pair<int, int>> boxes;  // ranges into `used`
    if (!used.empty()) boxes.push_back({0, int(used.size())});
    auto channel = [](int idx, int ch) { return (idx >> (10 - 5 * ch)) & 31; };
    while (int(boxes.size()) < maxColours) {
        // Split the box with the largest pixel count times its widest extent.
        int best = -1;
        double bestScore = 0;
        int bestCh = 0;
        for (size_t bi = 0; bi < boxes.size(); ++bi) {
            auto [s, e] = boxes[bi];
            if (e - s < 2) continue;
            int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
            uint64_t count = 0;
            for (int k = s; k < e; ++k) {
                for (int ch = 0; ch < 3; ++ch) {
                    lo[ch] = std::min(lo[ch], channel(used[k], ch));
                    hi[ch] = std::max(hi[ch], channel(used[k], ch));
                }
                count += hist[used[k]].Count;
            }
            int ch = 0;
            for (int c = 1; c < 3; ++c)
                if (hi[c] - lo[c] > hi[ch] - lo[ch]) ch = c;
            double score = double(hi[ch] - lo[ch]) * std::sqrt(double(count));
            if (score > bestScore) {
                bestScore = score;
                best = int(bi);
                bestCh = ch;
            }
        }
        if (best < 0) break;
        auto [s, e] = boxes[best];
        std::stable_sort(used.begin() + s, used.begin() + e,
                         [&](int a, int b) { return channel(a, bestCh) < channel(b, bestCh); });
        uint64_t total = 0, half = 0;
        for (int k = s; k < e; ++k) total += hist[used[k]].Count;
        int split = s + 1;
        for (int k = s; k < e - 1; ++k) {
            half += hist[used[k]].Count;
            split = k + 1;
            if (half * 2 >= total) break;
        }
        boxes[best] = {s, split};
        boxes.push_back({split, e});
    }
    std::vector<Rgb8> pal;
    for (auto [s, e] : boxes) {
        uint64_t n = 0, r = 0, g = 0, b = 0;
        for (int k = s; k < e; ++k) {
            n += hist[used[k]].Count;
            r += hist[used[k]].R;
            g += hist[used[k]].G;
            b += hist[used[k]].B;
        }
        Rgb8 c{uint8_t(r / n), uint8_t(g / n), uint8_t(b / n)};
        if (c.R == 255 && c.G == 255 && c.B == 255) c = Rgb8{254, 254, 254};
        pal.push_back(c);
    }
    if (pal.empty()) pal.push_back(Rgb8{0, 0, 0});
    return pal;
}

std::vector<uint8_t> Bmp8(const PictureAsset& p)
{
    std::vector<bool> key;
    std::vector<Rgb8> px = Flatten(p, &key);
    int w = p.Picture.Width, h = p.Picture.Height;
    // Index 255 is reserved for the key colour in keyed pictures.
    std::vector<Rgb8> pal = MedianCut(px, key, p.Keyed ? 255 : 256);
    pal.resize(256, Rgb8{0, 0, 0});
    if (p.Keyed) pal[255] = Rgb8{255, 255, 255};
    int usable = p.Keyed ? 255 : 256;
    std::vector<int16_t> cache(1 << 18, -1);
    auto nearest = [&](int r, int g, int b) {
        int keyIdx = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
        if (cache[keyIdx] >= 0) return int(cache[keyIdx]);
        int best = 0, bestD = 1 << 30;
        for (int i = 0; i < usable; ++i) {
            int dr = pal[i].R - r, dg = pal[i].G - g, db = pal[i].B - b;
            int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        cache[keyIdx] = int16_t(best);
        return best;
    };
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    int stride = (w + 3) & ~3;
    std::vector<uint8_t> b;
    BmpHeader(b, w, h, 8, 256, uint32_t(stride * h));
    for (const Rgb8& c : pal) {
        b.push_back(c.B);
        b.push_back(c.G);
        b.push_back(c.R);
        b.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            size_t i = size_t(y) * w + x;
            if (key[i]) {
                b.push_back(255);
                continue;
            }
            int d = bayer[y & 3][x & 3] - 8;  // ordered dither hides the 5-bit banding
            auto ch = [&](int v) { return std::clamp(v + d / 2, 0, 255); };
            b.push_back(uint8_t(nearest(ch(px[i].R), ch(px[i].G), ch(px[i].B))));
        }
        for (int k = w; k < stride; ++k) b.push_back(0);
    }
    return b;
}

// Block-compressed DDS: width and height are multiples of 4 for every picture that uses it.
std::vector<uint8_t> DdsDxt(const PictureAsset& p, bool alpha)
{
    const Image& img = p.Picture;
    int bw = (img.Width + 3) / 4, bh = (img.Height + 3) / 4;
    uint32_t blockBytes = alpha ? 16 : 8;
    std::vector<uint8_t> b;
    b.insert(b.end(), {'D', 'D', 'S', ' '});
    Put32(b, 124);
    Put32(b, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000);  // caps, height, width, pixel format, linear size
    Put32(b, uint32_t(img.Height));
    Put32(b, uint32_t(img.Width));
    Put32(b, uint32_t(bw * bh) * blockBytes);
    Put32(b, 0);
    Put32(b, 0);
    for (int i = 0; i < 11; ++i) Put32(b, 0);
    Put32(b, 32);
    Put32(b, 0x4);  // four-character code
    b.insert(b.end(), {'D', 'X', 'T', uint8_t(alpha ? '5' : '1')});
    for (int i = 0; i < 5; ++i) Put32(b, 0);
    Put32(b, 0x1000);
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx) {
            unsigned char block[64];
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    const Colour& c = img.At(std::min(bx * 4 + x, img.Width - 1), std::min(by * 4 + y, img.Height - 1));
                    uint8_t a = alpha ? ToByte(c.A) : 255;
                    float k = alpha ? 1.0f : std::clamp(c.A, 0.0f, 1.0f);
                    unsigned char* px = block + (y * 4 + x) * 4;
                    px[0] = a ? ToByte(c.R * k) : 0;
                    px[1] = a ? ToByte(c.G * k) : 0;
                    px[2] = a ? ToByte(c.B * k) : 0;
                    px[3] = a;
                }
            unsigned char out[16];
            stb_compress_dxt_block(out, block, alpha ? 1 : 0, STB_DXT_HIGHQUAL);
            b.insert(b.end(), out, out + blockBytes);
        }
    return b;
}

std::vector<uint8_t> DdsArgb(const PictureAsset& p)
{
    const Image& img = p.Picture;
    std::vector<uint8_t> b;
    b.insert(b.end(), {'D', 'D', 'S', ' '});
    Put32(b, 124);
    Put32(b, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
    Put32(b, uint32_t(img.Height));
    Put32(b, uint32_t(img.Width));
    Put32(b, uint32_t(img.Width * 4));
    Put32(b, 0);  // depth
    Put32(b, 0);  // mip count: the loader builds the chain
    for (int i = 0; i < 11; ++i) Put32(b, 0);
    Put32(b, 32);
    Put32(b, 0x41);  // RGB with alpha
    Put32(b, 0);
    Put32(b, 32);
    Put32(b, 0x00FF0000);
    Put32(b, 0x0000FF00);
    Put32(b, 0x000000FF);
    Put32(b, 0xFF000000);
    Put32(b, 0x1000);  // texture
    for (int i = 0; i < 4; ++i) Put32(b, 0);
    for (const Colour& c : img.Pixels) {
        uint8_t a = ToByte(c.A);
        Rgb8 v{ToByte(c.R), ToByte(c.G), ToByte(c.B)};
        if (a == 0) v = Rgb8{0, 0, 0};  // keeps fully transparent texels identical and compressible
        if (p.Keyed && a == 255 && v.R == 255 && v.G == 255 && v.B == 255) v = Rgb8{254, 254, 254};
        if (p.Keyed && c.A < 0.5f) {
            // Keyed and transparent: opaque white, which the colour key turns transparent, so
            // the alpha channel and the key agree.
            v = Rgb8{255, 255, 255};
            a = 255;
        }
        b.push_back(v.B);
        b.push_back(v.G);
        b.push_back(v.R);
        b.push_back(a);
    }
    return b;
}
} // namespace

std::vector<uint8_t> EncodePicture(const PictureAsset& p)
{
    switch (p.Format) {
    case PictureBmp8: return Bmp8(p);
    case PictureDds: return DdsArgb(p);
    case PictureDxt1: return DdsDxt(p, false);
    case PictureDxt5: return DdsDxt(p, true);
    default: return Bmp24(p);
    }
}

std::vector<uint8_t> EncodeWav(const SoundAsset& s)
{
    std::vector<uint8_t> b;
    uint32_t dataBytes = uint32_t(s.Samples.size() * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    Put32(b, 36 + dataBytes);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, uint32_t(s.Channels));
    Put32(b, uint32_t(s.Rate));
    Put32(b, uint32_t(s.Rate * s.Channels * 2));
    Put16(b, uint32_t(s.Channels * 2));
    Put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    Put32(b, dataBytes);
    for (int16_t v : s.Samples) Put16(b, uint16_t(v));
    return b;
}

bool WritePng(const Image& img, const std::string& path)
{
    std::vector<uint8_t> rgb(size_t(img.Width) * img.Height * 3);
    for (size_t i = 0; i < img.Pixels.size(); ++i) {
        const Colour& c = img.Pixels[i];
        rgb[i * 3] = ToByte(c.R * c.A);
        rgb[i * 3 + 1] = ToByte(c.G * c.A);
        rgb[i * 3 + 2] = ToByte(c.B * c.A);
    }
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    return stbi_write_png(path.c_str(), img.Width, img.Height, 3, rgb.data(), img.Width * 3) != 0;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "assetgen: write failed for %s\n", path.c_str());
    return ok;
}

}  // namespace assetgen
