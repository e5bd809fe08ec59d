#include "common/playback.h"

namespace lumora::playback {

namespace {

void clearModes(State& s) {
    s.continuousOn = false;
    s.continuous = kPictureContinuousOff;
    s.repeatOn = false;
    s.repeat = kPictureRepeatOff;
}

// The Stop operation. `stopPlayer` is false when the player itself has just reported that it
// stopped: stopping it again would report "Stopped" once more and run this again without end.
void stopOperation(Kind kind, State& s, Actions& out, bool stopPlayer) {
    if (kind == Kind::Hymn) {
        clearModes(s);
    } else if (s.repeatOn || s.continuousOn) {
        clearModes(s);
    }
    s.stopEnabled = false;
    s.stop = kPictureStopIdle;
    s.playPause = kPicturePlay;
    if (stopPlayer) out.push_back(Action::StopPlayer);
    if (kind == Kind::Bible) s.reload = true;
}

void playPause(Kind kind, State& s, const Context& c, Actions& out) {
    // Play unavailable (a chapter without a recording): a key or a remote click does what a click on
    // the disabled button does, nothing.
    if (s.soundOff || !s.playEnabled) return;
    if (s.playPause == kPicturePlay) {
        s.playPause = kPicturePause;
        if (kind == Kind::Bible) {
            if (s.reload) {
                s.reload = false;
                out.push_back(Action::ResetFollowing);
                out.push_back(Action::ReloadChapter);
            } else {
                out.push_back(Action::Play);
            }
        } else if (c.hasSource) {
            out.push_back(Action::Play);
        } else {
            s.playPause = kPicturePlay; // nothing to play
        }
    } else {
        s.playPause = kPicturePlay;
        out.push_back(Action::Pause);
    }
    s.stop = kPictureStopActive;
    s.stopEnabled = true;
}

void toggleRepeat(State& s) {
    s.continuousOn = false;
    s.continuous = kPictureContinuousOff;
    s.repeatOn = !s.repeatOn;
    s.repeat = s.repeatOn ? kPictureRepeatOn : kPictureRepeatOff;
}

void toggleContinuous(State& s) {
    s.repeatOn = false;
    s.repeat = kPictureRepeatOff;
    s.continuousOn = !s.continuousOn;
    s.continuous = s.continuousOn ? kPictureContinuousOn : kPictureContinuousOff;
}

void toggleSound(Kind kind, State& s, const Context& c, Actions& out) {
    if (s.soundOff) {
        if (kind == Kind::Bible && c.window2) out.push_back(Action::ToggleWindow2);
        s.soundOff = false;
        s.sound = kPictureSoundOn;
        if (kind == Kind::Bible) {
            out.push_back(Action::ResetFollowing);
            out.push_back(Action::MarkWidgetsBack);
        }
        return;
    }
    if (kind == Kind::Bible && c.markMode) out.push_back(Action::ShowWindow2);
    s.soundOff = true;
    s.sound = kPictureSoundOff;
    stopOperation(kind, s, out, true);
    if (kind == Kind::Bible) out.push_back(Action::MarkWidgetsAway);
}

void hymnEnded(State& s, const Context& c, Actions& out) {
    if (!isStoppedStatus(c.status)) return;
    const bool wasPlaying = s.playPause == kPicturePause;
    s.playPause = kPicturePlay;
    if (c.ownStop) return; // a load or a search stopped the player: the modes wait for a real end
    if (c.failed) {
        if (!wasPlaying) return;
        if (!c.failedAgain) out.push_back(Action::TellFailure);
        if (!s.continuousOn || c.failedAgain) {
            stopOperation(Kind::Hymn, s, out, false);
            return;
        }
    }
    if (s.repeatOn && !s.continuousOn) {
        // The same hymn again; the button shows pause, as it does whenever the hymn plays.
        s.playPause = kPicturePause;
        out.push_back(Action::Play);
    } else if (s.continuousOn && !s.repeatOn) {
        out.push_back(Action::Advance);
        out.push_back(Action::CloneFollow);
        out.push_back(Action::RunPlayPause);
        out.push_back(Action::HoldThreeSeconds);
    }
}

void passageEnded(State& s, const Context& c, Actions& out) {
    s.playerStatus = c.status;
    if (!isStoppedStatus(c.status)) return;
    if (c.failed) {
        const bool wasPlaying = s.playPause == kPicturePause;
        if (wasPlaying && !c.failedAgain) out.push_back(Action::TellFailure);
        if (!wasPlaying || !s.continuousOn || c.failedAgain) {
            stopOperation(Kind::Bible, s, out, false);
            return;
        }
    }
    // Where playback stays stopped with the modes kept, the buttons say so: play shows, and the next
    // Play starts the passage again.
    const auto staysStopped = [&s] {
        s.playPause = kPicturePlay;
        s.reload = true;
    };
    if (!s.continuousOn && !s.repeatOn) {
        stopOperation(Kind::Bible, s, out, false);
    } else if (s.repeatOn) {
        if (c.hasMarks)
            out.push_back(Action::ReplayFromFirstMark);
        else
            staysStopped();
    } else {
        if (!c.endVerseIsLast) {
            out.push_back(Action::NextPassage);
        } else if (!c.chapterIsLast) {
            out.push_back(Action::NextChapter);
        } else {
            staysStopped(); // the end of the book
            return;
        }
        out.push_back(Action::ReloadChapter);
        out.push_back(Action::CloneFollow);
        out.push_back(Action::HoldThreeSeconds);
    }
}

} // namespace

bool isStoppedStatus(const QString& status) {
    return status == QStringLiteral("Stopped") || status == QString::fromUtf8("Arr\xC3\xAAt\xC3\xA9");
}

Actions step(Kind kind, State& s, Event event, const Context& c) {
    Actions out;
    switch (event) {
    case Event::PlayPause:
        playPause(kind, s, c, out);
        break;
    case Event::Stop:
        stopOperation(kind, s, out, true);
        break;
    case Event::ToggleRepeat:
        toggleRepeat(s);
        break;
    case Event::ToggleContinuous:
        toggleContinuous(s);
        break;
    case Event::ToggleSound:
        toggleSound(kind, s, c, out);
        break;
    case Event::StatusChanged:
        if (kind == Kind::Hymn)
            hymnEnded(s, c, out);
        else
            passageEnded(s, c, out);
        break;
    case Event::PickStarted:
        if (kind == Kind::Hymn) s.playPause = kPicturePlay;
        break;
    case Event::HymnLoaded:
        if (kind != Kind::Hymn) break;
        out.push_back(Action::DisablePlayer);
        s.playPause = kPicturePlay;
        s.stop = kPictureStopActive;
        if (c.fileExists) {
            out.push_back(Action::EnablePlayer);
            out.push_back(Action::LoadSource);
            out.push_back(Action::StopPlayer);
        } else {
            out.push_back(Action::ClearSource);
        }
        break;
    case Event::CmdOk:
        if (kind != Kind::Bible) break;
        s.playEnabled = true;
        s.stopEnabled = true;
        if (s.soundOff) break;
        s.reload = false;
        out.push_back(Action::LoadChapterAudio);
        break;
    case Event::ChapterLoaded:
        if (kind != Kind::Bible) break;
        if (c.fileExists) {
            s.playPause = kPicturePause;
            s.stop = kPictureStopActive;
            s.playEnabled = true;
            s.stopEnabled = true;
            s.modesEnabled = true;
            out.push_back(Action::ReadingIndicatorOn);
        } else {
            s.playPause = kPicturePlay;
            s.stop = kPictureStopIdle;
            clearModes(s); // the pictures say off, so the modes are off: they never disagree
            s.playEnabled = false;
            s.stopEnabled = false;
            out.push_back(Action::ClosePlayer);
            out.push_back(Action::ReadingIndicatorOff);
        }
        break;
    }
    return out;
}

} // namespace lumora::playback
