#include <cstdio>

#include "replay/level_check.h"

// The level check's table: one row a level, columns wide enough for the
// shipped names; a long name pushes its row out rather than being cut.

namespace {

std::string naiveText(const LevelReport& report) {
    const NaiveRun& naive = report.naive;
    if (report.mode == LevelMode::Castle)
        return naive.result == NaiveRun::FinishedClean ? "F scores @" + std::to_string(naive.step) : "F no hit";
    static const char* const medals[] = {" gold", " silver", " bronze"};
    const int medal = report.naiveMedal();
    switch (naive.result) {
        case NaiveRun::FinishedClean:
            return "finished @" + std::to_string(naive.step) + (medal == MEDAL_NONE ? "" : medals[medal]);
        case NaiveRun::LostLife: return "life lost @" + std::to_string(naive.step);
        case NaiveRun::DidNotFinish: break;
    }
    return "no finish";
}

// The medal times, and how far each lies above the proof's time.
std::string medalsText(const LevelReport& report) {
    if (report.goldMs == 0) return "no medal times";
    const auto above = [&report](int ms) {
        return report.proof.steps ? std::to_string((ms - report.proofTimeMs()) * 100 / report.proofTimeMs()) : "?";
    };
    return "medals " + secondsText(report.goldMs) + "/" + secondsText(report.silverMs) + "/" +
           secondsText(report.bronzeMs) + " (+" + above(report.goldMs) + "/+" + above(report.silverMs) + "/+" +
           above(report.bronzeMs) + " %)";
}

std::string raceForwardText(const RaceCheck& race, int player) {
    const char* who = player == 0 ? "A" : "B";
    if (race.lifeLostStep[player] >= 0)
        return std::string(who) + " life lost lap " + std::to_string(race.lifeLostLap[player]) + " @" +
               std::to_string(race.lifeLostStep[player]);
    return std::string(who) + " " + std::to_string(race.laps[player]) + " laps clean";
}

std::string castleText(const CastleCheck& castle) {
    std::string text = "attacks " + std::to_string(castle.hits) + "/" + std::to_string(CASTLE_CHECK_LIVES) +
                       (castle.deaths.total() ? " (" + describeDeaths(castle.deaths) + ")" : "");
    if (castle.singleKeyScores.empty())
        return text + "; no single key scores in " + std::to_string(CASTLE_KEY_STEPS);
    text += "; alone scores:";
    for (const HeldKeyScore& score : castle.singleKeyScores)
        text += std::string(" ") + (score.player == 0 ? "A" : "B") + "-" + score.key + "@" + std::to_string(score.step);
    return text;
}

std::string rulesText(const LevelReport& report) {
    switch (report.mode) {
        case LevelMode::Campaign:
            if (report.pongCourts == 0) return "";
            return "pong: " + std::to_string(report.pongCourts) + (report.pongCourts == 1 ? " court, " : " courts, ") +
                   std::to_string(report.proof.pongGames) + " played on the proof";
        case LevelMode::TimeAttack: return medalsText(report);
        case LevelMode::Race:
            return medalsText(report) + "; race proof " + (report.race.proofScoresForBoth ? "ok" : "FAILS") +
                   "; forward " + raceForwardText(report.race, 0) + ", " + raceForwardText(report.race, 1);
        case LevelMode::Castle: return castleText(report.castle);
    }
    return "";
}

}  // namespace

std::string checkTableHeader() {
    char line[256];
    std::snprintf(line, sizeof line, "%-30s %6s %8s %6s %6s %5s %5s %5s %6s %4s %5s %-6s %-21s %s\n", "level",
                  "blocks", "length", "steps", "time", "stand", "falls", "crash", "health", "pong", "lives", "proof",
                  "naive", "rules");
    return line;
}

std::string checkTableRow(const LevelReport& report) {
    if (!report.error.empty()) return report.label + "  ERROR: " + report.error + "\n";
    const ProofRun& proof = report.proof;
    const std::string lives = report.mode == LevelMode::Campaign && proof.present
                                  ? std::to_string(proof.livesStart) + ">" + std::to_string(proof.livesEnd)
                                  : "-";
    const char* verdict = !proof.present ? "none" : (report.proofBroken() ? "BROKEN" : "ok");
    const std::string standing = std::to_string(report.standingPercent()) + "%";
    char line[512];
    std::snprintf(line, sizeof line, "%-30s %6d %8lld %6d %6s %5s %5d %5d %6d %4d %5s %-6s %-21s %s\n",
                  report.label.c_str(), report.blocks, static_cast<long long>(report.length), proof.steps,
                  secondsText(report.proofTimeMs()).c_str(), standing.c_str(), proof.deaths.falls, proof.deaths.crashes,
                  proof.deaths.health, proof.deaths.pongLosses, lives.c_str(), verdict, naiveText(report).c_str(),
                  rulesText(report).c_str());
    return line;
}
