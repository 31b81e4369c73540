// Checks a .x file's skin weights before the model library reads it.
#include "platform/render/x_file_guard.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

namespace {

enum class Kind { Name, Open, Close, Integer, Other };

struct Token {
  Kind What;
  std::string Text;
  std::uint32_t Value = 0;
};

std::uint32_t Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Read32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Undoes the MSZIP blocks of a compressed file: each holds at most 32 KiB of the body and may
// refer back into the block before it.
bool Inflate(const std::uint8_t* data, std::size_t size, std::string& out) {
  std::size_t at = 20;  // the header and the body's size
  std::string previous;
  while (at + 6 <= size) {
    const std::uint32_t packed = Read16(data + at + 2);
    if (packed < 2 || data[at + 4] != 'C' || data[at + 5] != 'K' || at + 4 + packed > size) return false;
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    if (!previous.empty())
      inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(previous.data()),
                           static_cast<uInt>(previous.size()));
    std::string block(32768, '\0');
    z.next_in = const_cast<Bytef*>(data + at + 6);
    z.avail_in = packed - 2;
    z.next_out = reinterpret_cast<Bytef*>(block.data());
    z.avail_out = static_cast<uInt>(block.size());
    const int result = inflate(&z, Z_FINISH);
    block.resize(z.total_out);
    inflateEnd(&z);
    if (result != Z_STREAM_END && result != Z_BUF_ERROR) return false;
    out += block;
    previous = std::move(block);
    at += 4 + packed;
  }
  return true;
}

void TextTokens(const std::string& s, std::vector<Token>& tokens) {
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (c == '#') {
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (c == '{') {
      tokens.push_back({Kind::Open, {}});
      ++i;
    } else if (c == '}') {
      tokens.push_back({Kind::Close, {}});
      ++i;
    } else if (c == '"') {
      std::size_t end = s.find('"', i + 1);
      if (end == std::string::npos) end = s.size();
      tokens.push_back({Kind::Other, {}});
      i = end + 1;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t end = i;
      while (end < s.size() && (std::isalnum(static_cast<unsigned char>(s[end])) || s[end] == '_' || s[end] == '-')) ++end;
      tokens.push_back({Kind::Name, s.substr(i, end - i)});
      i = end;
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.') {
      std::size_t end = i + 1;
      while (end < s.size() && (std::isalnum(static_cast<unsigned char>(s[end])) || s[end] == '.' || s[end] == '-' || s[end] == '+')) ++end;
      const std::string number = s.substr(i, end - i);
      const bool integer = number.find_first_of(".eE") == std::string::npos && number[0] != '-';
      Token t{integer ? Kind::Integer : Kind::Other, {}};
      if (integer) t.Value = static_cast<std::uint32_t>(std::strtoul(number.c_str(), nullptr, 10));
      tokens.push_back(t);
      i = end;
    } else {
      ++i;  // separators
    }
  }
}

bool BinaryTokens(const std::uint8_t* p, std::size_t size, bool doubles, std::vector<Token>& tokens) {
  std::size_t i = 0;
  while (i + 2 <= size) {
    const std::uint32_t token = Read16(p + i);
    i += 2;
    auto need = [&](std::size_t n) { return i + n <= size; };
    switch (token) {
      case 1: case 2: {  // name, string
        if (!need(4)) return false;
        const std::uint32_t length = Read32(p + i);
        i += 4;
        if (!need(length)) return false;
        if (token == 1) tokens.push_back({Kind::Name, std::string(reinterpret_cast<const char*>(p + i), length)});
        else tokens.push_back({Kind::Other, {}});
        i += length + (token == 2 ? 4 : 0);
        break;
      }
      case 3:
        if (!need(4)) return false;
        tokens.push_back({Kind::Integer, {}, Read32(p + i)});
        i += 4;
        break;
      case 5: i += 16; break;
      case 6: case 7: {
        if (!need(4)) return false;
        const std::uint32_t count = Read32(p + i);
        i += 4;
        const std::size_t width = token == 6 ? 4 : (doubles ? 8 : 4);
        if (count > (size - i) / width) return false;
        for (std::uint32_t k = 0; k < count; ++k) {
          if (token == 6) tokens.push_back({Kind::Integer, {}, Read32(p + i)});
          else tokens.push_back({Kind::Other, {}});
          i += width;
        }
        break;
      }
      case 10: tokens.push_back({Kind::Open, {}}); break;
      case 11: tokens.push_back({Kind::Close, {}}); break;
      default:
        // Punctuation and template keywords carry nothing to check; any other value is not a
        // token at all, and the library would read on from there in its own way.
        if (!((token >= 12 && token <= 20) || token == 31 || (token >= 40 && token <= 52))) return false;
        break;
    }
  }
  return true;
}

