#include "lists/ui/panelconfig.h"

namespace lumora::lists {

namespace {
std::array<EditButtonConfig, 7> makeButtons(const QString& suffix, const std::array<const char*, 7>& labels) {
    const std::array<const char*, 7> prefixes{
        "Img_New_ListFavori",    "Img_RENAME_ListFavori", "Img_ERASE_ListFavori", "Img_EMPTY_ListFavori",
        "Img_REMOVE_ListFavori", "Img_UP_ListFavori",     "Img_DN_ListFavori"};
    const std::array<const char*, 7> tips{" Create New List ",
                                          " Rename Current List ",
                                          " Delete Current List ",
                                          "  Remove All Verse From List ",
                                          " Remove Selected Verse From List ",
                                          " Move One Position Up ",
                                          " Move One Position Down "};
    const std::array<const char*, 7> captions{"New", "Rename", "Erase", "Empty", "Remove", "Up", "Down"};
    std::array<EditButtonConfig, 7> out;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = {QLatin1String(prefixes[i]) + suffix, QLatin1String(tips[i]), QLatin1String(captions[i]),
                  QLatin1String(labels[i])};
    return out;
}
} // namespace

const PanelConfig& PanelConfig::verseList() {
    static const PanelConfig c{
        ListKind::VerseList,
        QStringLiteral("Bible/Favori"),
        QStringLiteral("ComboBox_Favori_Bible"),
        QStringLiteral("List_Favori_Bible"),
        QString(),
        QStringLiteral("Cmd_Favori_Bible"),
        QStringLiteral("Frame_Favori_Bible"),
        QStringLiteral("Check_Favori_Bible"),
        QStringLiteral("Img_BibleNote"),
        makeButtons(QStringLiteral("Bible"),
                    {"Label28", "Label27", "Label29", "Label33", "Label32", "Label30", "Label31"}),
        QStringLiteral(" Rename Verse List"),
        QStringLiteral("Do you really want to delete the current list ?"),
        QStringLiteral("Warning: This will remove ALL entries from the current list"),
        QStringLiteral("Empty Verse List"),
        QStringLiteral("E R R O R  UP"),
        QStringLiteral("E R R O R DOWN"),
        QStringLiteral("Add the passage on display to the list"),
    };
    return c;
}

const PanelConfig& PanelConfig::playList() {
    static const PanelConfig c{
        ListKind::PlayList,
        QStringLiteral("Cantiques/Favori"),
        QStringLiteral("ComboBox_Favori_Canticle"),
        QStringLiteral("List_Favori_Canticle"),
        QStringLiteral("List_InfoFavori_Canticle"),
        QStringLiteral("Cmd_Favori_Canticle"),
        QStringLiteral("Frame_Favori_Canticle"),
        QStringLiteral("Check_Favori_Canticle"),
        QStringLiteral("Img_CanticleNote"),
        makeButtons(QStringLiteral("Canticle"),
                    {"Label40", "Label39", "Label38", "Label34", "Label35", "Label37", "Label36"}),
        QStringLiteral(" Rename PlayList"),
        QStringLiteral("Do you really want to delete the current Playlist ?"),
        QStringLiteral("Warning: This will remove ALL entries from the current Playlist"),
        QStringLiteral("Empty PlayList"),
        QStringLiteral("E R R O R  UP"),
        QStringLiteral("E R R O R  DOWN"),
        QStringLiteral("Add the hymn on display to the playlist"),
    };
    return c;
}

} // namespace lumora::lists
