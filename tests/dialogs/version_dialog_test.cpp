// The version block read back from the program file, and the dialog that shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "dialogs/version_dialog.h"
#include "platform/version_info.h"
#include "support/dialog_script.h"

namespace {
constexpr int IdProduct = 1070, IdVersion = 1072, IdAuthor = 1073, IdCopyright = 1074;

TEST(VersionBlock, ReadsBackFromTheRunningProgramsOwnFile) {
  std::string block;
  ASSERT_TRUE(ReadVersionBlock(ProgramFilePath(), block));
  std::uint16_t language = 0, codePage = 0;
  ASSERT_TRUE(QueryVersionTranslation(block, language, codePage));
  EXPECT_EQ(language, 0x0411);
  EXPECT_EQ(codePage, 0x04B0);
  std::string value;
  ASSERT_TRUE(QueryVersionValue(block, "\\StringFileInfo\\041104B0\\FileVersion", value));
  EXPECT_EQ(value, "Version 1.21");
  ASSERT_TRUE(QueryVersionValue(block, "\\StringFileInfo\\041104B0\\ProductName", value));
  EXPECT_EQ(value, "Korvid");
  // A key is matched whole: a prefix of one is no key.
  EXPECT_FALSE(QueryVersionValue(block, "\\StringFileInfo\\041104B0\\Product", value));
  EXPECT_FALSE(QueryVersionValue(block, "\\StringFileInfo\\040904B0\\ProductName", value));
}

TEST(VersionBlock, FilesWithoutOneAreRefused) {
  const std::string scratch = testing::TempDir() + "korvid_not_elf";
  std::ofstream(scratch) << "\x7f" "ELF but not really";
  std::string block = "stale";
  for (const std::string& path : {std::string("/nonexistent/korvid"), scratch, std::string("/bin/sh")}) {
    EXPECT_FALSE(ReadVersionBlock(path, block)) << path;
    EXPECT_TRUE(block.empty());
  }
  std::remove(scratch.c_str());
}

class VersionDialogTest : public DialogFixture {};

TEST_F(VersionDialogTest, ShowsTheFilesTextsAndClosesWithEnterButNotEscape) {
  DialogScript script(Main);
  HWND dialog = nullptr;
  script
      .Then([&](HWND d) {
        dialog = d;
        EXPECT_EQ(GetDlgItemText(d, IdProduct), "Korvid");
        EXPECT_EQ(GetDlgItemText(d, IdVersion), "Version 1.21");
        EXPECT_FALSE(GetDlgItemText(d, IdAuthor).empty());
        EXPECT_EQ(GetDlgItemText(d, IdCopyright).rfind("Copyright", 0), 0u);
        EXPECT_EQ(GetDlgFocusId(d), IDOK);
        script.Key(0x1B);
      })
      .Then([&](HWND d) {
        EXPECT_EQ(d, dialog);
        script.Key(13);
      });
  RunVersionDialog(Main);
  EXPECT_EQ(script.StepsRun(), 2u);
}

TEST_F(VersionDialogTest, ItsCloseBoxEndsIt) {
  DialogScript script(Main);
  script.Then([](HWND d) { PostMessage(d, WM_CLOSE, 0, 0); });
  EXPECT_EQ(DialogBoxParam(Main, DLG_VERSION, VersionDialogProc, 0), 1);
}

TEST_F(VersionDialogTest, AFileWithoutVersionInformationSaysSo) {
  DialogScript script(Main);
  script.Then([](HWND d) {
    EXPECT_FALSE(ShowVersionTexts(d, "/bin/sh"));
    EXPECT_EQ(GetDlgItemText(d, IdProduct), "不明");
    EXPECT_EQ(GetDlgItemText(d, IdVersion), "不明");
    EXPECT_EQ(GetDlgItemText(d, IdCopyright), "バージョン情報をプログラムから読み取れませんでした。");
    EXPECT_TRUE(ShowVersionTexts(d, ProgramFilePath()));
    EXPECT_EQ(GetDlgItemText(d, IdVersion), "Version 1.21");
    EndDialog(d, 1);
  });
  RunVersionDialog(Main);
}
}  // namespace
