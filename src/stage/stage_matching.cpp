#include "stage_matching.h"

#include <algorithm>
#include <optional>
#include <queue>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace krelwin {

namespace {

struct ContentKey {
    uint64_t hash;
    std::size_t length;
    bool operator==(const ContentKey&) const = default;
};

struct ContentKeyHash {
    std::size_t operator()(const ContentKey& key) const {
        return static_cast<std::size_t>(key.hash ^ key.length);
    }
};

template <typename Value> using ByContent = std::unordered_map<ContentKey, Value, ContentKeyHash>;

ContentKey contentOf(const StageIdentity& stage) {
    return {stage.contentHash, stage.contentLength};
}

class Matcher {
public:
    Matcher(const std::vector<StageIdentity>& oldStages,
            const std::vector<StageIdentity>& newStages)
        : old_(oldStages), new_(newStages) {
        result_.newOf.assign(old_.size(), Unpaired);
        result_.oldOf.assign(new_.size(), Unpaired);
        result_.moved.assign(old_.size(), false);
    }

    StageMatching run() {
        pairIdenticalContent();
        pairSameNameNearby();
        markMoves();
        return std::move(result_);
    }

private:
    const std::vector<StageIdentity>& old_;
    const std::vector<StageIdentity>& new_;
    StageMatching result_;

    long oldCount() const { return static_cast<long>(old_.size()); }
    long newCount() const { return static_cast<long>(new_.size()); }
    bool oldPaired(long o) const { return result_.newOf[o] != Unpaired; }
    bool newPaired(long n) const { return result_.oldOf[n] != Unpaired; }

    void pair(long o, long n) {
        result_.newOf[o] = n;
        result_.oldOf[n] = o;
    }

    void pairIdenticalContent() {
        ByContent<std::vector<long>> oldByContent;
        ByContent<std::vector<long>> newByContent;
        for (long o = 0; o < oldCount(); ++o) {
            oldByContent[contentOf(old_[o])].push_back(o);
        }
        for (long n = 0; n < newCount(); ++n) {
            newByContent[contentOf(new_[n])].push_back(n);
        }
        // The usual case first, a stage and its unchanged self: the pairs by which duplicates
        // are placed.
        std::vector<std::pair<const std::vector<long>*, const std::vector<long>*>> duplicates;
        for (long o = 0; o < oldCount(); ++o) {
            const ContentKey key = contentOf(old_[o]);
            const std::vector<long>& olds = oldByContent[key];
            const auto news = newByContent.find(key);
            if (olds.front() != o || news == newByContent.end()) {
                continue;
            }
            if (olds.size() == 1 && news->second.size() == 1) {
                pair(o, news->second.front());
            } else {
                duplicates.emplace_back(&olds, &news->second);
            }
        }
        if (duplicates.empty()) {
            return;
        }
        const std::vector<std::pair<long, long>> expected = expectedPlaces();
        for (const auto& [olds, news] : duplicates) {
            pairNearest(*olds, *news, expected, true);
            pairNearest(*olds, *news, expected, false);
        }
    }

    // How far the new stage stands from where the old one is expected.
    static long distance(long n, const std::pair<long, long>& expected) {
        return std::min(std::abs(n - expected.first), std::abs(n - expected.second));
    }

    // The free stage of `candidates` nearest to where `o` is expected, the first on a tie.
    static std::optional<long> nearest(const std::set<long>& candidates,
                                       const std::pair<long, long>& expected) {
        std::optional<long> best;
        for (const long place : {expected.first, expected.second}) {
            const auto after = candidates.lower_bound(place);
            for (const auto at : {after, after == candidates.begin() ? after : std::prev(after)}) {
                if (at != candidates.end() &&
                    (!best || distance(*at, expected) < distance(*best, expected) ||
                     (distance(*at, expected) == distance(*best, expected) && *at < *best))) {
                    best = *at;
                }
            }
        }
        return best;
    }

