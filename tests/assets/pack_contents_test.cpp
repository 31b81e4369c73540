// The pack holds exactly the files the game loads, is small, and is rebuilt byte for byte.
#include "asset_readers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include <unistd.h>

namespace fs = std::filesystem;

class AssetPack : public PackInGameDir {};

namespace {
// Every file the game opens below File/, as the loaders name them.
std::set<std::string> ExpectedFiles()
{
    std::set<std::string> files = {
        "Bitmap/Title.dds",       "Bitmap/TitleBack.dds",   "Bitmap/GameOver.bmp",    "Bitmap/Record.bmp",
        "Bitmap/Setting.bmp",     "Bitmap/Credit.bmp",      "Bitmap/Fps.dds",         "Bitmap/tama.bmp",
        "Bitmap/Haikei_Sora.bmp", "Bitmap/Haikei_Yuka.bmp", "Bitmap/Haikei_Kabe.bmp", "Bitmap/Window.dds",
        "Bitmap/TamaKazu.bmp",    "Bitmap/HP.bmp",          "Bitmap/NoBitmap.bmp",    "Bitmap/Dankon.bmp",
        "Bitmap/Scope.bmp",       "Bitmap/Menu0.bmp",
        "XFile/Machinegun.x",     "XFile/Msg.x",            "XFile/Handgun.x",        "XFile/Hand.x",
        "XFile/SkyDoom.x",        "XFile/Ball.x",           "XFile/Tree.x",
        "XFile/Texture/Machinegun.bmp", "XFile/Texture/Msg.bmp", "XFile/Texture/Handgun.bmp",
        "XFile/Texture/SkyDoom.bmp",    "XFile/Texture/Ball.bmp", "XFile/Texture/Tree.bmp",
        "Sound/Machinegun.wav",   "Sound/MachinegunTeki.wav", "Sound/Machinegun_Reload.wav", "Sound/Rifle.wav",
        "Sound/Rifle_Reload.wav", "Sound/Rifle_Shells.wav", "Sound/Handgun.wav",      "Sound/Bullet_Kabe.wav",
        "Sound/Bullet_Yuka.wav",  "Sound/Page.wav",         "Sound/Heartbeat_4.wav",  "Sound/Heartbeat_6.wav",
        "Sound/Heartbeat_10.wav", "Sound/Heartbeat_15.wav", "Sound/MenuMusic.wav",    "Sound/midi_my.mid",
    };
    char name[64];
    for (int i = 1; i <= 6; ++i) {
        std::snprintf(name, sizeof name, "Bitmap/Cursor%02d.dds", i);
        files.insert(name);
        std::snprintf(name, sizeof name, "Bitmap/Cursor%02d_a.bmp", i);
        files.insert(name);
        std::snprintf(name, sizeof name, "Bitmap/Menu%da.bmp", i);
        files.insert(name);
        std::snprintf(name, sizeof name, "Bitmap/Menu%db.bmp", i);
        files.insert(name);
    }
    for (int i = 1; i <= 3; ++i) {
        for (const char* f : {"Bitmap/Operation%02d.bmp", "Bitmap/Noise%02d.bmp", "Bitmap/WeaponName%02d.dds"}) {
            std::snprintf(name, sizeof name, f, i);
            files.insert(name);
        }
    }
    for (int i = 1; i <= 8; ++i) {
        std::snprintf(name, sizeof name, "Bitmap/Smoke/Smoke%02d.bmp", i);
        files.insert(name);
    }
    for (int i = 1; i <= 5; ++i) {
        std::snprintf(name, sizeof name, "Sound/Call_Hajime_%02d.wav", i);
        files.insert(name);
    }
    // Every picture with words, again in English, in the language folder.
    for (const char* f : {"Title.dds", "GameOver.bmp", "Record.bmp", "Setting.bmp", "Credit.bmp"})
        files.insert(std::string("Bitmap/en/") + f);
    for (int i = 1; i <= 6; ++i)
        for (const char* f : {"Bitmap/en/Menu%da.bmp", "Bitmap/en/Menu%db.bmp"}) {
            std::snprintf(name, sizeof name, f, i);
            files.insert(name);
        }
    for (int i = 1; i <= 3; ++i)
        for (const char* f : {"Bitmap/en/Operation%02d.bmp", "Bitmap/en/WeaponName%02d.dds"}) {
            std::snprintf(name, sizeof name, f, i);
            files.insert(name);
        }
    for (int i = 1; i <= 4; ++i) {
        std::snprintf(name, sizeof name, "Sound/Call_Damage_%02d.wav", i);
        files.insert(name);
        std::snprintf(name, sizeof name, "Sound/Call_Kill_%02d.wav", i);
        files.insert(name);
    }
    return files;
}

std::set<std::string> FilesBelow(const fs::path& root)
{
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) out.insert(fs::relative(e.path(), root).generic_string());
    return out;
}
} // namespace

