#pragma once

// The recorder's search, for any of the sims (search_sims.h). Every DECISION_STEPS
// steps it tries each key combination for those steps, then each again for
// as many, then holds the second one's keys as a plan (with a jump at each
// block end; one that brakes or coasts drives on after a while) for `ahead`
// steps, and plays every try out on a copy. The
// combination whose try gets furthest without losing a life is taken.
//
// When every try loses a life within the two chosen moves, or the craft
// gets no further for a while (stallSteps), the search is at a dead end: it goes
// back to an earlier decision and takes that one's next best combination.
// Each dead end near the last one goes back twice as far, so a trap that a
// choice long before set up is found too. Snapshots every few decisions let
// it go back without replaying the whole level.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "replay/recording.h"

struct SearchOptions {
    int ahead = 150;          // steps a plan is played out after the two moves
    int maxSteps = 12000;     // the longest recording looked for
    int maxBacktracks = 400;  // dead ends before the search gives up
    int stallSteps = 900;     // steps without getting further (outside pong games) that make a dead end
    bool verbose = true;      // progress on standard error
    // Called with the recording so far every SAVE_STEPS steps, so that a
    // search stopped by hand can be taken up again from what it had.
    std::function<void(const std::vector<HeldKeys>&)> save;
};

constexpr int DECISION_STEPS = 3;
constexpr int SNAPSHOT_DECISIONS = 20;
constexpr int MAX_RANK = 4;  // how many of a decision's combinations are tried
constexpr int MAX_REACH = 600;  // the furthest back a dead end sends the search, in steps
constexpr int SAVE_STEPS = 600;
constexpr int BRAKE_WAIT_STEPS = 30;  // a plan that brakes drives on after this
constexpr int COAST_WAIT_STEPS = 90;  // one that coasts, after this
constexpr double DEAD = -1e8;
constexpr double PLAN_LOSS = 3000;
constexpr double TEMPO = 50;  // what a step later is worth, in progress

// Every combination of steering (none, left, right), jump and speed
// (forward, none, backward).
inline std::vector<HeldKeys> keyChoices() {
    std::vector<HeldKeys> all;
    for (int steer = 0; steer < 3; ++steer)
        for (int jump = 0; jump < 2; ++jump)
            for (int speed = 0; speed < 3; ++speed) {
                HeldKeys keys;
                keys.left = steer == 1;
                keys.right = steer == 2;
                keys.jump = jump == 1;
                keys.forward = speed == 0;
                keys.backward = speed == 2;
                all.push_back(keys);
            }
    return all;
}

template <class Sim>
class Search {
public:
    Search(const Sim& start, const SearchOptions& options) : state_(start), options_(options) {}

    // Holds `prefix` first (the designer's hint; never revised), then
    // searches. True when the recording reaches the sim's goal.
    bool run(const std::vector<HeldKeys>& prefix) {
        for (const HeldKeys& keys : prefix) {
            if (state_.done()) break;
            stepWith(keys);
            if (state_.lost()) {
                std::fprintf(stderr, "the kept keys lose a life at step %zu\n", keys_.size());
                return false;
            }
        }
        prefixSteps_ = int(keys_.size());
        snapshots_.insert_or_assign(prefixSteps_, state_);
        double best = state_.progress();
        int bestStep = prefixSteps_;
        while (!state_.done() && int(keys_.size()) < options_.maxSteps) {
            if (decisions_.size() % SNAPSHOT_DECISIONS == 0) snapshots_.emplace(int(keys_.size()), state_);
            Decision decision;
            decision.step = int(keys_.size());
            decision.ranked = rank();
            const bool stalled = !state_.busy() && int(keys_.size()) - bestStep > options_.stallSteps;
            if (decision.ranked.front().first < DEAD || stalled) {
                if (!backtrack()) return false;
                best = state_.progress();
                bestStep = int(keys_.size());
                continue;
            }
            // On the way back to a dead end, one of the good tries at random:
            // the best ones lead back into it.
            if (repeats_ > 0 && decision.step < lastDeadEnd_ + 30) decision.chosen = randomPick(decision.ranked);
            decisions_.push_back(decision);
            apply(decision.ranked[decision.chosen].second);
            if (state_.progress() > best || state_.busy()) {
                best = std::max(best, state_.progress());
                bestStep = int(keys_.size());
            }
            report();
        }
        return state_.done();
    }

    const std::vector<HeldKeys>& keys() const { return keys_; }
    int backtracks() const { return backtracks_; }

private:
    struct Decision {
        int step = 0;
        std::vector<std::pair<double, HeldKeys>> ranked;  // best first
        size_t chosen = 0;
    };

    void stepWith(const HeldKeys& keys) {
        state_.step(keys);
        keys_.push_back(keys);
    }

    void apply(const HeldKeys& keys) {
        for (int i = 0; i < DECISION_STEPS && !state_.done(); ++i) stepWith(keys);
    }

