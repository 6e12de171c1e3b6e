// The pictures of diff --png, drawn with the editor's renderer in krelwin-stage-pictures.
#include "diff_pictures.h"

#include "CellGrid.h"
#include "StagePicture.h"
#include "errors.h"
#include "picture_output.h"
#include "safe_write.h"

#include <QDir>
#include <QString>

#include <filesystem>

namespace krelwin::cli {

namespace {

constexpr int FrameWidth = 2;
const QRgb FrameColour = qRgb(255, 0, 0);

// A red frame inside each cell's square. An indexed picture gets red as one more colour, so
// that it stays small.
QImage framed(QImage picture, const std::vector<CellPosition>& cells) {
    uint pixel = FrameColour;
    if (picture.format() == QImage::Format_Indexed8 && picture.colorCount() < 256) {
        pixel = static_cast<uint>(picture.colorCount());
        picture.setColorCount(picture.colorCount() + 1);
        picture.setColor(static_cast<int>(pixel), FrameColour);
    } else {
        picture = picture.convertToFormat(QImage::Format_RGB32);
    }
    const int size = render::CellHeight;
    for (const auto& [column, row] : cells) {
        const QRect square(column * size, row * size, size, size);
        if (!picture.rect().contains(square))
            continue; // a cell past the size the stage loads with
        for (int y = square.top(); y <= square.bottom(); ++y) {
            for (int x = square.left(); x <= square.right(); ++x) {
                const bool edge = x - square.left() < FrameWidth ||
                                  square.right() - x < FrameWidth ||
                                  y - square.top() < FrameWidth || square.bottom() - y < FrameWidth;
                if (edge)
                    picture.setPixel(x, y, pixel);
            }
        }
    }
    return picture;
}

class FramedPictures : public ChangePictures {
public:
    explicit FramedPictures(const std::string& folder) : folder_(folder) {
        if (!QDir().mkpath(QString::fromLocal8Bit(folder.c_str())))
            throw PlainMessage("Nie można utworzyć katalogu: " + shownText(folder));
    }

    void write(long index, const Etap& etap, const std::vector<CellPosition>& cells) override {
        writePicture((std::filesystem::path(folder_) / pictureName(index)).string(),
                     framed(render::pictureOfStage(etap), cells));
    }

private:
    std::string folder_;
    OneListingPerFolder listing_; // a folder of many pictures is listed once
};

} // namespace

std::unique_ptr<ChangePictures> openChangePictures(const std::string& folder) {
    return std::make_unique<FramedPictures>(folder);
}

} // namespace krelwin::cli
