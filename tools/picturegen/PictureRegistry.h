#pragma once
// The pictures of the runtime tree. Each picture is one paint function, registered once in
// PictureRegistry.cpp with its file name and size; the generator paints every registered
// picture for each language folder <folder>/1 .. <folder>/4 (IMAGE unless the picture says),
// in the format its file name ends with.

#include "PictureContext.h"

#include <span>

class QPainter;

using PaintFunction = void (*)(QPainter& painter, const PictureContext& context);

struct PictureSpec {
    const char* file; // name in <folder>/<language>/
    int width;        // pixels
    int height;
    PaintFunction paint;
    const char* folder = "IMAGE"; // folder of the runtime tree
};

std::span<const PictureSpec> RegisteredPictures();

// The paint functions, one file each.
void PaintMainPicture(QPainter& painter, const PictureContext& context);
void PaintUserPicture(QPainter& painter, const PictureContext& context);
void PaintAboutPicture(QPainter& painter, const PictureContext& context);
void PaintApgPicture(QPainter& painter, const PictureContext& context);
void PaintApgInfo1(QPainter& painter, const PictureContext& context);
void PaintApgInfo2(QPainter& painter, const PictureContext& context);
void PaintApgInfo3(QPainter& painter, const PictureContext& context);
void PaintApgInfo4(QPainter& painter, const PictureContext& context);
void PaintApgReportPicture(QPainter& painter, const PictureContext& context);
void PaintStressPicture(QPainter& painter, const PictureContext& context);
void PaintStressInfo1(QPainter& painter, const PictureContext& context);
void PaintStressInfo2(QPainter& painter, const PictureContext& context);
void PaintStressInfo3(QPainter& painter, const PictureContext& context);
void PaintStressInfo4(QPainter& painter, const PictureContext& context);
void PaintStressInfo5(QPainter& painter, const PictureContext& context);
void PaintStressInfo6(QPainter& painter, const PictureContext& context);
void PaintStressReportPicture(QPainter& painter, const PictureContext& context);
void PaintBannerPicture(QPainter& painter, const PictureContext& context);
void PaintReviewPicture(QPainter& painter, const PictureContext& context);

// The pictures of the help pages (folder HELP).
void PaintHelpMainMenuMap(QPainter& painter, const PictureContext& context);
void PaintHelpApgScreenMap(QPainter& painter, const PictureContext& context);
void PaintHelpReportMap(QPainter& painter, const PictureContext& context);
void PaintHelpClip(QPainter& painter, const PictureContext& context);
void PaintHelpSignal(QPainter& painter, const PictureContext& context);
void PaintHelpWaves(QPainter& painter, const PictureContext& context);
void PaintHelpTypes(QPainter& painter, const PictureContext& context);
void PaintHelpIndex(QPainter& painter, const PictureContext& context);
void PaintHelpBands(QPainter& painter, const PictureContext& context);
void PaintHelpBalance(QPainter& painter, const PictureContext& context);
void PaintHelpGauge(QPainter& painter, const PictureContext& context);
