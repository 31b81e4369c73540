// Tokens of a .x file body, text or binary, read one value at a time with every length checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class XTokenKind : std::uint8_t {
  End,       // no bytes left
  Open,      // {
  Close,     // }
  Word,      // an identifier (text word or binary name)
  Value,     // a number or a string where a member is expected
  Template,  // the keyword opening a template declaration
  Bad,       // bytes that are no token at all
};

// Reads the body after the 16-byte header. In text, ',' and ';' between values are optional, as
// exporters write them loosely; in binary, integer and float lists are handed out one value at a
// time. Every read returns false on a mismatch or at the end, and then the whole file is refused.
struct XTokens {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t At = 0;
  bool Binary = false;
  bool Doubles = false;  // binary float lists hold 8-byte values

  // Binary list being handed out: its token (6 integers, 7 floats) and the values left.
  std::uint16_t ListToken = 0;
  std::uint32_t ListLeft = 0;

  XTokenKind Peek();
  bool Open();
  bool Close();
  bool Word(std::string_view& out);
  bool Integer(std::uint32_t& out);
  bool Float(float& out);
  bool String(std::string& out);
  // A GUID where one may stand (text "<...>", binary GUID token); true when none is there.
  void OptionalGuid();
  // Skips one value of any kind (number, string, GUID, stray punctuation).
  bool SkipValue();
  // After an Open: skips everything up to and including the matching Close.
  bool SkipBody(int depthLimit);
  // Whether `count` items of `numbers` values each could still follow: each value takes at
  // least one byte of text or four of binary. Checked before anything is reserved for them.
  bool Room(std::uint64_t count, unsigned numbers) const;

 private:
  void SkipSpaceAndComments();
  void SkipSeparators();
  std::string_view TextWord();
  bool BinaryToken(std::uint16_t& token);
  void SkipStringEnd();
};