// Walks the blocks: a Mesh's first integer is its vertex count; a SkinWeights block holds its
// weight count and then that many vertex indices.
bool WeightsInRange(const std::vector<Token>& tokens) {
  struct Block {
    std::string Type;
    long long Vertices = -1;  // for meshes, once read
  };
  std::vector<Block> open;
  std::string pendingType;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.What == Kind::Name) {
      if (pendingType.empty()) pendingType = t.Text;
      continue;
    }
    if (t.What == Kind::Open) {
      open.push_back({pendingType});
      pendingType.clear();
      if (open.back().Type != "SkinWeights") continue;
      long long vertices = -1;
      for (auto b = open.rbegin() + 1; b != open.rend(); ++b)
        if (b->Type == "Mesh") {
          vertices = b->Vertices;
          break;
        }
      if (vertices < 0) return false;
      std::size_t k = i + 1;
      while (k < tokens.size() && tokens[k].What != Kind::Integer && tokens[k].What != Kind::Close) ++k;
      if (k >= tokens.size() || tokens[k].What != Kind::Integer) return false;
      const std::uint32_t count = tokens[k].Value;
      for (std::uint32_t n = 0; n < count; ++n) {
        ++k;
        if (k >= tokens.size() || tokens[k].What != Kind::Integer || tokens[k].Value >= vertices) return false;
      }
      continue;
    }
    pendingType.clear();
    if (t.What == Kind::Close) {
      if (!open.empty()) open.pop_back();
    } else if (t.What == Kind::Integer && !open.empty() && open.back().Type == "Mesh" && open.back().Vertices < 0) {
      open.back().Vertices = t.Value;
    }
  }
  return true;
}

}  // namespace

namespace {

// The file's body as tokens, decompressed first where it is compressed; `body` is its length.
// False when the body cannot be read as tokens; `known` false when it is no .x file the walk
// knows, which is left to the library.
bool FileTokens(const std::uint8_t* data, std::size_t size, bool onlyWithSkinWeights, bool& known,
                bool& text, std::size_t& bodyLength, std::vector<Token>& tokens) {
  known = false;
  if (size < 16 || std::memcmp(data, "xof ", 4) != 0) return true;
  const std::string format(reinterpret_cast<const char*>(data + 8), 4);
  const bool doubles = std::memcmp(data + 12, "0064", 4) == 0;
  std::string inflated;
  const std::uint8_t* bytes = data + 16;
  std::size_t length = size - 16;
  if (format == "tzip" || format == "bzip") {
    if (!Inflate(data, size, inflated)) return true;
    bytes = reinterpret_cast<const std::uint8_t*>(inflated.data());
    length = inflated.size();
  }
  // Only files that mention skin weights need the walk for them.
  static const char Marker[] = "SkinWeights";
  const std::string_view view(reinterpret_cast<const char*>(bytes), length);
  if (onlyWithSkinWeights && view.find(Marker) == std::string_view::npos) return true;
  known = true;
  text = format == "txt " || format == "tzip";
  bodyLength = length;
  if (text) {
    TextTokens(std::string(view), tokens);
    return true;
  }
  return BinaryTokens(bytes, length, doubles, tokens);
}

}  // namespace

