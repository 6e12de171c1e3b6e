// The editing state the forms share: the stage in memory (etap) with its name BiezacyEtap, the
// current file BiezacyPlik, the block clipboard Schowek, the current tool Narzedzie and the
// pseudo-random source ZrodloLosowe. One instance lives from the program's start to its exit;
// each form is given it when it is made, and none keeps a copy of these facts.
//
// The stage, the clipboard, the tool and the random source are plain members: the commands
// change them and redraw what they changed themselves. The file and the stage name are shown
// by the main window's status line, so they change only through their setters, which say so.
#pragma once

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

    QString BiezacyPlik() const { return biezacyPlik_; }
    void setBiezacyPlik(const QString& path);
    QString BiezacyEtap() const { return biezacyEtap_; }
    void setBiezacyEtap(const QString& name);

signals:
    // Raised by every set, also of the same text.
    void biezacyPlikChanged(const QString& path);
    void biezacyEtapChanged(const QString& name);

private:
    // What the status line shows before any file is open.
    QString biezacyPlik_ = QStringLiteral("plik");
    QString biezacyEtap_ = QStringLiteral("etap");
};
