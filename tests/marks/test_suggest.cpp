#include "marks/marksuggest.h"
#include "support/spokenchapter.h"

#include <cmath>
#include <random>

using namespace lumora::marks;
using namespace lumora::testing;

namespace {

constexpr int kRate = 16000;

// A stand-in for speech: a buzz whose loudness wobbles like syllables, with 50 ms dips (stop
// consonants) every 0.4 s, at `level` (peak amplitude).
void addSpeech(MonoAudio& a, double seconds, double level, std::mt19937& rng) {
    std::normal_distribution<float> n(0, 1);
    const auto count = std::size_t(seconds * kRate);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        const bool dip = std::fmod(t, 0.4) > 0.35;
        const double env = dip ? 0.02 : 0.6 + 0.4 * std::sin(2 * M_PI * 4 * t);
        a.samples.push_back(float(level * env * (0.5 * std::sin(2 * M_PI * 140 * t) + 0.2 * n(rng))));
    }
}

void addSilence(MonoAudio& a, double seconds) {
    a.samples.resize(a.samples.size() + std::size_t(seconds * kRate), 0);
}

void addNoise(MonoAudio& a, double level, std::mt19937& rng) {
    std::normal_distribution<float> n(0, 1);
    for (float& s : a.samples)
        s += float(level) * n(rng);
}

} // namespace

// the pause finder

TEST(MarksPauses, findsPausesAndIgnoresDipsAndClicks) {
    std::mt19937 rng(1);
    MonoAudio a{kRate, {}};
    addSilence(a, 0.7);
    addSpeech(a, 2.0, 0.5, rng);
    addSilence(a, 0.3);
    addSpeech(a, 1.0, 0.5, rng);
    addSilence(a, 0.08); // too short to be a pause
    addSpeech(a, 1.0, 0.5, rng);
    addSilence(a, 0.6);
    for (int i = 0; i < 160; ++i)
        a.samples[a.samples.size() - 3000 + std::size_t(i)] = 0.4f; // a 10 ms click
    addSilence(a, 0.6);
    addSpeech(a, 1.5, 0.5, rng);
    addSilence(a, 1.0);

    const SpeechMap m = findPauses(energyTrack(a));
    EXPECT_NEAR(m.onset, 0.7, 0.02);
    EXPECT_NEAR(m.end, 0.7 + 2 + 0.3 + 1 + 0.08 + 1 + 1.2 + 1.5, 0.03);
    ASSERT_EQ(m.pauses.size(), 2u);
    EXPECT_NEAR(m.pauses[0].start, 2.7, 0.03);
    EXPECT_NEAR(m.pauses[0].end, 3.0, 0.03);
    EXPECT_NEAR(m.pauses[1].length(), 1.2, 0.05);
}

TEST(MarksPauses, thresholdFollowsTheNoiseFloor) {
    for (const double noise : {0.0, 0.002, 0.01}) {
        std::mt19937 rng(2);
        MonoAudio a{kRate, {}};
        addSilence(a, 0.5);
        for (int i = 0; i < 6; ++i) {
            addSpeech(a, 1.2, 0.25, rng);
            addSilence(a, 0.25 + 0.2 * i);
        }
        addNoise(a, noise, rng);
        const SpeechMap m = findPauses(energyTrack(a));
        ASSERT_EQ(m.pauses.size(), 5u) << "noise " << noise;
        for (int i = 0; i < 5; ++i)
            EXPECT_NEAR(m.pauses[std::size_t(i)].length(), 0.25 + 0.2 * i, 0.06) << "noise " << noise;
    }
}

TEST(MarksPauses, thresholdRisesWithGrowingNoise) {
    std::mt19937 rng(3);
    MonoAudio a{kRate, {}};
    addSilence(a, 0.5);
    for (int i = 0; i < 12; ++i) {
        addSpeech(a, 2.5, 0.25, rng);
        addSilence(a, 0.4);
    }
    std::normal_distribution<float> n(0, 1);
    for (std::size_t i = 0; i < a.samples.size(); ++i)
        a.samples[i] += 0.01f * float(i) / float(a.samples.size()) * n(rng);
    const SpeechMap m = findPauses(energyTrack(a));
    ASSERT_EQ(m.pauses.size(), 11u);
    EXPECT_NEAR(m.pauses.back().length(), 0.4, 0.08);
}

