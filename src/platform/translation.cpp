// Message catalogues through the C library's gettext: the language picked, bound and looked up.
#include "platform/translation.h"

#include <libintl.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#ifndef KORVID_LOCALE_FROM_BIN
#define KORVID_LOCALE_FROM_BIN "../share/locale"
#endif
#ifndef KORVID_BUILD_LOCALE_DIR
#define KORVID_BUILD_LOCALE_DIR ""
#endif
#ifndef KORVID_INSTALL_LOCALE_DIR
#define KORVID_INSTALL_LOCALE_DIR "/usr/share/locale"
#endif

namespace {
constexpr const char* Domain = "korvid";

bool Active = false;
std::string Folder;

// The environment as the program found it: choosing English sets LANGUAGE for the lookup.
struct StartEnvironment {
  std::optional<std::string> Language, LcAll, LcMessages, Lang;
};
std::optional<std::string> Read(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}
const StartEnvironment& Environment() {
  static const StartEnvironment start{Read("LANGUAGE"), Read("LC_ALL"), Read("LC_MESSAGES"), Read("LANG")};
  return start;
}
const char* Pointer(const std::optional<std::string>& value) { return value ? value->c_str() : nullptr; }

bool NonEmpty(const char* value) { return value && *value; }

// "en_GB.UTF-8@euro" is tried as "en_GB" and then as "en".
std::string WithoutCodeset(const std::string& name) {
  const std::size_t cut = name.find_first_of(".@");
  return cut == std::string::npos ? name : name.substr(0, cut);
}

bool HasCatalogueIn(const std::string& folder, const std::string& name) {
  std::error_code failed;
  return std::filesystem::is_regular_file(folder + "/" + name + "/LC_MESSAGES/korvid.mo", failed);
}

bool CatalogueAnswers() {
  // A catalogue that was read answers the empty message id with its header, however little of
  // it is translated yet.
  static const char probe[] = "";
  return dgettext(Domain, probe) != probe;
}
}  // namespace

std::string PickCatalogue(std::uint32_t choice, const char* language, const char* lcAll, const char* lcMessages,
                          const char* lang, const std::function<bool(const std::string&)>& hasCatalogue) {
  if (choice == LanguageJapanese) return "";
  if (choice == LanguageEnglish) return hasCatalogue("en") ? "en" : "";
  const char* locale = NonEmpty(lcAll) ? lcAll : NonEmpty(lcMessages) ? lcMessages : NonEmpty(lang) ? lang : "C";
  const std::string localeName = locale;
  if (localeName == "C" || localeName == "POSIX") return "";
  const std::string list = NonEmpty(language) ? language : localeName;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string entry = WithoutCodeset(list.substr(start, end - start));
    start = end + 1;
    if (entry.empty()) continue;
    const std::string bare = entry.substr(0, entry.find('_'));
    if (bare == "ja") return "";
    if (hasCatalogue(entry)) return entry;
    if (bare != entry && hasCatalogue(bare)) return bare;
  }
  return "";
}

std::string CatalogueFolder() {
  std::vector<std::string> candidates;
  std::error_code failed;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (!failed) {
    const std::filesystem::path bin = self.parent_path();
    candidates.push_back((bin / KORVID_LOCALE_FROM_BIN).lexically_normal().string());
    candidates.push_back((bin / "locale").string());
  }
  if (*KORVID_BUILD_LOCALE_DIR) candidates.push_back(KORVID_BUILD_LOCALE_DIR);
  candidates.push_back(KORVID_INSTALL_LOCALE_DIR);
  for (const std::string& folder : candidates)
    if (std::filesystem::is_directory(folder, failed)) {
      // A folder counts only when it holds one of our catalogues.
      for (const auto& entry : std::filesystem::directory_iterator(folder, failed))
        if (HasCatalogueIn(folder, entry.path().filename().string())) return folder;
    }
  return "";
}

namespace {
// Binds the catalogue `picked` of `folder` and makes it the one texts are looked up in.
bool UseCatalogue(const std::string& folder, const std::string& picked) {
  bindtextdomain(Domain, folder.c_str());
  bind_textdomain_codeset(Domain, "UTF-8");
  // The lookup honours LANGUAGE only outside the C locale; C.UTF-8 is always there.
  setenv("LANGUAGE", picked.c_str(), 1);
  if (!setlocale(LC_MESSAGES, "C.UTF-8") && !setlocale(LC_MESSAGES, "")) {
    std::fprintf(stderr, "korvid: no UTF-8 locale to show the \"%s\" texts with; they stay Japanese\n",
                 picked.c_str());
    return false;
  }
  if (!CatalogueAnswers()) {
    std::fprintf(stderr, "korvid: the message catalogue for \"%s\" in %s cannot be read; the texts stay Japanese\n",
                 picked.c_str(), folder.c_str());
    return false;
  }
  Active = true;
  Folder = picked;
  return true;
}
}  // namespace

bool ChooseLanguage(std::uint32_t choice) {
  const StartEnvironment& env = Environment();
  const std::string folder = CatalogueFolder();
  const std::string picked =
      folder.empty() ? std::string()
                     : PickCatalogue(choice, Pointer(env.Language), Pointer(env.LcAll), Pointer(env.LcMessages),
                                     Pointer(env.Lang),
                                     [&folder](const std::string& name) { return HasCatalogueIn(folder, name); });
  Active = false;
  Folder.clear();
  if (picked.empty()) {
    if (choice != LanguageEnglish) return true;
    std::fputs("korvid: no English message catalogue was found; the texts stay Japanese\n", stderr);
    return false;
  }
  return UseCatalogue(folder, picked);
}

bool ChooseCatalogue(const std::string& name) {
  Environment();  // taken before LANGUAGE is set here, as ChooseLanguage would have found it
  const std::string folder = CatalogueFolder();
  Active = false;
  Folder.clear();
  if (folder.empty() || !HasCatalogueIn(folder, name)) {
    std::fprintf(stderr, "korvid: no \"%s\" message catalogue was found; the texts stay Japanese\n", name.c_str());
    return false;
  }
  return UseCatalogue(folder, name);
}

const char* Translate(const char* japanese) {
  if (!Active || !japanese || !*japanese) return japanese;
  return dgettext(Domain, japanese);
}

const std::string& LanguageFolder() { return Folder; }
