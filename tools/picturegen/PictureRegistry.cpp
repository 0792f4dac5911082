#include "PictureRegistry.h"

namespace {
// Add a window's pictures here (file name, size in pixels, paint function).
constexpr PictureSpec kPictures[] = {
    {"main.jpg", 1600, 1000, PaintMainPicture},
    {"user.jpg", 520, 560, PaintUserPicture},
    {"about.jpg", 580, 200, PaintAboutPicture},
    {"apg.jpg", 1600, 1000, PaintApgPicture},
    {"apgInfo1.jpg", 482, 334, PaintApgInfo1},
    {"apgInfo2.jpg", 482, 334, PaintApgInfo2},
    {"apgInfo3.jpg", 482, 334, PaintApgInfo3},
    {"apgInfo4.jpg", 482, 334, PaintApgInfo4},
    {"apgReport.jpg", 2480, 3220, PaintApgReportPicture},
    {"stress.jpg", 1600, 1000, PaintStressPicture},
    {"stressInfo1.jpg", 482, 334, PaintStressInfo1},
    {"stressInfo2.jpg", 482, 334, PaintStressInfo2},
    {"stressInfo3.jpg", 482, 334, PaintStressInfo3},
    {"stressInfo4.jpg", 482, 334, PaintStressInfo4},
    {"stressInfo5.jpg", 482, 334, PaintStressInfo5},
    {"stressInfo6.jpg", 482, 334, PaintStressInfo6},
    {"stressReport.jpg", 2480, 3710, PaintStressReportPicture},
    {"Review.jpg", 1600, 1000, PaintReviewPicture},
    {"banner.jpg", 2070, 492, PaintBannerPicture, "banner"},
};
} // namespace

std::span<const PictureSpec> RegisteredPictures() {
    return kPictures;
}