// Takes joined with digital silence between them: the room heard at the head of each take, far
// above the silence, was taken for speech, and each verse's mark fell a third of a second early.
TEST(MarksPauses, takesJoinedWithSilenceResumeAtTheFirstWordNotAtTheRoom) {
    std::mt19937 rng(4);
    MonoAudio a{kRate, {}};
    std::vector<double> words;
    for (int take = 0; take < 5; ++take) {
        addSilence(a, 0.6);
        MonoAudio room{kRate, {}};
        addSilence(room, 0.35 + 0.05 * take);
        addNoise(room, 0.003, rng); // about -50 dB
        a.samples.insert(a.samples.end(), room.samples.begin(), room.samples.end());
        words.push_back(a.seconds());
        addSpeech(a, 1.5, 0.25, rng);
    }
    addSilence(a, 0.6);
    PauseOptions options;
    options.floorFromSound = true;
    const SpeechMap m = findPauses(energyTrack(a), options);
    EXPECT_NEAR(m.onset, words[0], 0.03);
    ASSERT_EQ(m.pauses.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(m.pauses[i].end, words[i + 1], 0.03) << "take " << i + 2;
}

TEST(MarksPauses, silenceAndEmptyAudioHaveNoSpeech) {
    MonoAudio a{kRate, {}};
    EXPECT_TRUE(findPauses(energyTrack(a)).pauses.empty());
    addSilence(a, 2);
    const SpeechMap m = findPauses(energyTrack(a));
    EXPECT_EQ(m.end, 0);
    EXPECT_TRUE(alignVerses(m, {5, 5}).empty());
}

// alignment

TEST(MarksAlign, textLengthsTellVerseEndsFromLongerPausesInsideVerses) {
    // Four verses read at 0.08 s per unit; verse 2 has two long inner pauses (0.7 s), longer than
    // the 0.3 s gaps between verses.
    const std::vector<double> w{40, 90, 30, 60};
    SpeechMap m;
    m.onset = 1.0;
    std::vector<double> truth;
    double t = 1.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        truth.push_back(t);
        double speech = w[i] * 0.08;
        if (i == 1) {
            m.pauses.push_back({t + speech / 3, t + speech / 3 + 0.7, 20});
            m.pauses.push_back({t + 2 * speech / 3 + 0.7, t + 2 * speech / 3 + 1.4, 20});
            speech += 1.4;
        }
        t += speech;
        if (i + 1 < w.size()) {
            m.pauses.push_back({t, t + 0.3, 20});
            t += 0.3;
        }
    }
    m.end = t;
    std::sort(m.pauses.begin(), m.pauses.end(),
              [](const Pause& a, const Pause& b) { return a.start < b.start; });
    const std::vector<double> starts = alignVerses(m, w);
    ASSERT_EQ(starts.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(starts[i], truth[i], 0.1) << "verse " << i + 1;
}

TEST(MarksAlign, fewerPausesThanVersesStillGivesOrderedStarts) {
    SpeechMap m;
    m.onset = 0.5;
    m.end = 20.5;
    m.pauses.push_back({10.0, 10.5, 20});
    const std::vector<double> starts = alignVerses(m, {10, 10, 10, 10});
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_NEAR(starts[0], 0.45, 0.01);
    for (std::size_t i = 1; i < 4; ++i)
        EXPECT_GT(starts[i], starts[i - 1] + 1.0);
    EXPECT_EQ(alignVerses(m, {7}), std::vector<double>{0.45});
}

TEST(MarksAlign, markupIsNotCountedAsRead) {
    EXPECT_DOUBLE_EQ(verseWeight("And God <H430> said"), verseWeight("And God said"));
}

// a real recording: espeak-ng's verses with pauses of every length between them, at 22050 Hz as
// recordings often are
TEST(MarksSuggest, spokenChapterGetsItsVerseStarts_andAFileThatIsNoRecordingAnError) {
    if (!haveSpeechTools()) GTEST_SKIP() << "espeak-ng and sox make the recording";
    TempFolder tmp;
    const QList<QByteArray> verses{
        "In the beginning God created the heaven and the earth.",
        "And the earth was without form, and void; and darkness was upon the face of the deep.",
        "And God said, Let there be light: and there was light.",
        "And God saw the light, that it was good: and God divided the light from the darkness.",
        "And God called the light Day, and the darkness he called Night. And the evening and the morning "
        "were the first day.",
        "And God said, Let there be a firmament in the midst of the waters.",
    };
    QStringList texts;
    for (const QByteArray& v : verses)
        texts << QString::fromUtf8(v);
    const auto c = speakChapter(tmp, "espeak:en-us", texts, {0.9, 0.3, 1.4, 0.5, 0.7, 0.5}, 0.6);
    ASSERT_TRUE(c);
    const QString wav = tmp.file("chapter-22050.wav");
    ASSERT_EQ(runProgram("sox", {c->wav, "-r", "22050", wav}).exitCode, 0);

    const SuggestOutcome s = suggestStartsFromFile(wav, verses);
    ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
    ASSERT_EQ(s.starts.size(), c->truth.size());
    for (std::size_t i = 0; i < c->truth.size(); ++i)
        EXPECT_NEAR(s.starts[i], c->truth[i], 0.25) << "verse " << i + 1;

    EXPECT_FALSE(suggestStartsFromFile(tmp.file("none.wav"), verses).error.isEmpty());
    writeBytes(tmp.file("bad.mp3"), "not a recording");
    EXPECT_FALSE(suggestStartsFromFile(tmp.file("bad.mp3"), verses).error.isEmpty());
}
