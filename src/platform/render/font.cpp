// FreeType glyphs rendered one bit deep into per-height atlases, drawn as textured quads.
#include "platform/render/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/font_match.h"
#include "platform/render/render_internal.h"

namespace {

constexpr int AtlasSize = 512;  // holds the largest glyphs the game asks for (120 pixels)

struct Glyph {
  int X = 0, Y = 0, Width = 0, Height = 0;  // place in the atlas
  int Left = 0, Top = 0;                    // bitmap offset from the pen at the baseline
  int Advance = 0;
  int Page = 0;
};

}  // namespace

struct Font {
  FT_Size Size = nullptr;  // this height's size on the one shared face
  int Height = 0;
  int Ascender = 0;
  std::unordered_map<std::uint32_t, Glyph> Glyphs;
  std::vector<GLuint> Pages;
  int PenX = 0, PenY = 0, RowHeight = 0;
};

namespace {

FT_Library Library = nullptr;
FT_Face SharedFace = nullptr;
std::string FamilyName = "IPAGothic";
std::string FacePath;
std::map<int, std::unique_ptr<Font>> Cache;

// fontconfig reports IPAGothic as dual-width, so match it by family name, not by spacing.
std::string FindFace() {
  if (!FacePath.empty()) return FacePath;
  std::string file, found;
  if (MatchFontFile(FamilyName, nullptr, file, found) && found == FamilyName) FacePath = file;
  return FacePath;
}

std::uint32_t NextCodePoint(const unsigned char*& p, const unsigned char* end) {
  const unsigned char c = *p++;
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  std::uint32_t cp = c & (0x3F >> extra);
  while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80) cp = (cp << 6) | (*p++ & 0x3F);
  return cp;
}

const Glyph* GlyphFor(Font* font, std::uint32_t codePoint) {
  auto found = font->Glyphs.find(codePoint);
  if (found != font->Glyphs.end()) return &found->second;
  Glyph glyph;
  FT_Activate_Size(font->Size);
  // The game asks for non-antialiased text: one-bit glyphs.
  if (FT_Load_Char(SharedFace, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
    font->Glyphs[codePoint] = glyph;
    return &font->Glyphs[codePoint];
  }
  const FT_GlyphSlot slot = SharedFace->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.Advance = static_cast<int>(slot->advance.x >> 6);
  glyph.Left = slot->bitmap_left;
  glyph.Top = slot->bitmap_top;
  glyph.Width = static_cast<int>(bitmap.width);
  glyph.Height = static_cast<int>(bitmap.rows);
  if (glyph.Width > 0 && glyph.Height > 0 && glyph.Width < AtlasSize && glyph.Height < AtlasSize) {
    if (font->Pages.empty() || font->PenX + glyph.Width + 1 > AtlasSize) {
      font->PenX = 0;
      font->PenY += font->RowHeight + 1;
      font->RowHeight = 0;
    }
    if (font->Pages.empty() || font->PenY + glyph.Height + 1 > AtlasSize) {
      GLuint page = 0;
      glGenTextures(1, &page);
      glBindTexture(GL_TEXTURE_2D, page);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
      std::vector<std::uint8_t> zero(static_cast<std::size_t>(AtlasSize) * AtlasSize, 0);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, AtlasSize, AtlasSize, 0, GL_RED, GL_UNSIGNED_BYTE, zero.data());
      font->Pages.push_back(page);
      font->PenX = font->PenY = font->RowHeight = 0;
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(glyph.Width) * glyph.Height);
    for (int y = 0; y < glyph.Height; ++y) {
      const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
      for (int x = 0; x < glyph.Width; ++x) {
        const bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                                : row[x] >= 128;
        pixels[static_cast<std::size_t>(y) * glyph.Width + x] = on ? 255 : 0;
      }
    }
    glyph.Page = static_cast<int>(font->Pages.size()) - 1;
    glyph.X = font->PenX;
    glyph.Y = font->PenY;
    glBindTexture(GL_TEXTURE_2D, font->Pages.back());
    glTexSubImage2D(GL_TEXTURE_2D, 0, glyph.X, glyph.Y, glyph.Width, glyph.Height, GL_RED, GL_UNSIGNED_BYTE,
                    pixels.data());
    font->PenX += glyph.Width + 1;
    if (glyph.Height > font->RowHeight) font->RowHeight = glyph.Height;
  } else {
    glyph.Width = glyph.Height = 0;
  }
  font->Glyphs[codePoint] = glyph;
  return &font->Glyphs[codePoint];
}

}  // namespace

