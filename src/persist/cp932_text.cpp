// UTF-8 to CP932 through iconv; "CP932" rather than "SHIFT_JIS", which lacks the vendor rows.
#include "persist/cp932_text.h"

#include <iconv.h>

#include <utility>

bool Utf8ToCp932(std::string_view utf8, std::string& out) {
  out.clear();
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* to = result.data();
  std::size_t toLeft = result.size();
  const bool converted = iconv(converter, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
                         inLeft == 0;
  iconv_close(converter);
  if (!converted) return false;
  result.resize(result.size() - toLeft);
  out = std::move(result);
  return true;
}
