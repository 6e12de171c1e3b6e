// Writing a picture of the picture commands as a PNG file.
#pragma once

#include <QImage>

#include <string>

namespace krelwin::cli {

// Written beside the target and renamed over it through the safe write, so a failed write
// leaves no half picture. Throws PlainMessage ("Nie można utworzyć obrazu: ...", "Nie można
// zapisać obrazu: ...") and what the safe write throws besides InOutError.
void writePicture(const std::string& path, const QImage& picture);

} // namespace krelwin::cli
