// The stages of the current file as the overview "Przegląd etapów" shows them: every stage in
// file order, past the hundredth too, with its number (counted from 1) and name, and its picture
// once drawn. The stages are read and the pictures drawn off the user-interface thread
// (PackPictures), pictures only for the stages on screen (showRows), and kept until the file
// changes, within a memory budget: those of stages scrolled far away give way first.
//
// The file is read again when it is another file or has changed since it was read (its size,
// its times or its identity on the disk); until then everything stays as it is.
#pragma once

#include "PackPictures.h"

#include <QAbstractListModel>
#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QStringList>

#include <optional>
#include <sys/stat.h>

class StageOverviewModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The box each picture is fitted into: two pixels a cell of the largest stage.
    static constexpr QSize PictureBox{164, 164};
    // The pictures kept, in bytes: about four hundred of the largest stages.
    static constexpr qsizetype PictureBudget = 40 * 1024 * 1024;

    enum Role {
        WholeNameRole = Qt::UserRole, // the stage's name, not cut
        PictureRole,                  // its picture as a QPixmap, null while not drawn
        ProblemRole,                  // why it could not be drawn, empty otherwise
        MarkedRole,                   // true for the stage "Zapisz" writes over
    };

    explicit StageOverviewModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Reads the stages of the file at `path` unless they are those read last, unchanged.
    void follow(const QString& path);
    // Reads them again whatever the file looks like.
    void readAgain();
    bool reading() const { return pictures_.reading(); }
    // Why the file could not be read; empty when it was.
    QString problem() const { return problem_; }

    QString name(int position) const { return names_.value(position); }

    // The stages first..last are on screen: their pictures not drawn yet are drawn, and no
    // other.
    void showRows(int first, int last);
    bool hasPicture(int position) const { return cache_.contains(position); }
    // Drops the pictures asked for and not yet begun.
    void stopDrawing() { pictures_.stop(); }

    // The stage "Zapisz" writes over (the stage list's selection), -1 for none.
    void setMarked(int position);

signals:
    // A reading has ended, with the stages or with a problem.
    void readingFinished();

private:
    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        timespec modified{};
        timespec changed{};
        bool operator==(const FileStamp& other) const;
    };
    static std::optional<FileStamp> stampOf(const QString& path);

    void takeStages(const QStringList& names);
    void takeFailure(const QString& problem);
    void replaceNames(const QStringList& names);
    void takePicture(int position, const QImage& picture);
    void takeProblem(int position, const QString& problem);
    void announce(int position);

    PackPictures pictures_;
    QString path_;
    std::optional<FileStamp> stamp_;
    QStringList names_;
    QString problem_;
    QCache<int, QPixmap> cache_;
    QHash<int, QString> pictureProblems_;
    int marked_ = -1;
};
