#pragma once

#include <QString>

namespace orvane::gallery {

class Gallery;

// One family of pictures each; every function writes into its own subfolder.
void sheetPictures(Gallery& gallery, const QString& skinFolder);
void controlPictures(Gallery& gallery);
void menuPictures(Gallery& gallery);
void windowPictures(Gallery& gallery, const QString& skinFolder);
void lightingPictures(Gallery& gallery);
void sensorPictures(Gallery& gallery);
void macroPictures(Gallery& gallery);
void shellPictures(Gallery& gallery);
void supportPictures(Gallery& gallery);

}  // namespace orvane::gallery
