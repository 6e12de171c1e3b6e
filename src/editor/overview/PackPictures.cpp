#include "PackPictures.h"

#include "StageMiniature.h"
#include "TextCodec.h"
#include "stage_places.h"

#include <QThread>

#include <algorithm>
#include <exception>

PackPictures::PackPictures(QSize pictureBox, QObject* parent) : QObject(parent), box_(pictureBox) {
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

PackPictures::~PackPictures() {
    pool_.clear();
    pool_.waitForDone();
}

void PackPictures::read(const QString& path) {
    ++generation_;
    waiting_.clear();
    begun_.clear();
    stages_ = {};
    reading_ = true;
    const int generation = generation_;
    const std::string file = krelwin::filePath(path);
    pool_.start([this, generation, file] {
        Stages stages{file, {}};
        QStringList names;
        QString problem;
        try {
            const std::vector<krelwin::StagePlace> places = krelwin::readStagePlaces(file);
            stages.places.reserve(places.size());
            names.reserve(qsizetype(places.size()));
            for (const krelwin::StagePlace& place : places) {
                stages.places.push_back(place.linesStart);
                names << krelwin::fromFileBytes(place.name);
            }
        } catch (const std::exception& error) {
            problem = QString::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(
            this, [=, this] { finishReading(generation, stages, names, problem); },
            Qt::QueuedConnection);
    });
}

void PackPictures::finishReading(int generation, Stages stages, const QStringList& names,
                                 const QString& problem) {
    if (generation != generation_)
        return;
    reading_ = false;
    if (!problem.isEmpty()) {
        emit readFailed(problem);
        return;
    }
    stages_ = std::move(stages);
    emit stagesRead(names);
}

void PackPictures::draw(const std::vector<int>& positions) {
    waiting_.clear();
    for (const int position : positions)
        if (position >= 0 && std::size_t(position) < stages_.places.size() && !drawing(position))
            waiting_.push_back(position);
    startWaiting();
}

void PackPictures::stop() {
    waiting_.clear();
}

bool PackPictures::drawing(int position) const {
    return std::find(begun_.begin(), begun_.end(), position) != begun_.end() ||
           std::find(waiting_.begin(), waiting_.end(), position) != waiting_.end();
}

// One picture a thread at a time: the rest wait here, where a new request can replace them.
void PackPictures::startWaiting() {
    while (!waiting_.empty() && int(begun_.size()) < pool_.maxThreadCount()) {
        const int position = waiting_.front();
        waiting_.pop_front();
        begun_.push_back(position);
        const int generation = generation_;
        const std::string file = stages_.path;
        const off_t place = stages_.places[std::size_t(position)];
        const QSize box = box_;
        pool_.start([this, generation, position, file, place, box] {
            QImage picture;
            QString problem;
            try {
                picture = krelwin::render::miniatureOfStage(krelwin::loadStageAt(file, place), box);
            } catch (const std::exception& error) {
                problem = QString::fromUtf8(error.what());
            }
            QMetaObject::invokeMethod(
                this, [=, this] { finishPicture(generation, position, picture, problem); },
                Qt::QueuedConnection);
        });
    }
}

void PackPictures::finishPicture(int generation, int position, const QImage& picture,
                                 const QString& problem) {
    if (generation != generation_)
        return;
    begun_.erase(std::find(begun_.begin(), begun_.end(), position));
    if (problem.isEmpty())
        emit pictureDrawn(position, picture);
    else
        emit pictureFailed(position, problem);
    startWaiting();
}
