// Finding a font family's file through fontconfig.
#include "platform/font_match.h"

#include <fontconfig/fontconfig.h>

bool MatchFontFile(const std::string& family, const char* language, std::string& file,
                   std::string& matchedFamily) {
  file.clear();
  matchedFamily.clear();
  if (!FcInit()) return false;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (!pattern) return false;
  if (language) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match) {
    FcChar8* found = nullptr;
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file = reinterpret_cast<const char*>(path);
    if (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch)
      matchedFamily = reinterpret_cast<const char*>(found);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return !file.empty();
}