bool XFileSkinWeightsInRange(const std::uint8_t* data, std::size_t size) {
  bool known = false, text = false;
  std::size_t length = 0;
  std::vector<Token> tokens;
  if (!FileTokens(data, size, true, known, text, length, tokens)) return false;
  return !known || WeightsInRange(tokens);
}

bool XFileMeshCountsFit(const std::uint8_t* data, std::size_t size) {
  bool known = false, text = false;
  std::size_t length = 0;
  std::vector<Token> tokens;
  if (!FileTokens(data, size, false, known, text, length, tokens)) return false;
  if (!known) return true;
  // A vertex takes at least three 4-byte floats in a binary file, "0;0;0;" in a text one.
  const std::size_t most = length / (text ? 6 : 12);
  // A Mesh block opens with its vertex count, the vertices, its face count and the faces, each
  // an index count and that many indices.
  auto isNumber = [](const Token& t) { return t.What == Kind::Integer || t.What == Kind::Other; };
  std::string pendingType;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.What == Kind::Name) {
      if (pendingType.empty()) pendingType = t.Text;
      continue;
    }
    const bool mesh = t.What == Kind::Open && pendingType == "Mesh";
    pendingType.clear();
    if (!mesh) continue;
    std::size_t k = i + 1;
    auto count = [&](std::uint32_t& value) {
      if (k >= tokens.size() || tokens[k].What != Kind::Integer || tokens[k].Value > most) return false;
      value = tokens[k++].Value;
      return true;
    };
    // A list of `items` points of three numbers, then as many faces as `shape` holds (or a count
    // of them, when `shape` is empty), each naming only those points; `shape` gets the faces'
    // corner counts.
    auto points = [&](std::uint32_t& items, std::vector<std::uint32_t>& shape, bool fillShape) {
      if (!count(items)) return false;
      for (std::uint64_t n = 0; n < 3ull * items; ++n, ++k)
        if (k >= tokens.size() || !isNumber(tokens[k])) return false;
      std::uint32_t faces = 0;
      if (!count(faces) || (!fillShape && faces != shape.size())) return false;
      for (std::uint32_t f = 0; f < faces; ++f) {
        // A face without corners breaks the library's triangulation, which asserts.
        std::uint32_t corners = 0;
        if (!count(corners) || corners == 0) return false;
        if (fillShape) shape.push_back(corners);
        else if (corners != shape[f]) return false;
        for (std::uint32_t c = 0; c < corners; ++c, ++k)
          if (k >= tokens.size() || tokens[k].What != Kind::Integer || tokens[k].Value >= items) return false;
      }
      return true;
    };
    std::uint32_t vertices = 0;
    std::vector<std::uint32_t> faces;
    if (!points(vertices, faces, true)) return false;
    // The mesh's own blocks: the library takes normals face by face and corner by corner along
    // the mesh's faces, and texture coordinates vertex by vertex, without checking either.
    int depth = 1;
    std::string childType;
    for (; k < tokens.size() && depth > 0; ++k) {
      const Token& c = tokens[k];
      if (c.What == Kind::Name) {
        if (childType.empty()) childType = c.Text;
        continue;
      }
      if (c.What == Kind::Close) {
        --depth;
      } else if (c.What == Kind::Open) {
        ++depth;
        const std::string type = childType;
        childType.clear();
        if (depth != 2) continue;
        ++k;
        if (type == "MeshNormals") {
          std::uint32_t normals = 0;
          if (!points(normals, faces, false)) return false;
        } else if (type == "MeshTextureCoords") {
          if (k >= tokens.size() || tokens[k].What != Kind::Integer || tokens[k].Value != vertices) return false;
        }
        --k;
        continue;
      }
      childType.clear();
    }
  }
  return true;
}