Font* CreateFont(RenderDevice* device, int height) {
  if (!device || height <= 0 || height > 2048) return nullptr;
  auto cached = Cache.find(height);
  if (cached != Cache.end()) return cached->second.get();
  if (!Library && FT_Init_FreeType(&Library) != 0) return nullptr;
  if (!SharedFace) {
    const std::string path = FindFace();
    if (path.empty() || FT_New_Face(Library, path.c_str(), 0, &SharedFace) != 0) {
      SharedFace = nullptr;
      return nullptr;
    }
  }
  auto font = std::make_unique<Font>();
  if (FT_New_Size(SharedFace, &font->Size) != 0) return nullptr;
  FT_Activate_Size(font->Size);
  // The height is the character cell (ascent plus descent), as the game's font asks for.
  FT_Size_RequestRec request{};
  request.type = FT_SIZE_REQUEST_TYPE_CELL;
  request.height = static_cast<FT_Long>(height) << 6;
  if (FT_Request_Size(SharedFace, &request) != 0) {
    FT_Done_Size(font->Size);
    return nullptr;
  }
  font->Height = height;
  font->Ascender = static_cast<int>((font->Size->metrics.ascender + 63) >> 6);
  Font* result = font.get();
  Cache[height] = std::move(font);
  return result;
}

int DrawText(RenderDevice* device, Font* font, const char* text, int count, int left, int top,
             std::uint32_t colour) {
  if (!device || !font || !text) return 0;
  const std::size_t length = count < 0 ? std::char_traits<char>::length(text) : static_cast<std::size_t>(count);
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = p + length;
  std::map<int, std::vector<float>> quadsByPage;
  int penX = left, baseline = top + font->Ascender, lines = 1;
  while (p < end) {
    const std::uint32_t cp = NextCodePoint(p, end);
    if (cp == 0) break;
    if (cp == '\n') {
      penX = left;
      baseline += font->Height;
      ++lines;
      continue;
    }
    const Glyph* g = GlyphFor(font, cp);
    if (g->Width > 0) {
      const float x0 = static_cast<float>(penX + g->Left), y0 = static_cast<float>(baseline - g->Top);
      const float x1 = x0 + g->Width, y1 = y0 + g->Height;
      const float u0 = static_cast<float>(g->X) / AtlasSize, v0 = static_cast<float>(g->Y) / AtlasSize;
      const float u1 = static_cast<float>(g->X + g->Width) / AtlasSize;
      const float v1 = static_cast<float>(g->Y + g->Height) / AtlasSize;
      const float corners[16] = {x0, y0, u0, v0, x1, y0, u1, v0, x1, y1, u1, v1, x0, y1, u0, v1};
      std::vector<float>& list = quadsByPage[g->Page];
      list.insert(list.end(), corners, corners + 16);
    }
    penX += g->Advance;
  }
  for (auto& [page, corners] : quadsByPage) DrawFlat2D(device, font->Pages[page], corners, colour, Flat2DMode::Mask);
  return lines * font->Height;
}

int MeasureText(Font* font, const char* text, int count) {
  if (!font || !text) return 0;
  const std::size_t length = count < 0 ? std::char_traits<char>::length(text) : static_cast<std::size_t>(count);
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = p + length;
  int width = 0, line = 0;
  while (p < end) {
    const std::uint32_t cp = NextCodePoint(p, end);
    if (cp == '\n') {
      line = 0;
      continue;
    }
    line += GlyphFor(font, cp)->Advance;
    if (line > width) width = line;
  }
  return width;
}

int FontCellHeight(const Font* font) { return font ? font->Height : 0; }

void ReleaseFonts() {
  const bool contextAlive = CurrentDevice() != nullptr;
  for (auto& [height, font] : Cache) {
    if (contextAlive && !font->Pages.empty()) glDeleteTextures(static_cast<GLsizei>(font->Pages.size()), font->Pages.data());
  }
  Cache.clear();
  if (SharedFace) FT_Done_Face(SharedFace);  // frees its sizes too
  SharedFace = nullptr;
}

void SetFontFamilyForTests(const char* family) {
  ReleaseFonts();
  FamilyName = family ? family : "IPAGothic";
  FacePath.clear();
}
