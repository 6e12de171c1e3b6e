// The editing state the forms share: the stage in memory (etap) with its name BiezacyEtap, the
// current file BiezacyPlik, the block clipboard Schowek, the current tool Narzedzie and the
// pseudo-random source ZrodloLosowe. One instance lives from the program's start to its exit;
// the file workflow and the forms are given it when they are made, and none keeps a copy of
// these facts.
//
// The clipboard, the tool and the random source are plain members. The stage is changed by the
// edit history and the file workflow, which say what they changed through the signals below, so
// that every view (the map, the status line) follows, also on undo and redo.
#pragma once

#include "CellChange.h"
#include "cells.h"
#include "generator.h"
#include "plansza.h"
#include "schowek.h"

#include <QObject>
#include <QString>

class EditorState : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    krelwin::Etap etap;
    krelwin::Schowek Schowek;
    char Narzedzie = krelwin::kod::Pusty;
    krelwin::ZrodloLosowe ZrodloLosowe;
    // The map view's scale in percent, as the window last set it; kept with a recovery copy.
    int SkalaWidoku = 100;

    QString BiezacyPlik() const { return biezacyPlik_; }
    void setBiezacyPlik(const QString& path);
    QString BiezacyEtap() const { return biezacyEtap_; }
    void setBiezacyEtap(const QString& name);

    // Writes the changes into the stage (each cell takes `po`) and says so.
    void writeCells(const ZmianyPol& changes);
    // Puts `other` in place of the stage in memory, keeping the stage that was there in
    // `other`, and says so.
    void swapStage(krelwin::Etap& other);
    // The cells were written, or the stage was replaced or changed as a whole (cells, size,
    // parameters), by other means.
    void announceCellsChanged(const ZmianyPol& changes) { emit cellsChanged(changes); }
    void announceStageReplaced() { emit stageReplaced(); }

signals:
    // Raised by every set, also of the same text.
    void biezacyPlikChanged(const QString& path);
    void biezacyEtapChanged(const QString& name);
    // Cells written by an edit, its undo or its redo: each now holds `po`.
    void cellsChanged(const ZmianyPol& changes);
    // The whole stage was replaced: a load, a new stage, new parameters, a generator run.
    void stageReplaced();

private:
    // What the status line shows before any file is open.
    QString biezacyPlik_ = QStringLiteral("plik");
    QString biezacyEtap_ = QStringLiteral("etap");
};
