#pragma once
// Print and Save as on both tabs: the pictures Image_Print and Image_SaveAs (Bible tab),
// Print_Cantique and SaveAs_Cantique (Canticle tab), and their handlers.
//
// What they work on arrives by slots: the passage shown (its heading is the default file name, with
// the version code), the hymn shown (its label, its book), the tab shown.

#include "bible/passagebuilder.h"
#include "output/savedtext.h"
#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "platform/richtextbox.h"
#include "platform/shell.h"
#include "session/session.h"

#include <QObject>

class QToolButton;
class QWidget;

namespace lumora::output {

inline const QString kPrintError = QStringLiteral("ERROR PRINTER");

struct OutputServices {
    platform::CommonDialog& dialogs;
    platform::Prompts& prompts;
    platform::Shell& shell;
};

class OutputActions final : public QObject {
    Q_OBJECT
  public:
    OutputActions(const session::Session& session, platform::RichTextBox& passageBox,
                  platform::RichTextBox& hymnBox, OutputServices services, QWidget* biblePage,
                  QWidget* canticlePage, QObject* parent = nullptr);

    QWidget* bibleButtons() const { return m_bibleButtons; }
    QWidget* canticleButtons() const { return m_canticleButtons; }

    // The path chosen in the save dialog for the proposed name, or "" when cancelled.
    QString AskSaveFileName(const QString& name);
    // Writes the text of the active tab's box to path (txt or rich text by the name). A write that
    // fails leaves the old file as it was and is told; false then.
    bool SaveShownText(const QString& path);
    // The text of the active tab's box as it would be saved.
    ShownText shownText() const;

  public slots:
    void onPassageShown(const bible::Passage& passage);
    void onHymnShown(const QString& entry);
    void onTabChanged(int tab);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void print(platform::RichTextBox& box);
    void save(const QString& defaultName);

    const session::Session& m_session;
    platform::RichTextBox& m_passageBox;
    platform::RichTextBox& m_hymnBox;
    OutputServices m_services;
    QWidget* m_bibleButtons;
    QWidget* m_canticleButtons;
    QToolButton* Image_Print;
    QToolButton* Image_SaveAs;
    QToolButton* Print_Cantique;
    QToolButton* SaveAs_Cantique;
    int m_tab = 0;
    QString m_heading = QStringLiteral("Versets en cours"); // Labe16
    QString m_versionCode;
    QString m_versionEntry; // "KJV - King James Version", the first line of the passage's header
    // Whether the passage's selection was made by the user's own hand (mouse or keys), not by the
    // following or a search: only that one is offered to print.
    bool m_userInput = false;
    bool m_handSelection = false;
    QString m_hymnLabel; // Label9
    QString m_hymnBook;
};

} // namespace lumora::output
