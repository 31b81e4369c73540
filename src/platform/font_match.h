// Finding a font family's file through fontconfig.
#pragma once

#include <string>

// The file of fontconfig's best match for `family` (preferring faces that cover `language`
// when one is given) and the family that match belongs to; false when nothing matched.
bool MatchFontFile(const std::string& family, const char* language, std::string& file,
                   std::string& matchedFamily);
