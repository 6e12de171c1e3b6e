// The main window's panel Panel1, below the toolbar: the introductory labels seen while no file
// is open, the map view DG1 over them once one is, and the status labels along the bottom
// (LPlik the current file, LEtap the stage name, Label1 "Poz:" and LPos the current cell). It
// lays itself out as at its first size of 554 x 376 whatever its size: the labels stacked at
// the top over the full width, the map view following all four sides, the status labels the
// bottom (LPlik the left side, the others the right side).
#pragma once

#include <QWidget>

class MapView;
class QLabel;

class MainPanel : public QWidget {
public:
    static constexpr int LaidOutWidth = 554;
    static constexpr int LaidOutHeight = 376;

    MainPanel();

    // The stage name as LEtap shows it, cut to its place.
    void showStageName(const QString& name);
    void showFileName(const QString& path);
    // The map view and the status labels, shown once a file is created or opened.
    void showStageEditing(bool shown);

    MapView* DG1;
    QLabel* LPlik;
    QLabel* LEtap;
    QLabel* Label1;
    QLabel* LPos;
    QLabel* Label3; // the title

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildIntroLabels();
    void buildStatusLabels();
    void layOut();
    void layOutStatusLine();

    QLabel* Label6;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label5;
    QString stageName_;
};
