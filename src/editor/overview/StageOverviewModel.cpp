#include "StageOverviewModel.h"

#include "TextCodec.h"

#include <algorithm>

bool StageOverviewModel::FileStamp::operator==(const FileStamp& other) const {
    const auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return device == other.device && inode == other.inode && size == other.size &&
           same(modified, other.modified) && same(changed, other.changed);
}

// A safe write puts a new file in place, so its identity changes with its times; a change in
// place changes its times. Nothing there, or nothing readable, has no stamp.
std::optional<StageOverviewModel::FileStamp> StageOverviewModel::stampOf(const QString& path) {
    struct stat status {};
    if (::stat(krelwin::filePath(path).c_str(), &status) != 0)
        return std::nullopt;
    return FileStamp{status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

StageOverviewModel::StageOverviewModel(QObject* parent)
    : QAbstractListModel(parent), pictures_(PictureBox, this) {
    cache_.setMaxCost(PictureBudget);
    connect(&pictures_, &PackPictures::stagesRead, this, &StageOverviewModel::takeStages);
    connect(&pictures_, &PackPictures::readFailed, this, &StageOverviewModel::takeFailure);
    connect(&pictures_, &PackPictures::pictureDrawn, this, &StageOverviewModel::takePicture);
    connect(&pictures_, &PackPictures::pictureFailed, this, &StageOverviewModel::takeProblem);
}

int StageOverviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(names_.size());
}

QVariant StageOverviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= names_.size())
        return {};
    const int position = index.row();
    const QString& name = names_[position];
    switch (role) {
    case Qt::DisplayRole:
        return QStringLiteral("%1. %2").arg(position + 1).arg(shownName(name));
    case Qt::ToolTipRole: {
        QString tip = QStringLiteral("Etap nr %1 „%2”").arg(position + 1).arg(shownName(name));
        if (position == marked_)
            tip += QStringLiteral("\nZaznaczony na liście etapów: tu „Zapisz” zapisze etap.");
        if (const QString problem = pictureProblems_.value(position); !problem.isEmpty())
            tip += QStringLiteral("\nNie można go pokazać: ") + problem;
        return tip;
    }
    case WholeNameRole:
        return name;
    case PictureRole:
        if (const QPixmap* picture = cache_.object(position))
            return *picture;
        return QPixmap();
    case ProblemRole:
        return pictureProblems_.value(position);
    case MarkedRole:
        return position == marked_;
    default:
        return {};
    }
}

Qt::ItemFlags StageOverviewModel::flags(const QModelIndex& index) const {
    return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
}

void StageOverviewModel::follow(const QString& path) {
    if (path == path_ && stamp_ && stamp_ == stampOf(path))
        return;
    path_ = path;
    readAgain();
}

// The stamp is taken before the reading: a change made while it reads is read once more.
void StageOverviewModel::readAgain() {
    stamp_ = stampOf(path_);
    pictures_.read(path_);
}

void StageOverviewModel::takeStages(const QStringList& names) {
    problem_.clear();
    replaceNames(names);
    emit readingFinished();
}

void StageOverviewModel::takeFailure(const QString& problem) {
    problem_ = problem;
    replaceNames({});
    emit readingFinished();
}

// Rows are added or removed at the end and the others told they changed, rather than the model
// reset, so that the view keeps its scroll position and its current stage.
void StageOverviewModel::replaceNames(const QStringList& names) {
    cache_.clear();
    pictureProblems_.clear();
    const int before = int(names_.size());
    const int after = int(names.size());
    if (after < before) {
        beginRemoveRows({}, after, before - 1);
        names_.resize(after);
        endRemoveRows();
    } else if (after > before) {
        beginInsertRows({}, before, after - 1);
        names_ = names;
        endInsertRows();
    }
    names_ = names;
    if (const int kept = std::min(before, after); kept > 0)
        emit dataChanged(index(0), index(kept - 1));
}

void StageOverviewModel::showRows(int first, int last) {
    std::vector<int> wanted;
    for (int position = std::max(0, first); position <= last && position < names_.size();
         ++position)
        if (!cache_.contains(position) && !pictureProblems_.contains(position))
            wanted.push_back(position);
    pictures_.draw(wanted);
}

void StageOverviewModel::takePicture(int position, const QImage& picture) {
    const qsizetype bytes = std::max<qsizetype>(1, picture.sizeInBytes());
    cache_.insert(position, new QPixmap(QPixmap::fromImage(picture)), bytes);
    announce(position);
}

void StageOverviewModel::takeProblem(int position, const QString& problem) {
    pictureProblems_.insert(position, problem);
    announce(position);
}

void StageOverviewModel::setMarked(int position) {
    const int before = std::exchange(marked_, position);
    announce(before);
    announce(position);
}

void StageOverviewModel::announce(int position) {
    if (position >= 0 && position < names_.size())
        emit dataChanged(index(position), index(position));
}
