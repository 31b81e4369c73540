// The check sub-command: passes on the default pack and names each broken file of a copy.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "asset_readers.h"

namespace {
namespace fs = std::filesystem;

struct CheckRun {
    int Status = -1;
    std::string Output;
};

CheckRun RunCheck(const std::string& fileDir)
{
    CheckRun run;
    const std::string command = std::string(KORVID_ASSETGEN) + " check '" + fileDir + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.Output += buffer;
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CheckMode : public PackInGameDir {};

TEST_F(CheckMode, DefaultPackWouldStart)
{
    const CheckRun run = RunCheck(GameDir() + "/File");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("the game would start"), std::string::npos) << run.Output;
}

TEST_F(CheckMode, DamagedCopyNamesEveryBrokenFile)
{
    const fs::path copy = fs::temp_directory_path() / ("korvid_check_" + std::to_string(::getpid()));
    fs::remove_all(copy);
    fs::create_directories(copy);
    fs::copy(GameDir() + "/File", copy / "File", fs::copy_options::recursive);
    // A truncated picture, a missing model and a sound cut inside its header.
    fs::resize_file(copy / "File/Bitmap/Smoke/Smoke04.bmp", 40);
    fs::remove(copy / "File/XFile/Hand.x");
    fs::resize_file(copy / "File/Sound/Call_Kill_03.wav", 20);

    const CheckRun run = RunCheck((copy / "File").string());
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(run.Output.find("Smoke04.bmp"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("Hand.x"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("Call_Kill_03.wav"), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("Smoke03.bmp"), std::string::npos) << "an intact file was named: " << run.Output;
    fs::remove_all(copy);
}
}  // namespace
