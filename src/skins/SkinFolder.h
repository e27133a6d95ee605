#pragma once

#include <QString>

namespace orvane {

// Name of the skin folder, beside the program file.
inline constexpr const char* kSkinFolderName = "ORVANE_Pro_Skins";

// The skin folder of this installation: beside the program when it is there
// (a build tree, a relocatable install), else "../share/orvane/ORVANE_Pro_Skins"
// from the program's folder (an FHS install). Needs a QCoreApplication.
// The result ends with a '/'.
QString skinFolder();

// The same rule for a given program folder; the test seam of skinFolder().
QString skinFolderFor(const QString& programFolder);

}  // namespace orvane
