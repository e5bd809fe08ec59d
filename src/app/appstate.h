#pragma once
// The state the main window's areas share. One instance lives in FrmLumora and is handed by
// reference to the controllers that need it; area-only flags stay in their controllers.

#include <QColor>
#include <QString>

namespace lumora::app {

struct AppState {
    QString DataPath;  // data root, without a trailing separator

    // Jump request: the navigation lists restore these indexes while PendingJump is set.
    bool PendingJump = false;
    int TargetVersion = 0;
    int TargetBook = 0;
    int TargetChapter = 0;
    int TargetVerse = 0;
    qint16 TargetSpan = 0;

    bool BooksLoaded = false;
    bool ChaptersReady = false;
    bool ListViewPick = false;

    // Players and following.
    bool BibleAudioMuted = false;
    bool BibleReload = false;
    int MarkIndex = 0;
    qint32 LastPosition = 0;
    bool MarkMode = false;

    // Clone window.
    bool CloneShowsBible = false;
    bool CloneShowsHymn = false;

    // Favourite lists.
    QString FavBibleFolder;
    QString FavCanticleFolder;
    bool FavBibleComboReady = false;
    bool FavCanticleComboReady = false;

    // Zoom.
    int ZoomRequest = 100;
    int BibleZoom = 100;
    qint16 CanticleZoom = 100;

    // The style Text_Passage has when the window opens.
    QColor PassageBackColor;
    QColor PassageColor;
    QString PassageFontName;
    double PassageFontSize = 0;
    qint32 PassageAlignment = 0;  // 0 left, 1 right, 2 centre
    bool PassageBold = false;
    bool PassageItalic = false;
    bool PassageUnderline = false;

    // Hymns.
    QString CurrentBook;
    QString CurrentHymnEntry;
};

} // namespace lumora::app
