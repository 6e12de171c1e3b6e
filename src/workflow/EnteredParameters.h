// What the stage parameters dialog hands a command once confirmed: every parameter brought into
// its range, and the stage name.
#pragma once

#include "parametry_etapu.h"

#include <QString>

struct EnteredParameters {
    krelwin::ParametryEtapu parametry;
    QString nazwa;
};
