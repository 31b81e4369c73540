// Key names beside the bindings, help texts under the pointer on the graphics page.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/help_zones.h"
#include "dialogs/key_names.h"

namespace {
TEST(KeyNames, EdgesOfEachNamedRunAndTheGapsBetween) {
  const struct {
    std::uint32_t Code;
    const char* Name;
  } cases[] = {
      {7, "??"},         {8, "BackSpace"},      {9, "Tab"},         {10, "??"},
      {13, "Enter"},     {16, "Shift"},         {19, "Pause"},      {20, "??"},
      {29, "無変換"},    {32, "Space"},         {37, "←"},          {40, "↓"},
      {47, "Help"},      {48, "0"},             {57, "9"},          {58, "??"},
      {64, "??"},        {65, "A"},             {90, "Z"},          {91, "??"},
      {96, "Num 0"},     {108, "Num ?"},        {111, "Num /"},     {112, "F1"},
      {123, "F12"},      {124, "??"},           {186, "：(ｺﾛﾝ)"},   {191, "／(ｽﾗｯｼｭ)"},
      {192, "＠"},       {193, "??"},           {219, "["},         {220, "\\"},
      {222, "＾"},       {226, "_(ｱﾝﾀﾞｰﾗｲﾝ)"}, {227, "??"},        {255, "??"},
      {256 + 65, "??"},
  };
  for (const auto& c : cases) EXPECT_STREQ(KeyName(c.Code), c.Name) << c.Code;
}

TEST(KeyNames, RefusedKeysAreTheSystemAndLockKeysButNotEscape) {
  int refused = 0;
  for (std::uint32_t code = 0; code < 300; ++code) refused += IsRefusedKey(code) ? 1 : 0;
  EXPECT_EQ(refused, 11);
  for (std::uint32_t code : {28u, 42u, 91u, 92u, 93u, 95u, 144u, 145u, 243u, 244u, 255u})
    EXPECT_TRUE(IsRefusedKey(code)) << code;
  EXPECT_FALSE(IsRefusedKey(27));
  EXPECT_FALSE(IsRefusedKey(20));  // Caps Lock may be bound; it has no name
}

TEST(GraphicsHelp, ThePointerChoosesTheTextOfTheFirstZoneHoldingIt) {
  const std::string idle = GraphicsHelpIdle;
  const struct {
    int X, Y;
    const char* Starts;
  } cases[] = {
      {20, 20, "解像度の変更"},
      {10, 32, "解像度の変更"},  // on the border with the window-mode zone: the first wins
      {10, 33, "画面モードの変更"},
      {170, 32, "色数(bit)の変更"},  // shared with the sharpness zone
      {170, 33, "グラフィックの鮮明度"},
      {10, 52, "画面モードの変更"},
      {10, 53, "ミップマップの使用"},
      {100, 85, "ミップマップレベル"},
      {163, 20, "項目の説明"},  // the gap between resolution and colours
      {150, 140, "項目の説明"},
      {-5, -5, "項目の説明"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::string(GraphicsHelpText(nullptr, c.X, c.Y)).rfind(c.Starts, 0), 0u)
        << c.X << "," << c.Y << ": " << GraphicsHelpText(nullptr, c.X, c.Y);
  const std::string colours = GraphicsHelpText(nullptr, 200, 20);
  EXPECT_NE(colours.find("通常は[ディスプレイの設定]のままで十分です。\n"), std::string::npos);
  EXPECT_EQ(colours.find("%s"), std::string::npos);
}
}  // namespace
