// The editor's test-drive and the level's proof: F5 drives the level, the
// goal offers medal times from the drive, and the drive's keys are kept as
// the proof that a save writes beside the level.
#include <SDL2/SDL_keycode.h>

#include "core/game_paths.h"
#include "editor/editor_model.h"
#include "editor/editor_paths.h"

void EditorModel::startTestDrive() {
    if (level.blocks.empty()) {
        setNotice("Nothing to drive: place a start block first.", true);
        return;
    }
    // Keys let go while driving never reach the editor: nothing may go on
    // panning or stay held once the drive is over.
    panUp = panDown = panRight = panLeft = false;
    control = false;
    backspaceHeld = false;
    drive.start(level);
}

void EditorModel::keepProof() {
    driveTimeMs = drive.goalTimeMs();
    proofKeys = drive.keys();
    proofTrack = drive.trackBytes();
    dialog = DIALOG_DRIVE_RESULT;
}

void EditorModel::driveResultKey(int sym, int character) {
    if (character == 'm' || character == 'M' || (character == 0 && sym == SDLK_m)) {
        setMedalTimesFromDrive();
    } else if (sym == SDLK_F5) {
        dialog = DIALOG_NONE;
        startTestDrive();
    } else if (sym == SDLK_RETURN || sym == SDLK_KP_ENTER || sym == SDLK_ESCAPE) {
        dialog = DIALOG_NONE;
    }
}

std::string EditorModel::driveMedalsText() const {
    Level times;
    setMedalTimesFrom(times, driveTimeMs);
    return "gold " + medalTimeText(times.goldTime) + ", silver " + medalTimeText(times.silverTime) + ", bronze " +
           medalTimeText(times.bronzeTime);
}

// One undo step, like typing the times into the medal dialog.
void EditorModel::setMedalTimesFromDrive() {
    beginEdit();
    setMedalTimesFrom(level, driveTimeMs);
    dialog = DIALOG_NONE;
    finishEditIfIdle();
    setNotice("Medals set: " + driveMedalsText() + ".", false);
}

ProofState EditorModel::proofState(const std::string& levelName) const {
    if (levelName.rfind("s-", 0) == 0 || levelName.rfind("ca-", 0) == 0) return ProofState::OtherRules;
    if (proofKeys.empty()) return ProofState::None;
    return trackBytesOf(level) == proofTrack ? ProofState::Current : ProofState::Stale;
}

// A level's own .keys counts as its proof only when it still drives it to
// the goal.
void EditorModel::loadProofOf(const std::string& levelPath) {
    proofKeys = readRecording(readableFile(proofPathFor(levelPath)));
    if (!proofKeys.empty() && !provesLevel(level, proofKeys)) proofKeys.clear();
    proofTrack = proofKeys.empty() ? std::vector<uint8_t>() : trackBytesOf(level);
}

std::string proofNote(ProofState state) {
    switch (state) {
        case ProofState::Current: return " with its proof.";
        case ProofState::None: return " (no proof yet: F5 drives it).";
        case ProofState::Stale: return " (proof stale: drive it again, F5).";
        case ProofState::OtherRules: break;
    }
    return "";
}

std::string proofLine(ProofState state) {
    switch (state) {
        case ProofState::Current: return "Proof: the keys of its test-drive, saved beside it.";
        case ProofState::None: return "No proof yet: drive it to the goal (F5) to get one.";
        case ProofState::Stale: return "The proof is stale: the level changed after its test-drive.";
        case ProofState::OtherRules: return "s- and ca- levels are proved with tavrelo-record.";
    }
    return "";
}
