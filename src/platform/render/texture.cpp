// Textures from picture files (colour key, mip chain) and render-target textures.
#include "platform/render/texture.h"

#include <algorithm>

#include "platform/game_folder.h"
#include "platform/render/image_file.h"
#include "platform/render/render_internal.h"

namespace {
std::uint64_t TexturesMade = 0;
}  // namespace

namespace {

// ARGB words in memory are B, G, R, A bytes: GL takes them as they are.
void UploadLevel(int level, const ImageLevel& image, bool intoStorage) {
  if (intoStorage)
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, image.Width, image.Height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                    image.Pixels.data());
  else
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, image.Width, image.Height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, image.Pixels.data());
}

// The whole chain's storage made at once: a driver otherwise keeps each level apart and copies
// them all into one texture at its first use, which a software driver pays for in time and
// memory. A chain whose levels do not halve in turn is left to level-by-level upload.
bool MakeStorage(const PreparedPicture& picture) {
  static const bool available = epoxy_gl_version() >= 42 || epoxy_has_gl_extension("GL_ARB_texture_storage");
  if (!available) return false;
  int width = picture.Levels[0].Width, height = picture.Levels[0].Height;
  for (const ImageLevel& level : picture.Levels) {
    if (level.Width != width || level.Height != height) return false;
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
  }
  glTexStorage2D(GL_TEXTURE_2D, static_cast<GLsizei>(picture.Levels.size()), GL_RGBA8, picture.Levels[0].Width,
                 picture.Levels[0].Height);
  return true;
}

}  // namespace

bool PreparePicture(const std::string& path, const TextureLoadOptions& options, PreparedPicture& picture) {
  picture.Levels.clear();
  std::vector<ImageLevel> stored;
  if (!DecodeImageFile(ResolveGamePath(path), stored) || stored.empty()) return false;
  const int full = FullMipCount(stored[0].Width, stored[0].Height);
  const int levels = options.MipLevels == 0 ? full : std::min<int>(full, static_cast<int>(options.MipLevels));
  std::vector<ImageLevel>& chain = picture.Levels;
  chain.reserve(levels);
  for (int level = 0; level < levels; ++level) {
    if (level < static_cast<int>(stored.size())) {
      chain.push_back(std::move(stored[level]));
    } else {
      chain.push_back(DownsampleLinear(chain.back()));
      continue;  // built from a level that is already keyed
    }
    if (options.ColourKey != 0) {
      for (std::uint32_t& p : chain.back().Pixels)
        if (p == options.ColourKey) p = 0;
    }
  }
  return true;
}

bool CreateTextureFromPrepared(RenderDevice* device, const PreparedPicture& picture, Texture** texture) {
  if (!texture) return false;
  *texture = nullptr;
  if (!device || picture.Levels.empty()) return false;
  auto* made = new Texture;
  made->Serial = ++TexturesMade;
  made->Width = picture.Levels[0].Width;
  made->Height = picture.Levels[0].Height;
  made->Levels = static_cast<int>(picture.Levels.size());
  glGenTextures(1, &made->Id);
  glBindTexture(GL_TEXTURE_2D, made->Id);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, made->Levels - 1);
  const bool intoStorage = MakeStorage(picture);
  std::uint32_t lowest = 0xFF;
  bool white = true;
  for (int level = 0; level < made->Levels; ++level) {
    UploadLevel(level, picture.Levels[level], intoStorage);
    for (std::uint32_t argb : picture.Levels[level].Pixels) {
      lowest = std::min(lowest, argb >> 24);
      white = white && argb == 0xFFFFFFFFu;
    }
  }
  made->MinAlpha = static_cast<std::uint8_t>(lowest);
  made->White = white;
  if (glGetError() != GL_NO_ERROR) {
    ReleaseTexture(made);
    return false;
  }
  *texture = made;
  return true;
}

bool CreateTextureFromFileEx(RenderDevice* device, const std::string& path, const TextureLoadOptions& options,
                             Texture** texture) {
  if (!texture) return false;
  *texture = nullptr;
  if (!device) return false;
  PreparedPicture picture;
  return PreparePicture(path, options, picture) && CreateTextureFromPrepared(device, picture, texture);
}

bool CreateTextureFromFile(RenderDevice* device, const std::string& path, Texture** texture) {
  return CreateTextureFromFileEx(device, path, TextureLoadOptions{}, texture);
}

bool CreateRenderTargetTexture(RenderDevice* device, int width, int height, Texture** texture) {
  if (!texture) return false;
  *texture = nullptr;
  if (!device || width <= 0 || height <= 0) return false;
  FlushPendingDraws(device);
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (width > maxSize || height > maxSize) return false;
  auto* made = new Texture;
  made->Serial = ++TexturesMade;
  made->Width = width;
  made->Height = height;
  made->Levels = 1;
  made->RenderTarget = true;
  glGenTextures(1, &made->Id);
  glBindTexture(GL_TEXTURE_2D, made->Id);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  GLint previous = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
  glGenFramebuffers(1, &made->Framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, made->Framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, made->Id, 0);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (complete) {
    glClearColor(0, 0, 0, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
  if (!complete || glGetError() != GL_NO_ERROR) {
    ReleaseTexture(made);
    return false;
  }
  *texture = made;
  return true;
}

void ReleaseTexture(Texture* texture) {
  if (!texture) return;
  RenderDevice* device = CurrentDevice();
  // Without the device its context, and every GL object in it, is already gone.
  if (device) {
    FlushPendingDraws(device);
    // A released texture must not stay bound or targeted.
    if (device->GetRenderTarget() == texture) device->SetRenderTarget(nullptr, true);
    if (device->GetTexture(0) == texture) device->SetTexture(0, nullptr);
    if (texture->Framebuffer) glDeleteFramebuffers(1, &texture->Framebuffer);
    if (texture->Id) glDeleteTextures(1, &texture->Id);
  }
  delete texture;
}

int TextureWidth(const Texture* texture) { return texture ? texture->Width : 0; }
int TextureHeight(const Texture* texture) { return texture ? texture->Height : 0; }
int TextureLevelCount(const Texture* texture) { return texture ? texture->Levels : 0; }

bool ReadTextureLevel(Texture* texture, int level, std::vector<std::uint32_t>& argb, int& width,
                      int& height) {
  if (!texture || level < 0 || level >= texture->Levels) return false;
  FlushPendingDraws(CurrentDevice());
  width = std::max(1, texture->Width >> level);
  height = std::max(1, texture->Height >> level);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
  glBindTexture(GL_TEXTURE_2D, texture->Id);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  argb.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint8_t* p = &rgba[i * 4];
    argb[i] = static_cast<std::uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
  }
  return glGetError() == GL_NO_ERROR;
}
