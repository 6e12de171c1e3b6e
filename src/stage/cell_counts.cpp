#include "cell_counts.h"

#include "cell_kinds.h"

#include <algorithm>
#include <numeric>

namespace krelwin {

int CellCounts::ofKind(int kind) const {
    if (kind != UnknownKind) {
        int count = 0;
        for (const char code : CellKinds[static_cast<std::size_t>(kind)].kody) {
            count += of(code);
        }
        return count;
    }
    int count = 0;
    for (int value = 0; value < 256; ++value) {
        if (!isKnownCode(static_cast<char>(value))) {
            count += byCode_[static_cast<std::size_t>(value)];
        }
    }
    return count;
}

int CellCounts::total() const {
    return std::accumulate(byCode_.begin(), byCode_.end(), 0);
}

CellCounts countCells(const Etap& etap) {
    const int columns = std::clamp<int32_t>(etap.parametry.Szer, 0, MaxWymiar);
    const int rows = std::clamp<int32_t>(etap.parametry.Wys, 0, MaxWymiar);
    CellCounts counts;
    for (int column = 1; column <= columns; ++column) {
        for (int row = 1; row <= rows; ++row) {
            counts.add(etap.plansza.at(column, row));
        }
    }
    return counts;
}

std::vector<KindShare> kindShares(const CellCounts& counts) {
    const int total = counts.total();
    const auto shareOf = [total](int count) {
        return total == 0 ? 0.0 : static_cast<double>(count) / total;
    };
    std::vector<KindShare> shares;
    for (std::size_t kind = 0; kind < CellKinds.size(); ++kind) {
        const int count = counts.ofKind(static_cast<int>(kind));
        shares.push_back({CellKinds[kind].name, static_cast<int>(kind), count, shareOf(count)});
    }
    if (const int unknown = counts.ofKind(UnknownKind); unknown > 0) {
        shares.push_back({UnknownKindName, UnknownKind, unknown, shareOf(unknown)});
    }
    return shares;
}

std::string diamondsText(const CellCounts& counts, int32_t ileD) {
    return "Diamenty: " + std::to_string(counts.of(kod::Diament)) + "/" + std::to_string(ileD);
}

} // namespace krelwin
