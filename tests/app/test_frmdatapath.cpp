#include "app/frmdatapath.h"

#include "support/testdata.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace lumora::app;
using namespace lumora::testing;

TEST(FrmDataPath, invalidFolderShowsErrorAndValidOneIsStoredAsOnlyLine) {
    TempFolder tmp;
    const lumora::session::DataPathLocations where{tmp.file("Lumora.path"), tmp.file("x")};
    writeBytes(where.pathFile, "/one\r\n/two\r\n");
    auto* dlg = new FrmDataPath(where);
    dlg->DataPath->setText(tmp.file("empty"));
    dlg->Cmd_ValidDataPath->click();
    EXPECT_EQ(dlg->Label1->text(), "Chemin d'accès incorrect (INCORRECT PATH)");
    const QString errorStyle = dlg->Label1->styleSheet();
    EXPECT_TRUE(dlg->Cmd_ValidDataPath->isEnabled());
    EXPECT_EQ(readBytes(where.pathFile), "/one\r\n/two\r\n");

    writeBytes(tmp.file("good/Bible/Version.txt"), "A - a\r\n");
    dlg->DataPath->setText(tmp.file("good"));
    dlg->Cmd_ValidDataPath->click();
    EXPECT_EQ(dlg->Label1->text(), "Relancer Lumora (CLOSE and REBOOT)");
    EXPECT_NE(dlg->Label1->styleSheet(), errorStyle);
    EXPECT_FALSE(dlg->Cmd_ValidDataPath->isEnabled());
    EXPECT_FALSE(dlg->Cmd_Annule->isEnabled());
    EXPECT_EQ(readBytes(where.pathFile), QFile::encodeName(tmp.file("good")) + "\r\n");
    delete dlg;
}
