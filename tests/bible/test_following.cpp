// Following the recording: one step at a time, on a passage's marks.

#include "bible/following.h"

#include <gtest/gtest.h>

using namespace lumora::bible;

namespace {

struct Follow {
    QByteArrayList marks{"1.1\t0", "1.2\t5,2", "1.3\t11"};
    QString text = "1.1   In the beginning\n\n1.2   And the earth\n\n1.3   And God said\n";
    FollowState state;
    bool endIsLast = true, keepAtTop = false, markMode = false, selected = true;
    FollowResult at(double p) {
        FollowInput in;
        in.position = p;
        in.marks = &marks;
        in.markSelected = selected;
        in.endVerseIsLast = endIsLast;
        const QHash<QString, int> starts = lumora::session::verseLabelStarts(
            text, {QStringLiteral("1.1"), QStringLiteral("1.2"), QStringLiteral("1.3")});
        in.labelStarts = &starts;
        in.keepAtTop = keepAtTop;
        in.markMode = markMode;
        return FollowStep(state, in);
    }
    int selectedAt(double p) {
        const FollowResult r = at(p);
        return r.select ? r.select->first : -1;
    }
    // One step at `p`: the start of the selection made (-1 for none), and the mark reached.
    std::pair<int, int> stepAt(double p) { return {selectedAt(p), state.MarkIndex}; }
};

} // namespace

TEST(Following, eachStepReachesOneMarkAndSelectsTheVerseBeingHeard) {
    Follow f;
    const int verse1 = 0, verse2 = f.text.indexOf("1.2");
    // At 6 s: verse 1 is passed over without a selection once verse 2 is due, then verse 2 is selected.
    EXPECT_EQ(f.stepAt(6), std::pair(-1, 1)) << "verse 1's time is over";
    EXPECT_EQ(f.stepAt(6), std::pair(verse2, 2));
    EXPECT_EQ(f.state.LastPosition, 6);
    EXPECT_EQ(f.stepAt(6), std::pair(-1, 2)) << "the third mark is not reached";

    Follow g;
    EXPECT_EQ(g.selectedAt(0.4), verse1);
    EXPECT_TRUE(g.at(0.6).select == std::nullopt);
}

TEST(Following, movingBackGoesOneMarkBackPerStep) {
    Follow f;
    f.at(1);
    f.at(6);
    f.at(12);
    ASSERT_EQ(f.state.MarkIndex, 3);
    ASSERT_EQ(f.state.LastPosition, 12);
    // The user moved the audio back to 6 s: one mark back per step until verse 2 is current again.
    EXPECT_EQ(f.stepAt(6), std::pair(-1, 2));
    EXPECT_EQ(f.stepAt(6), std::pair(int(f.text.indexOf("1.2")), 2));
    EXPECT_EQ(f.state.LastPosition, 6);
    EXPECT_EQ(f.stepAt(6), std::pair(-1, 2)) << "steady again";

    Follow g;
    g.state = {0, 12};
    g.at(2);
    EXPECT_EQ(g.state.MarkIndex, 0) << "never below the first mark";
}

TEST(Following, lastMarkHoldsTo1000SecondsAndStopsOnlyAPassageEndingBeforeTheChapter) {
    Follow f;
    f.at(1);
    f.at(6);
    EXPECT_EQ(f.selectedAt(900), f.text.indexOf("1.3")) << "the next time after the last mark is 1000 s";
    EXPECT_FALSE(f.at(950).stopPlayer) << "the passage reaches the chapter's end: the audio plays on";
    f.endIsLast = false;
    EXPECT_TRUE(f.at(950).stopPlayer);
}

TEST(Following, keepAtTopPutsTheCaretAtTheEndFirst_markModeLeavesTheSelection_noSelectedMarkNothing) {
    Follow f;
    f.keepAtTop = true;
    const FollowResult r = f.at(0.5);
    EXPECT_TRUE(r.caretToEnd);
    EXPECT_TRUE(r.select.has_value());
    EXPECT_TRUE(r.pause);

    Follow m;
    m.markMode = true;
    const FollowResult s = m.at(0.5);
    EXPECT_FALSE(s.select.has_value());
    EXPECT_FALSE(s.pause);
    EXPECT_EQ(m.state.MarkIndex, 1) << "mark mode still advances";

    Follow n;
    n.selected = false;
    EXPECT_EQ(n.stepAt(3), std::pair(-1, 0));
    EXPECT_EQ(markSeconds("1.2\t5,25"), 5.25);
    EXPECT_EQ(markSeconds("no tab"), 0);
}

// partly marked chapters: a verse without a mark ("0", or "0,00000" past verse 1) is no mark
namespace {

// Chapter 1 of `marks.size()` verses with these stored marks; the passage is verses first..last.
Passage passageOf(const std::vector<const char*>& marks, int first, int last) {
    Passage p;
    p.chapterEndFound = true;
    p.endsBeforeChapterEnd = last < static_cast<int>(marks.size());
    for (int v = 1; v <= static_cast<int>(marks.size()); ++v) {
        p.VersePositions[static_cast<size_t>(v)] = marks[static_cast<size_t>(v - 1)];
        const bool inPassage = v >= first && v <= last + (p.endsBeforeChapterEnd ? 1 : 0);
        if (inPassage && QByteArray(marks[static_cast<size_t>(v - 1)]) != "0")
            p.marks << "1." + QByteArray::number(v) + '\t' + marks[static_cast<size_t>(v - 1)];
    }
    p.endRow = p.endsBeforeChapterEnd ? last + 1 : last;
    return p;
}

} // namespace

TEST(Following, followedMarksStopAtTheNextMarkedVerse_orPlayToTheEnd) {
    const struct {
        const char* name;
        std::vector<const char*> marks;
        int first, last;
        QByteArrayList followed;
        bool stopsBeforeEnd;
    } cases[] = {
        // clang-format off
        {"marked, stops at the next verse", {"0,00000", "4", "9", "14"}, 1, 2,
         {"1.1\t0,00000", "1.2\t4", "1.3\t9"}, true},
        {"whole chapter, plays to the end", {"0,00000", "4", "9"}, 1, 3,
         {"1.1\t0,00000", "1.2\t4", "1.3\t9"}, false},
        // The verse after the passage had "0": its last verse was cut 50 ms after it began.
        {"next verse unmarked, stops at the next marked verse", {"0,00000", "4", "0", "14"}, 1, 2,
         {"1.1\t0,00000", "1.2\t4", "\t14"}, true},
        {"no marked verse after, plays to the end", {"0,00000", "4", "0", "0"}, 1, 2,
         {"1.1\t0,00000", "1.2\t4"}, false},
        // A chapter not marked yet ("0,00000" throughout) stopped within 2 s, and so looped in repeat.
        {"chapter not marked yet, plays to the end", {"0,00000", "0,00000", "0,00000", "0,00000"}, 1, 2,
         {"1.1\t0,00000"}, false},
        {"passage without a mark of its own, plays from the start to the end", {"0,00000", "0", "0", "12"},
         2, 2, {}, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FollowedMarks got = followedMarks(passageOf(c.marks, c.first, c.last));
        EXPECT_EQ(got.marks, c.followed);
        EXPECT_EQ(got.stopsBeforeEnd, c.stopsBeforeEnd);
    }
}
