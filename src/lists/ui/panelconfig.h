#pragma once
// What tells a verse-list panel from a playlist panel: object names, texts and its folder. FavouritePanel is
// one class configured by one of these two tables.

#include <QString>

#include <array>

namespace lumora::lists {

enum class ListKind { VerseList, PlayList };

struct EditButtonConfig {
    QString objectName;
    QString toolTip;
    QString caption;
    QString captionName; // the label under the picture
};

struct PanelConfig {
    ListKind kind;
    QString folder; // FavBibleFolder's place under DataPath, as path parts joined by '/'
    QString comboName, listName, infoListName, addName, frameName, checkName, noteName;
    // New, Rename, Erase, Empty, Remove, Up, Down.
    std::array<EditButtonConfig, 7> buttons;
    QString renameCaption, deleteQuestion, emptyWarning, emptyTitle, moveUpError, moveDownError;
    QString addToolTip; // what the add button adds

    static const PanelConfig& verseList();
    static const PanelConfig& playList();
};

enum EditButton { NewButton, RenameButton, EraseButton, EmptyButton, RemoveButton, UpButton, DownButton };

} // namespace lumora::lists
