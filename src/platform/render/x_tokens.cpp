// Tokens of a .x file body: text words and separators, binary tokens and their lists.
#include "platform/render/x_tokens.h"

#include <charconv>
#include <cstring>

namespace {

// Binary token values.
enum : std::uint16_t {
  TokName = 1,
  TokString = 2,
  TokInteger = 3,
  TokGuid = 5,
  TokIntegerList = 6,
  TokFloatList = 7,
  TokOpenBrace = 10,
  TokCloseBrace = 11,
  TokComma = 19,
  TokSemicolon = 20,
  TokTemplate = 31,
};

// Punctuation and type keywords: they carry no data and appear in template declarations.
bool PlainToken(std::uint16_t token) { return (token >= 12 && token <= 20) || (token >= 40 && token <= 52); }

bool Space(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Characters that end a text word: white space, control characters, braces, separators,
// quotes and comment starts ('/' only when doubled).
struct WordEnds {
  bool Ends[256] = {};
  constexpr WordEnds() {
    for (int c = 0; c < 0x20; ++c) Ends[c] = true;
    for (const char c : {' ', '{', '}', ';', ',', '"', '#', '/'}) Ends[static_cast<std::uint8_t>(c)] = true;
    Ends[0x7F] = true;
  }
};
constexpr WordEnds WordEnd;

std::uint32_t Read32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

void XTokens::SkipSpaceAndComments() {
  while (At < Size) {
    const std::uint8_t c = Data[At];
    if (Space(c)) {
      ++At;
    } else if (c == '#' || (c == '/' && At + 1 < Size && Data[At + 1] == '/')) {
      const void* end = std::memchr(Data + At, '\n', Size - At);
      At = end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - Data) + 1 : Size;
    } else {
      return;
    }
  }
}

void XTokens::SkipSeparators() {
  if (Binary) {
    std::uint16_t token = 0;
    while (ListLeft == 0 && At + 2 <= Size && ((token = static_cast<std::uint16_t>(Data[At] | (Data[At + 1] << 8))) ==
                                                   TokComma || token == TokSemicolon))
      At += 2;
    return;
  }
  for (;;) {
    SkipSpaceAndComments();
    if (At < Size && (Data[At] == ',' || Data[At] == ';')) {
      ++At;
      continue;
    }
    return;
  }
}

std::string_view XTokens::TextWord() {
  const std::size_t start = At;
  while (At < Size && (!WordEnd.Ends[Data[At]] || (Data[At] == '/' && (At + 1 == Size || Data[At + 1] != '/'))))
    ++At;
  return {reinterpret_cast<const char*>(Data + start), At - start};
}

// A binary string ends with its separator, written as a 16-bit token by some writers and as a
// 32-bit value by others: the upper half of the latter reads as token 0, which is no token.
void XTokens::SkipStringEnd() {
  std::uint16_t token = 0;
  if (!BinaryToken(token) || (token != TokComma && token != TokSemicolon)) return;
  At += 2;
  if (BinaryToken(token) && token == 0) At += 2;
}

bool XTokens::BinaryToken(std::uint16_t& token) {
  if (At + 2 > Size) return false;
  token = static_cast<std::uint16_t>(Data[At] | (Data[At + 1] << 8));
  return true;
}

XTokenKind XTokens::Peek() {
  SkipSeparators();
  if (Binary) {
    if (ListLeft > 0) return XTokenKind::Value;
    std::uint16_t token = 0;
    // A single stray byte after the last token is padding, not data.
    if (!BinaryToken(token)) return XTokenKind::End;
    switch (token) {
      case TokName: return XTokenKind::Word;
      case TokString: case TokInteger: case TokGuid: case TokIntegerList: case TokFloatList: return XTokenKind::Value;
      case TokOpenBrace: return XTokenKind::Open;
      case TokCloseBrace: return XTokenKind::Close;
      case TokTemplate: return XTokenKind::Template;
      default: return PlainToken(token) ? XTokenKind::Value : XTokenKind::Bad;
    }
  }
  if (At >= Size) return XTokenKind::End;
  const std::uint8_t c = Data[At];
  if (c == '{') return XTokenKind::Open;
  if (c == '}') return XTokenKind::Close;
  if (c == '"' || c == '<' || c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9')) return XTokenKind::Value;
  if (c < 0x20 || c == 0x7F) return XTokenKind::Bad;
  if (c != 't') return XTokenKind::Word;
  const std::size_t start = At;
  const std::string_view word = TextWord();
  At = start;
  return word == "template" ? XTokenKind::Template : XTokenKind::Word;
}

bool XTokens::Open() {
  if (Peek() != XTokenKind::Open) return false;
  At += Binary ? 2 : 1;
  return true;
}

bool XTokens::Close() {
  if (Peek() != XTokenKind::Close) return false;
  At += Binary ? 2 : 1;
  return true;
}

bool XTokens::Word(std::string_view& out) {
  const XTokenKind kind = Peek();
  if (Binary) {
    if (kind != XTokenKind::Word || At + 6 > Size) return false;
    const std::uint32_t length = Read32(Data + At + 2);
    if (length > Size - At - 6) return false;
    out = {reinterpret_cast<const char*>(Data + At + 6), length};
    At += 6 + length;
    return true;
  }
  // Object names may start with a digit; strings and braces are no words.
  if ((kind != XTokenKind::Word && kind != XTokenKind::Value && kind != XTokenKind::Template) || Data[At] == '"')
    return false;
  out = TextWord();
  return !out.empty();
}

bool XTokens::Integer(std::uint32_t& out) {
  if (Binary) {
    if (ListLeft == 0) {
      SkipSeparators();
      std::uint16_t token = 0;
      if (!BinaryToken(token) || At + 6 > Size) return false;
      if (token == TokInteger) {
        out = Read32(Data + At + 2);
        At += 6;
        return true;
      }
      if (token != TokIntegerList) return false;
      const std::uint32_t count = Read32(Data + At + 2);
      At += 6;
      if (count > (Size - At) / 4) return false;
      ListToken = token;
      ListLeft = count;
      if (count == 0) return Integer(out);
    }
    if (ListToken != TokIntegerList || At + 4 > Size) return false;
    out = Read32(Data + At);
    At += 4;
    --ListLeft;
    return true;
  }
  if (Peek() != XTokenKind::Value) return false;
  std::string_view word = TextWord();
  if (!word.empty() && word[0] == '+') word.remove_prefix(1);
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), out);
  return error == std::errc() && end == word.data() + word.size() && !word.empty();
}

