// The reading behind the overview of a pack, off the user-interface thread: the stages of a
// file in one walk (their names, and where each one's lines begin), then pictures of single
// stages as they are asked for, each loaded from its place and drawn by the renderer that
// `krelwin-stage render` uses. A few pictures are drawn at a time, one a thread; the pictures
// asked for wait in order, and a new request replaces those not yet begun, so that scrolling
// past a thousand stages draws only those it stops at.
//
// Every reading starts a new generation: whatever arrives from an earlier one is dropped.
// Results come back on the user-interface thread, as signals.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <deque>
#include <sys/types.h>
#include <vector>

class PackPictures : public QObject {
    Q_OBJECT

public:
    explicit PackPictures(QSize pictureBox, QObject* parent = nullptr);
    // Waits for the work begun; nothing more is reported.
    ~PackPictures() override;

    // Reads the stages of the file at `path`: stagesRead or readFailed follows.
    void read(const QString& path);
    // Draws the pictures of these stages of the last reading, in this order, in place of those
    // asked for before and not yet begun: pictureDrawn or pictureFailed follows for each.
    void draw(const std::vector<int>& positions);
    // Drops everything asked for and not yet begun.
    void stop();

    bool reading() const { return reading_; }
    // The stages whose pictures are being drawn or wait for it.
    bool drawing(int position) const;

signals:
    void stagesRead(const QStringList& names);
    void readFailed(const QString& problem);
    void pictureDrawn(int position, const QImage& picture);
    void pictureFailed(int position, const QString& problem);

private:
    struct Stages {
        std::string path;
        std::vector<off_t> places; // where each stage's lines begin
    };
    void startWaiting();
    void finishReading(int generation, Stages stages, const QStringList& names,
                       const QString& problem);
    void finishPicture(int generation, int position, const QImage& picture, const QString& problem);

    QSize box_;
    QThreadPool pool_;
    int generation_ = 0;
    bool reading_ = false;
    Stages stages_;
    std::deque<int> waiting_;
    std::vector<int> begun_; // of this generation
};