    // Pairs the unpaired stages of one group of identical ones, of the same name only or of any,
    // nearest first: each old stage offers its nearest free new one, and the offers are taken
    // from the nearest on (the first old stage on a tie), an old stage whose offer was taken
    // meanwhile offering its next nearest.
    void pairNearest(const std::vector<long>& olds, const std::vector<long>& news,
                     const std::vector<std::pair<long, long>>& expected, bool sameNameOnly) {
        const auto key = [&](const StageIdentity& stage) {
            return sameNameOnly ? std::string_view(stage.nameLine) : std::string_view();
        };
        std::unordered_map<std::string_view, std::set<long>> free;
        for (const long n : news) {
            if (!newPaired(n)) {
                free[key(new_[n])].insert(n);
            }
        }
        using Offer = std::tuple<long, long, long>; // distance, old, new
        std::priority_queue<Offer, std::vector<Offer>, std::greater<>> offers;
        const auto offer = [&](long o) {
            const auto candidates = free.find(key(old_[o]));
            if (candidates == free.end()) {
                return;
            }
            if (const std::optional<long> n = nearest(candidates->second, expected[o])) {
                offers.emplace(distance(*n, expected[o]), o, *n);
            }
        };
        for (const long o : olds) {
            if (!oldPaired(o)) {
                offer(o);
            }
        }
        while (!offers.empty()) {
            const auto [ignored, o, n] = offers.top();
            offers.pop();
            if (newPaired(n)) {
                offer(o);
                continue;
            }
            pair(o, n);
            free[key(new_[n])].erase(n);
        }
    }

    // For each unpaired old stage, the two places where it is expected in the new pack: moved
    // as far as the nearest stage paired before it, or as the nearest one after it.
    std::vector<std::pair<long, long>> expectedPlaces() const {
        std::vector<std::pair<long, long>> expected(old_.size());
        long oldAnchor = -1;
        long newAnchor = -1;
        for (long o = 0; o < oldCount(); ++o) {
            if (oldPaired(o)) {
                oldAnchor = o;
                newAnchor = result_.newOf[o];
            }
            expected[o].first = newAnchor + (o - oldAnchor);
        }
        oldAnchor = oldCount();
        newAnchor = newCount();
        for (long o = oldCount() - 1; o >= 0; --o) {
            if (oldPaired(o)) {
                oldAnchor = o;
                newAnchor = result_.newOf[o];
            }
            expected[o].second = newAnchor - (oldAnchor - o);
        }
        return expected;
    }

    void pairSameNameNearby() {
        const std::vector<std::pair<long, long>> expected = expectedPlaces();
        std::unordered_map<std::string_view, std::set<long>> freeByName;
        for (long n = 0; n < newCount(); ++n) {
            if (!newPaired(n)) {
                freeByName[new_[n].nameLine].insert(n);
            }
        }
        for (long o = 0; o < oldCount(); ++o) {
            const auto sameName = freeByName.find(old_[o].nameLine);
            if (oldPaired(o) || sameName == freeByName.end()) {
                continue;
            }
            std::set<long>& candidates = sameName->second;
            long best = Unpaired;
            long bestDistance = NearbyStages + 1;
            for (const long place : {expected[o].first, expected[o].second}) {
                for (auto n = candidates.lower_bound(place - NearbyStages);
                     n != candidates.end() && *n <= place + NearbyStages; ++n) {
                    const long distance = std::abs(*n - place);
                    if (distance < bestDistance || (distance == bestDistance && *n < best)) {
                        best = *n;
                        bestDistance = distance;
                    }
                }
            }
            if (best != Unpaired) {
                pair(o, best);
                candidates.erase(best);
            }
        }
    }

    // The pairs outside one longest run whose new places rise with the old ones are moved.
    void markMoves() {
        std::vector<long> pairedOld;
        for (long o = 0; o < oldCount(); ++o) {
            if (oldPaired(o)) {
                pairedOld.push_back(o);
            }
        }
        const auto newPlace = [&](std::size_t i) { return result_.newOf[pairedOld[i]]; };
        std::vector<std::size_t> runEnds; // runEnds[k]: the end of the best run of length k+1
        std::vector<long> before(pairedOld.size(), -1);
        for (std::size_t i = 0; i < pairedOld.size(); ++i) {
            const auto at = std::lower_bound(
                runEnds.begin(), runEnds.end(), newPlace(i),
                [&](std::size_t end, long place) { return newPlace(end) < place; });
            if (at != runEnds.begin()) {
                before[i] = static_cast<long>(*(at - 1));
            }
            if (at == runEnds.end()) {
                runEnds.push_back(i);
            } else {
                *at = i;
            }
        }
        std::vector<bool> inRun(pairedOld.size(), false);
        for (long i = runEnds.empty() ? -1 : static_cast<long>(runEnds.back()); i >= 0;
             i = before[i]) {
            inRun[i] = true;
        }
        for (std::size_t i = 0; i < pairedOld.size(); ++i) {
            result_.moved[pairedOld[i]] = !inRun[i];
        }
    }
};

} // namespace

StageMatching matchStages(const std::vector<StageIdentity>& oldStages,
                          const std::vector<StageIdentity>& newStages) {
    return Matcher(oldStages, newStages).run();
}

} // namespace krelwin
