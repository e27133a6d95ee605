#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace orvane::skingen {

struct Picture {
    QString fileName;
    QImage image;
};

// The pictures that are not sheets: slider thumbs, the colour pictures, the
// mouse, the scroll bars, the surface pictures and the analysis frames.
std::vector<Picture> singlePictures();

}  // namespace orvane::skingen
