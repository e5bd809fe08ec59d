#pragma once
// The "Bibles" menu: "Add a Bible…" (a file, a zip, or a folder of USFM or USX files, picked as
// any one of its files) and "Remove a version…" (the version shown, after a confirmation; its
// folder is moved aside, never deleted). versionsChanged() asks for the version list anew.

#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "session/session.h"

#include <QObject>
#include <QString>

class QMenu;
class QWidget;

namespace lumora::import {

class AddBibleDialog;

class BiblesMenu final : public QObject {
    Q_OBJECT
  public:
    BiblesMenu(const session::Session& session, platform::CommonDialog& dialogs, platform::Prompts& prompts,
               QWidget* window, QObject* parent = nullptr);

    QMenu* menu() const { return m_menu; }

    // The path the dialog reads for a picked file: the file's folder when the file is one book of
    // a USFM or USX Bible whose other books lie beside it; else the file.
    static QString sourceFor(const QString& picked);

  signals:
    void versionsChanged();
    // The dialog was opened (tests drive it from here).
    void dialogOpened(lumora::import::AddBibleDialog* dialog);

  public slots:
    void onAddBible();
    void onRemoveVersion();
    // The code of the version on display.
    void setShownVersion(const QByteArray& code) { m_shownVersion = code; }

  private:
    const session::Session& m_session;
    platform::CommonDialog& m_dialogs;
    platform::Prompts& m_prompts;
    QWidget* m_window;
    QMenu* m_menu;
    QByteArray m_shownVersion;
};

} // namespace lumora::import
