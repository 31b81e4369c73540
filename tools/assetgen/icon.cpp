// The `icon` sub-command: the desktop icon in the usual sizes, drawn in the game's own palette.
#include "commands.h"
#include "illustrations.h"
#include "paint_common.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

namespace {

constexpr int Canvas = 1024;
const int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// The enemy orb heard before it is seen: sound rings around it on the game's dark plate.
Image PaintIcon()
{
    const float c = Canvas / 2.0f, inset = Canvas * 0.06f, radius = Canvas * 0.18f;
    Image art(Canvas, Canvas);
    PaintBackdrop(art, Palette::Deep, Palette::Night, 0x1C0Du, false);
    for (int i = 0; i < 4; ++i)
        art.RingCircle(c, c, Canvas * (0.3f + 0.075f * i), Canvas * 0.022f,
                       WithAlpha(Palette::Accent, 0.85f - 0.2f * i));
    DrawOrb(art, c, c, Canvas * 0.24f, 0.5f);

    // Cut to a rounded square; the corners stay transparent.
    Image mask(Canvas, Canvas);
    mask.FillRoundRect(inset, inset, Canvas - inset, Canvas - inset, radius, Colour{1, 1, 1, 1});
    for (size_t i = 0; i < art.Pixels.size(); ++i) art.Pixels[i].A *= mask.Pixels[i].A;
    art.StrokeRoundRect(inset, inset, Canvas - inset, Canvas - inset, radius, Canvas * 0.012f,
                        WithAlpha(Palette::Accent, 0.7f));
    return art;
}

bool WriteRgbaPng(const std::string& path, const Image& img)
{
    std::vector<unsigned char> rgba;
    rgba.reserve(img.Pixels.size() * 4);
    for (const Colour& p : img.Pixels)
        for (float v : {p.R, p.G, p.B, p.A}) rgba.push_back(static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f));
    return stbi_write_png(path.c_str(), img.Width, img.Height, 4, rgba.data(), img.Width * 4) != 0;
}

} // namespace

int RunIcon(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: korvid_assetgen icon HICOLOR_DIR\n");
        return 2;
    }
    const Image full = PaintIcon();
    for (int size : IconSizes) {
        const std::filesystem::path folder =
            std::filesystem::path(argv[0]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::string path = (folder / "korvid.png").string();
        if (error || !WriteRgbaPng(path, Downscale(full, size, size))) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace assetgen
