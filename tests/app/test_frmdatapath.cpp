#include "app/frmdatapath.h"

#include "support/testdata.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include <memory>

using namespace lumora::app;
using namespace lumora::testing;

// A keyboard user could not tell which button had the focus: the style's mark was faint, Tab
// went from VALIDER to ANNULER before "Build the demo here", so a Space meant for the demo
// cancelled the chooser, and passing through the folders replaced the folder shown by the first.
TEST(FrmDataPath,
     prefillsThePlatformFolder_refusesAnUnusableOne_storesAUsableOne_andRingsEachButtonInTabOrder) {
    TempFolder tmp;
    const lumora::session::DataPathLocations where{tmp.file("Lumora.path"), tmp.file("share/LMR/Lumora")};
    writeBytes(where.pathFile, "/one\r\n/two\r\n");
    auto dlg = std::make_unique<FrmDataPath>(where);
    dlg->setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_EQ(QDir::fromNativeSeparators(dlg->DataPath->text()), where.defaultFolder) << "not C:\\Lumora";
    for (QWidget* w : std::initializer_list<QWidget*>{dlg->DataPath, dlg->DirList, dlg->Cmd_ValidDataPath})
        EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
    EXPECT_TRUE(dlg->DataPath->toolTip().contains("Bible")) << "names the folder to look for";
    EXPECT_TRUE(dlg->DataPath->toolTip().contains("Version.txt"));

    dlg->show();
    dlg->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), dlg.get());
    auto* ring = dlg->findChild<QWidget*>("focusRing");
    ASSERT_TRUE(ring);
    dlg->DataPath->setText(tmp.file("mine"));
    dlg->DirList->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(dlg->DataPath->text(), QDir::toNativeSeparators(tmp.file("mine")));
    EXPECT_EQ(dlg->Cmd_ValidDataPath->nextInFocusChain(), dlg->Cmd_Demo);
    EXPECT_EQ(dlg->Cmd_Demo->nextInFocusChain(), dlg->Cmd_Annule);
    for (QWidget* button : {static_cast<QWidget*>(dlg->Cmd_Demo), static_cast<QWidget*>(dlg->Cmd_Annule)}) {
        button->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_TRUE(ring->isVisible());
        EXPECT_TRUE(ring->geometry().contains(QRect(button->mapTo(dlg.get(), QPoint(0, 0)), button->size())));
    }

    dlg->DataPath->setText(tmp.file("empty"));
    dlg->Cmd_ValidDataPath->click();
    EXPECT_EQ(dlg->Label1->text(), "Chemin d'accès incorrect (INCORRECT PATH)");
    const QString errorStyle = dlg->Label1->styleSheet();
    EXPECT_TRUE(dlg->Cmd_ValidDataPath->isEnabled());
    EXPECT_EQ(readBytes(where.pathFile), "/one\r\n/two\r\n");
    dlg->DataPath->setText(tmp.file("still-empty"));
    EXPECT_EQ(dlg->Label1->text(), "Chemin d'accès incorrect (INCORRECT PATH)")
        << "kept while the folder is unusable";
    writeBytes(tmp.file("good/Bible/Version.txt"), "A - a\r\n");
    dlg->DataPath->setText(QDir::toNativeSeparators(tmp.file("good")));
    EXPECT_EQ(dlg->Label1->text(), QString());
    EXPECT_TRUE(dlg->Cmd_ValidDataPath->isEnabled());

    dlg->Cmd_ValidDataPath->click();
    EXPECT_EQ(dlg->Label1->text(), "Relancer Lumora (CLOSE and REBOOT)");
    EXPECT_NE(dlg->Label1->styleSheet(), errorStyle);
    EXPECT_FALSE(dlg->Cmd_ValidDataPath->isEnabled());
    EXPECT_FALSE(dlg->Cmd_Annule->isEnabled());
    EXPECT_EQ(readBytes(where.pathFile), QFile::encodeName(tmp.file("good")) + "\r\n");
}

// The first start without data opened the chooser with nothing to choose: the demo is built from
// it, in the folder shown, by the code of `lumora-cli demo`, and becomes the data folder.
TEST(FrmDataPathDemo, buildsTheDemoInTheFolderShownAndTakesIt) {
    TempFolder tmp;
    const lumora::session::DataPathLocations where{tmp.file("Lumora.path"), tmp.file("share/LMR/Lumora")};
    writeBytes(where.pathFile, "/gone\r\n");
    auto dlg = std::make_unique<FrmDataPath>(where);
    dlg->setAttribute(Qt::WA_DeleteOnClose, false);
    ASSERT_TRUE(dlg->Cmd_Demo);
    EXPECT_FALSE(dlg->Cmd_Demo->toolTip().isEmpty());

    // A folder of someone else's files is refused, and nothing is written.
    writeBytes(tmp.file("mine/letter.txt"), "private");
    dlg->DataPath->setText(tmp.file("mine"));
    dlg->Cmd_Demo->click();
    EXPECT_TRUE(dlg->Label1->text().startsWith("The demo could not be built there"))
        << dlg->Label1->text().toStdString();
    EXPECT_EQ(readBytes(where.pathFile), "/gone\r\n");
    EXPECT_EQ(QDir(tmp.file("mine")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"letter.txt"});

    dlg->DataPath->setText(QDir::toNativeSeparators(where.defaultFolder));
    dlg->Cmd_Demo->click();
    EXPECT_EQ(dlg->Label1->text(), "Relancer Lumora (CLOSE and REBOOT)");
    EXPECT_TRUE(lumora::session::isUsableDataFolder(where.defaultFolder));
    EXPECT_EQ(readBytes(where.pathFile), QFile::encodeName(where.defaultFolder) + "\r\n");
    EXPECT_FALSE(dlg->Cmd_Demo->isEnabled());
}
