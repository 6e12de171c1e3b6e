// Writing a picture of the picture commands as a PNG file.
#pragma once

#include <QImage>

#include <string>

namespace krelwin::cli {

// Written beside the target and renamed over it through the safe write, so a failed write
// leaves no half picture. Throws PlainMessage ("Nie można utworzyć obrazu: ...", "Nie można
// zapisać obrazu: ...") and what the safe write throws besides InOutError.
void writePicture(const std::string& path, const QImage& picture);

// The picture of stage `index` among a pack's pictures: "000.png", "001.png", ..., three digits
// at least, so that names sort in stage order.
std::string pictureName(long index);

} // namespace krelwin::cli
