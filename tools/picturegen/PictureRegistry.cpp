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
    {"mainmenu.png", 800, 500, PaintHelpMainMenuMap, "HELP"},
    {"apgscreen.png", 800, 500, PaintHelpApgScreenMap, "HELP"},
    {"report.png", 560, 727, PaintHelpReportMap, "HELP"},
    {"clip.png", 600, 260, PaintHelpClip, "HELP"},
    {"signal.png", 600, 240, PaintHelpSignal, "HELP"},
    {"waves.png", 600, 280, PaintHelpWaves, "HELP"},
    {"types.png", 600, 170, PaintHelpTypes, "HELP"},
    {"index.png", 600, 90, PaintHelpIndex, "HELP"},
    {"bands.png", 600, 230, PaintHelpBands, "HELP"},
    {"balance.png", 420, 330, PaintHelpBalance, "HELP"},
    {"gauge.png", 600, 90, PaintHelpGauge, "HELP"},
};
} // namespace

std::span<const PictureSpec> RegisteredPictures() {
    return kPictures;
}
