// The language choice from the option and the environment, and the texts the sinks show in it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/translation.h"

namespace {
struct PickCase {
  const char* Name;
  std::uint32_t Choice;
  const char *Language, *LcAll, *LcMessages, *Lang;
  const char* Expected;
};

void PrintTo(const PickCase& c, std::ostream* os) { *os << c.Name; }

class CataloguePick : public testing::TestWithParam<PickCase> {};

TEST_P(CataloguePick, FollowsTheOptionThenTheEnvironmentAsTheMessageLookupDoes) {
  const PickCase& c = GetParam();
  const std::set<std::string> installed = {"en", "pt_BR"};
  const auto has = [&](const std::string& name) { return installed.count(name) > 0; };
  EXPECT_EQ(PickCatalogue(c.Choice, c.Language, c.LcAll, c.LcMessages, c.Lang, has), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CataloguePick,
    testing::Values(
        PickCase{"JapaneseWhateverTheEnvironment", LanguageJapanese, "en", nullptr, nullptr, "en_US.UTF-8", ""},
        PickCase{"EnglishWhateverTheEnvironment", LanguageEnglish, "ja", nullptr, nullptr, "ja_JP.UTF-8", "en"},
        PickCase{"NothingSetIsTheCLocale", LanguageSystem, nullptr, nullptr, nullptr, nullptr, ""},
        PickCase{"CLocaleIgnoresLanguage", LanguageSystem, "en", nullptr, nullptr, "C", ""},
        PickCase{"PosixLocaleIgnoresLanguage", LanguageSystem, "en", "POSIX", nullptr, "en_US.UTF-8", ""},
        PickCase{"LangAlone", LanguageSystem, nullptr, nullptr, nullptr, "en_GB.UTF-8", "en"},
        PickCase{"LcAllBeatsLang", LanguageSystem, nullptr, "ja_JP.UTF-8", nullptr, "en_US.UTF-8", ""},
        PickCase{"LcMessagesBeatsLang", LanguageSystem, nullptr, nullptr, "en_US.UTF-8", "ja_JP.UTF-8", "en"},
        PickCase{"EmptyLcAllIsUnset", LanguageSystem, nullptr, "", nullptr, "en_US.UTF-8", "en"},
        PickCase{"LanguageListBeatsTheLocale", LanguageSystem, "en", nullptr, nullptr, "ja_JP.UTF-8", "en"},
        PickCase{"FirstListedWithACatalogue", LanguageSystem, "de:fr_CA:pt_BR:en", nullptr, nullptr, "C.UTF-8",
                 "pt_BR"},
        PickCase{"JapaneseInTheListEndsTheSearch", LanguageSystem, "ja:en", nullptr, nullptr, "C.UTF-8", ""},
        PickCase{"CountryFallsBackToTheLanguage", LanguageSystem, "en_AU", nullptr, nullptr, "C.UTF-8", "en"},
        PickCase{"NoCatalogueMeansJapanese", LanguageSystem, "de:fr", nullptr, nullptr, "de_DE.UTF-8", ""},
        PickCase{"CUtf8WithoutLanguageIsJapanese", LanguageSystem, nullptr, nullptr, nullptr, "C.UTF-8", ""},
        PickCase{"EmptyEntriesAreSkipped", LanguageSystem, "::en", nullptr, nullptr, "C.UTF-8", "en"}),
    [](const testing::TestParamInfo<PickCase>& info) { return std::string(info.param.Name); });

TEST(CataloguePick, EnglishWithoutItsCatalogueStaysJapanese) {
  EXPECT_EQ(PickCatalogue(LanguageEnglish, nullptr, nullptr, nullptr, nullptr,
                          [](const std::string&) { return false; }),
            "");
}

class Translation : public testing::Test {
 protected:
  void TearDown() override { ChooseLanguage(LanguageJapanese); }
};

TEST_F(Translation, JapaneseGivesTheVeryTextsAndEnglishTheCataloguesOnes) {
  ASSERT_FALSE(CatalogueFolder().empty()) << "the build tree holds no compiled catalogue";
  const char* const texts[] = {"警告", "設定の保存", "Now Loadind... %d％\u3000テクスチャのロード中"};
  ASSERT_TRUE(ChooseLanguage(LanguageJapanese));
  EXPECT_EQ(LanguageFolder(), "");
  for (const char* text : texts) EXPECT_EQ(Translate(text), text);  // the same bytes, the same pointer

  ASSERT_TRUE(ChooseLanguage(LanguageEnglish));
  EXPECT_EQ(LanguageFolder(), "en");
  EXPECT_STREQ(Translate("警告"), "Warning");
  EXPECT_STREQ(Translate("設定の保存"), "Save");
  EXPECT_STREQ(Translate(texts[2]), "Now Loading... %d%%  Loading the textures");
  // What the catalogue does not hold (a player's name, a file name) passes as it is.
  const char name[] = "名無し";
  EXPECT_EQ(Translate(name), name);
  EXPECT_EQ(Translate(""), std::string());
  EXPECT_EQ(Translate(nullptr), nullptr);
}

TEST_F(Translation, MessageBoxesAndDialogControlsShowTheChosenLanguage) {
  ASSERT_TRUE(ChooseLanguage(LanguageEnglish));
  BeginMessageBoxCapture();
  QueueMessageBoxAnswer(IDNO);
  MessageBox(nullptr, "画面サイズを今すぐ変更しますか？", "警告", MB_YESNO);
  ASSERT_TRUE(ChooseLanguage(LanguageJapanese));
  MessageBox(nullptr, "画面サイズを今すぐ変更しますか？", "警告", MB_YESNO);
  const auto& boxes = CapturedMessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Text, "Change the screen size now?");
  EXPECT_EQ(boxes[0].Caption, "Warning");
  EXPECT_EQ(boxes[1].Text, "画面サイズを今すぐ変更しますか？");
  EXPECT_EQ(boxes[1].Caption, "警告");
  EndMessageBoxCapture();
}
}  // namespace
