// One cell an edit changed, with its code before and after, as the edit history keeps it and as
// the views learn of it. Columns and rows are 0..81, so a byte each is enough and a change takes
// four bytes.
#pragma once

#include "editing.h"
#include "plansza.h"

#include <cstdint>
#include <vector>

struct ZmianaPola {
    uint8_t column;
    uint8_t row;
    char przed;
    char po;
};

using ZmianyPol = std::vector<ZmianaPola>;

// The cells of `written` whose code in `after` differs from `before`, in the order written.
ZmianyPol changedCells(const krelwin::Plansza& before, const krelwin::Plansza& after,
                       const krelwin::ZapisanePola& written);