TEST_F(AssetPack, BuildWritesExactlyTheFilesTheGameLoads)
{
    std::set<std::string> expected = ExpectedFiles();
    // 53 catalogue files, 6 cursor previews, 13 model files, 29 sounds, 23 English pictures
    ASSERT_EQ(expected.size(), 124u);
    fs::path root = fs::path(GameDir()) / "File";
    ASSERT_TRUE(fs::is_directory(root)) << root;
    std::set<std::string> found = FilesBelow(root);
    for (const std::string& f : expected) EXPECT_TRUE(found.count(f)) << "missing " << f;
    for (const std::string& f : found) EXPECT_TRUE(expected.count(f)) << "unexpected " << f;
}

TEST_F(AssetPack, StaysUnderThirtyMegabytesAndTheEnglishPicturesUnderSixteen)
{
    uintmax_t total = 0, english = 0;
    for (const auto& e : fs::recursive_directory_iterator(fs::path(GameDir()) / "File"))
        if (e.is_regular_file()) {
            const bool translated = e.path().parent_path().filename() == "en";
            (translated ? english : total) += e.file_size();
        }
    EXPECT_LT(total, 30u * 1024 * 1024);
    EXPECT_GT(total, 1u * 1024 * 1024);
    EXPECT_LT(english, 16u * 1024 * 1024);
}

TEST_F(AssetPack, SecondRunIsByteIdenticalToTheBuild)
{
    fs::path dir = fs::temp_directory_path() / ("korvid_assets_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ASSERT_EQ(RunGenerator(dir.string()), 0);
    fs::path fresh = dir / "File", built = fs::path(GameDir()) / "File";
    std::set<std::string> a = FilesBelow(fresh), b = FilesBelow(built);
    EXPECT_EQ(a, b);
    for (const std::string& f : a)
        EXPECT_TRUE(ReadBytes((fresh / f).string()) == ReadBytes((built / f).string())) << f << " differs";
    fs::remove_all(dir);
}

TEST_F(AssetPack, ContactSheetIsOnePictureOfEverything)
{
    fs::path png = fs::temp_directory_path() / ("korvid_sheet_" + std::to_string(::getpid()) + ".png");
    std::string command = std::string("'") + KORVID_ASSETGEN + "' contact-sheet '" + png.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<uint8_t> bytes = ReadBytes(png.string());
    fs::remove(png);
    ASSERT_GT(bytes.size(), 24u);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, bytes.begin()));
    uint32_t width = uint32_t(bytes[16]) << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19];
    uint32_t height = uint32_t(bytes[20]) << 24 | bytes[21] << 16 | bytes[22] << 8 | bytes[23];
    EXPECT_GE(width, 2000u);
    EXPECT_GE(height, 2000u);  // pictures, two rows of models and the screen mock-ups
}

TEST_F(AssetPack, EachEnglishPictureIsItsJapaneseOneWithOtherWords)
{
    const fs::path root = fs::path(GameDir()) / "File" / "Bitmap";
    int pictures = 0;
    for (const auto& e : fs::directory_iterator(root / "en")) {
        const std::string name = e.path().filename().string();
        ASSERT_TRUE(fs::is_regular_file(root / name)) << name << " has no Japanese picture to stand for";
        // The same format and size of picture, painted with other words.
        EXPECT_EQ(fs::file_size(e.path()), fs::file_size(root / name)) << name;
        EXPECT_FALSE(ReadBytes(e.path().string()) == ReadBytes((root / name).string())) << name << " is a copy";
        ++pictures;
    }
    EXPECT_EQ(pictures, 23);
}