bool XTokens::Float(float& out) {
  if (Binary) {
    const std::size_t width = Doubles ? 8 : 4;
    if (ListLeft == 0) {
      SkipSeparators();
      std::uint16_t token = 0;
      if (!BinaryToken(token) || token != TokFloatList || At + 6 > Size) return false;
      const std::uint32_t count = Read32(Data + At + 2);
      At += 6;
      if (count > (Size - At) / width) return false;
      ListToken = token;
      ListLeft = count;
      if (count == 0) return Float(out);
    }
    if (ListToken != TokFloatList || At + width > Size) return false;
    if (Doubles) {
      double value;
      std::memcpy(&value, Data + At, 8);
      out = static_cast<float>(value);
    } else {
      std::memcpy(&out, Data + At, 4);
    }
    At += width;
    --ListLeft;
    return true;
  }
  if (Peek() != XTokenKind::Value) return false;
  std::string_view word = TextWord();
  if (!word.empty() && word[0] == '+') word.remove_prefix(1);
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), out);
  return error == std::errc() && end == word.data() + word.size() && !word.empty();
}

bool XTokens::String(std::string& out) {
  if (Peek() != XTokenKind::Value) return false;
  if (Binary) {
    std::uint16_t token = 0;
    if (ListLeft > 0 || !BinaryToken(token) || token != TokString || At + 6 > Size) return false;
    const std::uint32_t length = Read32(Data + At + 2);
    if (length > Size - At - 6) return false;
    out.assign(reinterpret_cast<const char*>(Data + At + 6), length);
    At += 6 + length;
    SkipStringEnd();
    return true;
  }
  if (Data[At] != '"') return false;
  const void* end = std::memchr(Data + At + 1, '"', Size - At - 1);
  if (!end) return false;
  const std::size_t close = static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - Data);
  out.assign(reinterpret_cast<const char*>(Data + At + 1), close - At - 1);
  At = close + 1;
  return true;
}

void XTokens::OptionalGuid() {
  if (Binary) {
    std::uint16_t token = 0;
    if (ListLeft == 0 && BinaryToken(token) && token == TokGuid && Size - At >= 18) At += 18;
    return;
  }
  SkipSpaceAndComments();
  if (At < Size && Data[At] == '<') {
    const void* end = std::memchr(Data + At, '>', Size - At);
    if (end) At = static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - Data) + 1;
  }
}

bool XTokens::SkipValue() {
  const XTokenKind kind = Peek();
  if (!Binary) {
    if (kind == XTokenKind::End || kind == XTokenKind::Open || kind == XTokenKind::Close || kind == XTokenKind::Bad)
      return false;
    if (Data[At] == '"') {
      std::string ignored;
      return String(ignored);
    }
    return !TextWord().empty();
  }
  if (ListLeft > 0) {
    const std::size_t width = ListToken == TokFloatList && Doubles ? 8 : 4;
    At += static_cast<std::size_t>(ListLeft) * width;  // checked against the size when the list began
    ListLeft = 0;
    return true;
  }
  std::uint16_t token = 0;
  if (!BinaryToken(token)) return false;
  switch (token) {
    case TokName: case TokString: {
      if (At + 6 > Size) return false;
      const std::uint32_t length = Read32(Data + At + 2);
      if (length > Size - At - 6) return false;
      At += 6 + length;
      if (token == TokString) SkipStringEnd();
      return true;
    }
    case TokInteger:
      if (At + 6 > Size) return false;
      At += 6;
      return true;
    case TokGuid:
      if (At + 18 > Size) return false;
      At += 18;
      return true;
    case TokIntegerList: case TokFloatList: {
      if (At + 6 > Size) return false;
      const std::uint64_t width = token == TokFloatList && Doubles ? 8 : 4;
      const std::uint64_t bytes = Read32(Data + At + 2) * width;
      if (bytes > Size - At - 6) return false;
      At += 6 + static_cast<std::size_t>(bytes);
      return true;
    }
    case TokTemplate:
      At += 2;
      return true;
    default:
      if (!PlainToken(token)) return false;
      At += 2;
      return true;
  }
}

bool XTokens::SkipBody(int depthLimit) {
  int depth = 1;
  std::string_view ignored;
  for (;;) {
    switch (Peek()) {
      case XTokenKind::Open:
        Open();
        if (++depth > depthLimit) return false;
        break;
      case XTokenKind::Close:
        Close();
        if (--depth == 0) return true;
        break;
      case XTokenKind::Word:
        if (!Word(ignored)) return false;
        break;
      case XTokenKind::Template:
      case XTokenKind::Value:
        if (Binary || Peek() == XTokenKind::Value) {
          if (!SkipValue()) return false;
        } else if (!Word(ignored)) {
          return false;
        }
        break;
      default:
        return false;
    }
  }
}

bool XTokens::Room(std::uint64_t count, unsigned numbers) const {
  const std::uint64_t left = Size - At;
  return count * numbers * (Binary ? 4u : 1u) <= left;
}
