// UTF-8 and CP932 through iconv; "CP932" rather than "SHIFT_JIS", which lacks the vendor rows.
#include "persist/cp932_text.h"

#include <errno.h>
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

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    for (char c : cp932) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return out;
  }
  char* in = const_cast<char*>(cp932.data());
  std::size_t inLeft = cp932.size();
  while (inLeft > 0) {
    // A CP932 byte becomes at most three UTF-8 bytes.
    char chunk[96];
    char* to = chunk;
    std::size_t toLeft = sizeof chunk;
    const std::size_t result = iconv(converter, &in, &inLeft, &to, &toLeft);
    out.append(chunk, static_cast<std::size_t>(to - chunk));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += '?';
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return out;
}