    // `first` for DECISION_STEPS, `second` for as many, then the plan; the
    // score is the progress, a goal above any progress, a loss in the two
    // moves far below, a loss in the plan a setback.
    double playOut(const HeldKeys& first, const HeldKeys& second) const {
        Sim sim = state_;
        HeldKeys plan = second;
        plan.jump = false;
        // A plan that does not drive forward waits (braking a little,
        // coasting longer), then drives on: waiting is only worth anything
        // for what comes after it, a ferry or gate come round.
        const int waitSteps = second.backward ? BRAKE_WAIT_STEPS : (second.forward ? 0 : COAST_WAIT_STEPS);
        HeldKeys drive = plan;
        drive.forward = true;
        drive.backward = false;
        double best = sim.progress();
        int bestStep = 0;
        const int moves = 2 * DECISION_STEPS;
        for (int i = 0; i < moves + options_.ahead; ++i) {
            const HeldKeys& planned = i < moves + waitSteps ? plan : drive;
            sim.step(i < DECISION_STEPS ? first : (i < moves ? second : sim.planKeys(planned)));
            // A loss in the plan says little about this choice (the plan
            // drives blind): the ground reached counts, less a little. A
            // penalty growing with how soon it comes would favour crawling
            // toward a hazard, which only puts it off.
            if (sim.lost()) return i < moves ? 2 * DEAD + best : best - TEMPO * bestStep - PLAN_LOSS;
            if (sim.done()) return 1e12 - i;
            // Only ground reached counts: a craft flying off the track gets
            // further every step until it is lost.
            if (sim.grounded() && sim.progress() > best) {
                best = sim.progress();
                bestStep = i;
            }
        }
        // Ground reached sooner counts for more, so that waiting never
        // wins by only putting a loss beyond the look ahead; standing on
        // the track beats hanging in the air over it.
        return best - TEMPO * bestStep + (sim.grounded() ? 500 : 0);
    }

    std::vector<std::pair<double, HeldKeys>> rank() const {
        std::vector<std::pair<double, HeldKeys>> ranked;
        for (const HeldKeys& first : choices_) {
            double score = 2 * DEAD * 10;
            for (const HeldKeys& second : choices_) score = std::max(score, playOut(first, second));
            ranked.emplace_back(score, first);
        }
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        return ranked;
    }

    // Back to the decision `reach` steps before the dead end (twice as far
    // as last time when this dead end lies near the last one), and on with
    // its next combination that does not lose at once; a decision without
    // one is dropped for the one before it, and with none left the search
    // starts again after the kept keys.
    bool backtrack() {
        const int deadEnd = int(keys_.size());
        const double deadEndProgress = state_.progress();
        if (++backtracks_ > options_.maxBacktracks) {
            std::fprintf(stderr, "gave up after %d dead ends; stuck at step %d (progress %.0f)\n", backtracks_ - 1,
                         deadEnd, deadEndProgress);
            return false;
        }
        repeats_ = std::abs(deadEnd - lastDeadEnd_) <= 60 ? repeats_ + 1 : 0;
        lastDeadEnd_ = deadEnd;
        const int reach = std::min(DECISION_STEPS << std::min(repeats_, 10), MAX_REACH);
        while (decisions_.size() > 1 && decisions_.back().step > deadEnd - reach) decisions_.pop_back();
        while (!decisions_.empty()) {
            Decision& decision = decisions_.back();
            ++decision.chosen;
            if (decision.chosen < size_t(MAX_RANK) && decision.chosen < decision.ranked.size() &&
                decision.ranked[decision.chosen].first > DEAD) {
                restore(decision.step);
                apply(decision.ranked[decision.chosen].second);
                if (options_.verbose)
                    std::fprintf(stderr, "dead end at step %d (progress %.0f): back to step %d\n", deadEnd,
                                 deadEndProgress, decision.step);
                return true;
            }
            decisions_.pop_back();
        }
        // Every decision's next tries are used up: from the start again,
        // choosing at random among the good tries up to the dead end.
        restore(prefixSteps_);
        if (options_.verbose)
            std::fprintf(stderr, "dead end at step %d (progress %.0f): from step %d again\n", deadEnd,
                         deadEndProgress, prefixSteps_);
        return true;
    }

    // One of the tries that do not lose at once, the better ones likelier.
    size_t randomPick(const std::vector<std::pair<double, HeldKeys>>& ranked) {
        size_t viable = 0;
        while (viable < ranked.size() && viable < 8 && ranked[viable].first > DEAD) ++viable;
        if (viable <= 1) return 0;
        const size_t a = random_() % viable, b = random_() % viable;
        return std::min(a, b);
    }

    // The state after `step` recorded steps: the latest snapshot before it
    // and the recorded keys from there.
    void restore(int step) {
        auto snapshot = snapshots_.upper_bound(step);
        --snapshot;  // the prefix's snapshot is never after any decision
        state_ = snapshot->second;
        for (int i = snapshot->first; i < step; ++i) state_.step(keys_[size_t(i)]);
        keys_.resize(size_t(step));
        snapshots_.erase(snapshots_.upper_bound(step), snapshots_.end());
    }

    void report() {
        if (options_.save && int(keys_.size()) >= nextSave_) {
            nextSave_ = int(keys_.size()) + SAVE_STEPS;
            options_.save(keys_);
        }
        if (!options_.verbose || int(keys_.size()) < nextReport_) return;
        nextReport_ = int(keys_.size()) + 300;
        std::fprintf(stderr, "step %zu: progress %.0f, %d dead ends\n", keys_.size(), state_.progress(),
                     backtracks_);
    }

    Sim state_;
    SearchOptions options_;
    std::vector<HeldKeys> choices_ = keyChoices();
    std::vector<HeldKeys> keys_;
    std::vector<Decision> decisions_;
    std::map<int, Sim> snapshots_;
    int prefixSteps_ = 0;
    int backtracks_ = 0;
    int lastDeadEnd_ = -1000000;
    int repeats_ = 0;
    int nextReport_ = 300;
    int nextSave_ = SAVE_STEPS;
    std::mt19937 random_{1};  // fixed: the same level and hints give the same recording
};
