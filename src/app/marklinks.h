#pragma once
// How the reading marks meet the rest of the Bible tab: the mark table follows the chapter and the
// passage shown; mark mode, the mute button and Label24 keep each other informed; Timer1 refreshes
// the live position; the Markage menu is on the menu bar while the Bible tab shows.

class QMenuBar;
class QTabWidget;
class QTimer;

namespace lumora::bible {
class BibleNavigation;
class BiblePlayer;
class BibleWindowLabel;
class PassageView;
class VerseFollower;
} // namespace lumora::bible
namespace lumora::marks {
class MarkEditor;
}

namespace lumora::app {

class BiblePage;

struct MarkParts {
    bible::BibleNavigation& navigation;
    bible::PassageView& passage;
    bible::VerseFollower& follower;
    bible::BiblePlayer& player;
    marks::MarkEditor& marks;
    bible::BibleWindowLabel& windowLabel;
    BiblePage& page;
    QTimer& timer; // Timer1
    QMenuBar& menuBar;
    QTabWidget& tabs;
};

void linkMarks(const MarkParts& p);

} // namespace lumora::app
