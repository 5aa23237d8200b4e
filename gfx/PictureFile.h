// Pictures drawn by a routine onto a canvas and written to a file: SVG and
// PDF as vectors (lines and shapes as paths, texts as text), raster formats at
// a scale. The routine is the same one that draws on screen; only the
// surface differs.
#pragma once

#include <QImage>
#include <functional>
#include <string>

#include "travenel/gfx/Canvas.h"

namespace travenel {

enum class TPictureFormat { Raster, Svg, Pdf };

// The format a file name's suffix asks for; throws EWriteError for a suffix
// that names no picture format we write (no suffix: PNG).
TPictureFormat PictureFormatOf(const std::string& path);

using TDrawRoutine = std::function<void(TCanvas&)>;

// Draws a width x height (logical pixels) picture on a device canvas at the
// scale, on an image of scale times the pixels (its device pixel ratio set to
// the scale). A null image when the size cannot be had.
QImage RenderScaled(int width, int height, double scale, const TDrawRoutine& draw);

// Writes the picture to path in the format of its suffix: SVG and PDF laid
// out in logical pixels (96 per inch), raster formats at scale times the
// pixels. An existing file is replaced only once the new one is complete.
// Throws EWriteError (the old file untouched) for bad names, unknown suffixes
// and failed writes.
void SavePicture(const std::string& path, int width, int height, double scale,
                 const TDrawRoutine& draw);

}  // namespace travenel
