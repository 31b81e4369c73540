// Every text of every dialog fits its control in Japanese and in every language the build has a
// catalogue for, measured with the dialog font.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "dialogs/help_zones.h"
#include "dialogs/key_names.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "platform/translation.h"
#include "screens/name_entry.h"
#include "settings_window_fixture.h"
#include "support/dialog_script.h"

namespace {
constexpr int KeyNameStatic = 1036;    // the key page's first key name
constexpr int FirstKeyButton = 1042;   // its "変更"
constexpr int GraphicsHelpStatic = 1045;

struct Language {
  std::string Name;
  std::string Catalogue;  // empty: the Japanese texts as written
};
void PrintTo(const Language& l, std::ostream* os) { *os << l.Name; }
// Japanese, English, and every other catalogue compiled into the build: a language a
// translator adds is measured without a line here.
std::vector<Language> AllLanguages() {
  std::vector<Language> all{{"Japanese", ""}, {"English", "en"}};
  std::vector<std::string> others;
  std::error_code failed;
  const std::string folder = CatalogueFolder();
  if (!folder.empty())
    for (const auto& entry : std::filesystem::directory_iterator(folder, failed)) {
      const std::string name = entry.path().filename().string();
      if (name != "en" && std::filesystem::is_regular_file(entry.path() / "LC_MESSAGES" / "korvid.mo", failed))
        others.push_back(name);
    }
  std::sort(others.begin(), others.end());
  for (const std::string& name : others) all.push_back({name, name});
  return all;
}
bool Choose(const Language& l) {
  return l.Catalogue.empty() ? ChooseLanguage(LanguageJapanese) : ChooseCatalogue(l.Catalogue);
}
std::string TestName(const testing::TestParamInfo<Language>& info) {
  std::string name = info.param.Name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

std::string Describe(const char* where, const std::vector<TextOverflow>& found) {
  std::string out;
  for (const TextOverflow& o : found)
    out += std::string(where) + " control " + std::to_string(o.Id) + " \"" + o.Text + "\" needs " +
           std::to_string(o.Needed) + " px of " + std::to_string(o.Available) + "\n";
  return out;
}

// Every help text a page can show, found by walking its zones in dialog units.
template <typename Lookup>
std::set<std::string> HelpTexts(Lookup lookup) {
  std::set<std::string> texts;
  for (int y = 0; y < 176; y += 2)
    for (int x = 0; x < 282; x += 2) texts.insert(lookup(nullptr, x, y));
  return texts;
}

class SettingsTextFit : public SettingsWindowTest, public testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    ASSERT_TRUE(Choose(GetParam()));
  }
  void TearDown() override {
    ChooseLanguage(LanguageJapanese);
    SettingsWindowTest::TearDown();
  }
};

TEST_P(SettingsTextFit, EveryControlOfTheWindowItsPagesAndItsDialogsHoldsItsText) {
  std::string problems;
  HWND window = nullptr;
  int stage = 0;
  RunWindow([&](HWND top, int frame) {
    if (frame < 2) return;
    switch (stage) {
      case 0: {
        window = top;
        problems += Describe("settings", FindTextOverflows(top));
        // Texts the pages show later: every key name and every help text.
        HWND keys = SettingsWindow.Pages[PageKeys];
        for (std::uint32_t code = 1; code < 256; ++code) {
          if (std::string(KeyName(code)) == "??") continue;
          SetDlgItemText(keys, KeyNameStatic, KeyName(code));
          problems += Describe("key name", FindTextOverflows(top));
        }
        for (const std::string& text : HelpTexts(GraphicsHelpText)) {
          SetDlgItemText(SettingsWindow.Pages[PageGraphics], GraphicsHelpStatic, text.c_str());
          problems += Describe("graphics help", FindTextOverflows(top));
        }
        for (const std::string& text : HelpTexts(OptionsHelpText)) {
          SetDlgItemText(SettingsWindow.Pages[PageOptions], IdOptionsHelp, text.c_str());
          problems += Describe("options help", FindTextOverflows(top));
        }
        PostClick(top, IdVersion);
        stage = 1;
        break;
      }
      case 1:
        if (top == window) break;
        if (frame % 2) break;  // one frame drawn first: its fonts hold the texts
        problems += Describe("version", FindTextOverflows(top));
        PostMessage(top, WM_CLOSE, 0, 0);
        stage = 2;
        break;
      case 2:
        if (top != window) break;
        ShowDialog(SettingsWindow.Pages[PageKeys], true);
        PostClick(SettingsWindow.Pages[PageKeys], FirstKeyButton);
        stage = 3;
        break;
      case 3:
        if (top == window) break;
        if (frame % 2) break;
        problems += Describe("key set", FindTextOverflows(top));
        PostMessage(top, WM_CLOSE, 0, 0);
        stage = 4;
        break;
      case 4:
        if (top != window) break;
        Click(top, IdCancel);
        stage = 5;
        break;
      default: break;
    }
  });
  EXPECT_EQ(stage, 5) << "not every dialog was opened";
  EXPECT_EQ(problems, "");
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsTextFit, testing::ValuesIn(AllLanguages()), TestName);

class NameEntryTextFit : public DialogFixture, public testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    ASSERT_TRUE(Choose(GetParam()));
  }
  void TearDown() override {
    ChooseLanguage(LanguageJapanese);
    DialogFixture::TearDown();
  }
};

TEST_P(NameEntryTextFit, TheRankingEntryHoldsItsTexts) {
  DialogScript script(Main);
  std::string problems;
  script.Then([](HWND) {}).Then([&](HWND d) {
    problems = Describe("ranking entry", FindTextOverflows(d));
    EndDialog(d, 0);
  });
  DialogBoxParam(Main, DLG_RANKINGENTRY, RankingEntryProc, 0);
  EXPECT_EQ(script.StepsRun(), 2u);
  EXPECT_EQ(problems, "");
}

INSTANTIATE_TEST_SUITE_P(Languages, NameEntryTextFit, testing::ValuesIn(AllLanguages()), TestName);
}  // namespace
