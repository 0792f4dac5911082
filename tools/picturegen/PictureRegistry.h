#pragma once
// The pictures of the runtime tree. Each picture is one paint function, registered once in
// PictureRegistry.cpp with its file name and size; the generator paints every registered
// picture for each language folder IMAGE/1 .. IMAGE/4.

#include "PictureContext.h"

#include <span>

class QPainter;

using PaintFunction = void (*)(QPainter& painter, const PictureContext& context);

struct PictureSpec {
    const char* file; // name in IMAGE/<language>/
    int width;        // pixels
    int height;
    PaintFunction paint;
};

std::span<const PictureSpec> RegisteredPictures();

// The paint functions, one file each.
void PaintMainPicture(QPainter& painter, const PictureContext& context);
void PaintUserPicture(QPainter& painter, const PictureContext& context);
void PaintAboutPicture(QPainter& painter, const PictureContext& context);
