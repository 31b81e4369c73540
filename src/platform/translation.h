// The player's language: the game's Japanese texts are the keys of the message catalogues.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The language option's values, as stored in korvid.ini.
enum : std::uint32_t { LanguageSystem = 0, LanguageJapanese = 1, LanguageEnglish = 2 };

// The catalogue a choice leads to: "" for Japanese (the texts as written), otherwise the name
// of a catalogue folder such as "en" or "pt_BR". System follows the environment as the C
// library's message lookup does: LC_ALL, LC_MESSAGES, then LANG name the locale; a C or POSIX
// locale means no translation; otherwise LANGUAGE (a colon-separated list), or the locale's own
// name, is tried entry by entry, each as given and as its bare language; "ja" or a first
// entry-free list ends the search in Japanese. `hasCatalogue` tells whether a name has one.
std::string PickCatalogue(std::uint32_t choice, const char* language, const char* lcAll, const char* lcMessages,
                          const char* lang, const std::function<bool(const std::string&)>& hasCatalogue);

// Chooses the language texts are shown in from now on, with this process's environment as it
// was at the first call. False, told on standard error, when the chosen catalogue cannot be
// used; the texts are then Japanese.
bool ChooseLanguage(std::uint32_t choice);

// Chooses a catalogue by its folder name ("en", "pt_BR"), whether or not the option lists its
// language: the dialog measurements take every catalogue of the build this way, a translator's
// new one included. False, told on standard error, when it is missing or cannot be used.
bool ChooseCatalogue(const std::string& name);

// The text in the chosen language: `japanese` itself in Japanese or where the catalogue has no
// entry for it. The result lives as long as the program.
const char* Translate(const char* japanese);

// The catalogue in use ("" in Japanese); the pictures' language folder is named the same.
const std::string& LanguageFolder();

// The folder holding <language>/LC_MESSAGES/korvid.mo: beside the program in the build tree,
// or the installed share/locale. Empty when none is found.
std::string CatalogueFolder();
