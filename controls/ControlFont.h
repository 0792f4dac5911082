#pragma once
// The font of the skinned controls: the face name at a pixel height, weight 900. A face that
// this machine lacks (the Windows faces "Arial", "돋움", "MS Pゴシック") is replaced by the
// generic sans-serif family, which also carries the CJK glyphs through font fallback.

#include <QFont>
#include <QString>

QFont MakeControlFont(const QString& face, int pixelHeight);
