#include "PictureRegistry.h"

namespace {
// Add a window's pictures here (file name, size in pixels, paint function).
constexpr PictureSpec kPictures[] = {
    {"main.jpg", 1600, 1000, PaintMainPicture},
    {"user.jpg", 520, 560, PaintUserPicture},
    {"about.jpg", 580, 200, PaintAboutPicture},
};
} // namespace

std::span<const PictureSpec> RegisteredPictures() {
    return kPictures;
}
