// Screen pictures: loaded when their screen comes up, let go when it is left.
#include "graphics/screen_pictures.h"

#include "graphics/texture_catalogue.h"
#include "persist/settings_record.h"
#include "platform/memory_trim.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

namespace {
constexpr std::uint64_t Bit(int slot) { return std::uint64_t{1} << slot; }

constexpr std::uint64_t TitlePictures = Bit(TexTitle) | Bit(TexTitleBack);
constexpr std::uint64_t OperationPages = Bit(TexOperation1) | Bit(TexOperation2) | Bit(TexOperation3);
constexpr std::uint64_t AllScreenPictures = TitlePictures | OperationPages | Bit(TexGameOver) |
                                            Bit(TexRecord) | Bit(TexSetting) | Bit(TexCredit);
}  // namespace

bool IsScreenPicture(int slot) {
  return slot >= 0 && slot < TextureCount && (AllScreenPictures & Bit(slot)) != 0;
}

bool UploadedAtStartUp(int slot) { return !IsScreenPicture(slot) || (TitlePictures & Bit(slot)) != 0; }

std::uint64_t ScreenPicturesOf(std::int32_t state) {
  switch (state) {
    case StateTitle: return TitlePictures;
    case StateRanking: return Bit(TexRecord);
    // All three pages, so turning a page reads no file.
    case StateOperation: return OperationPages;
    case StateSettings: return Bit(TexSetting);
    case StateGameOver: return Bit(TexGameOver);
    case StateCredits: return Bit(TexCredit);
    default: return 0;
  }
}

Texture* GameWorld::SlotTexture(int slot) {
  if (slot < 0 || slot >= TextureCount) return nullptr;
  if (Textures[slot] || !IsScreenPicture(slot) || !Device || (ScreenPicturesMissing & Bit(slot)))
    return Textures[slot];
  if (!CreateTextureFromFileEx(Device, SlotPicturePath(slot),
                               CatalogueLoadOptions(slot, Settings.MipLevelCount), &Textures[slot])) {
    // Read at start-up, but gone or damaged since: the player is told once, and the screen
    // shows without it.
    ScreenPicturesMissing |= Bit(slot);
    ReportMissingFile(SlotPicturePath(slot));
  }
  return Textures[slot];
}

void GameWorld::KeepScreenPicturesFor(std::int32_t state) {
  if (!Device) return;
  const std::uint64_t wanted = ScreenPicturesOf(state);
  bool loadedOne = false, released = false;
  for (int slot = 0; slot < TextureCount; ++slot) {
    if (!IsScreenPicture(slot)) continue;
    if (wanted & Bit(slot)) {
      // One a step (some 15 to 35 ms each here), so the transition's noise keeps moving; a
      // screen drawn before all are in loads the rest as it draws them.
      if (!loadedOne && !Textures[slot] && !(ScreenPicturesMissing & Bit(slot))) {
        SlotTexture(slot);
        loadedOne = true;
      }
    } else if (Textures[slot]) {
      ReleaseTexture(Textures[slot]);
      Textures[slot] = nullptr;
      released = true;
    }
  }
  // A software renderer keeps texture storage in the process's own heap.
  if (released) ReleaseFreedMemory();
}
