// DLG_VERSION: its four texts come from the running program's own file.
#include "dialogs/version_dialog.h"

#include <cstdio>

#include "platform/version_info.h"

namespace {
constexpr int IdProduct = 1070;
constexpr int IdVersion = 1072;
constexpr int IdAuthor = 1073;
constexpr int IdCopyright = 1074;

constexpr DialogControl VersionControls[] = {
    {ControlKind::Icon, -1, "", 10, 10, 21, 20, 0},
    {ControlKind::Static, -1, "アプリケーション名：", 40, 10, 72, 10, SS_RIGHT},
    {ControlKind::Static, IdProduct, "アプリ名表示", 116, 10, 126, 10, SS_LEFT},
    {ControlKind::Static, -1, "バージョン：", 40, 24, 72, 10, SS_RIGHT},
    {ControlKind::Static, IdVersion, "バージョン表示", 116, 24, 126, 10, SS_LEFT},
    {ControlKind::Static, -1, "著作者：", 40, 38, 72, 10, SS_RIGHT},
    {ControlKind::Static, IdAuthor, "著作者名表示", 116, 38, 126, 10, SS_LEFT},
    {ControlKind::Static, IdCopyright, "", 10, 52, 232, 10, SS_LEFT},
    {ControlKind::PushButton, IDOK, "OK", 192, 62, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
};

struct Row {
  const char* Key;
  int Control;
};
// Walked in this order.
constexpr Row Rows[] = {
    {"LegalCopyright", IdCopyright}, {"ProductName", IdProduct}, {"FileVersion", IdVersion}, {"CompanyName", IdAuthor}};
}  // namespace

const DialogTemplate DLG_VERSION{
    "バージョン情報", "IPAPGothic", 9, 0, 0, 249, 80, WS_CAPTION | WS_SYSMENU | DS_CENTER, VersionControls};

bool ShowVersionTexts(HWND dialog, const std::string& programFile) {
  std::string block;
  std::uint16_t language = 0, codePage = 0;
  bool complete = ReadVersionBlock(programFile, block) && QueryVersionTranslation(block, language, codePage);
  for (const Row& row : Rows) {
    char path[96];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\%s", language, codePage, row.Key);
    std::string value;
    if (complete && QueryVersionValue(block, path, value)) SetDlgItemText(dialog, row.Control, value.c_str());
    else complete = false;
  }
  if (!complete) {
    // Nothing made up: the player sees that the file could not tell.
    for (const Row& row : Rows) SetDlgItemText(dialog, row.Control, "不明");
    SetDlgItemText(dialog, IdCopyright, "バージョン情報をプログラムから読み取れませんでした。");
  }
  return complete;
}

INT_PTR VersionDialogProc(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDialogFocus(dialog);
      ShowVersionTexts(dialog, ProgramFilePath());
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IDOK) EndDialog(dialog, 1);
      return 1;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return 1;
    case WM_DESTROY:
      return 1;
    default:
      return 0;
  }
}

void RunVersionDialog(HWND owner) { DialogBoxParam(owner, DLG_VERSION, VersionDialogProc, 0); }
