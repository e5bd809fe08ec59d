#pragma once
// The small caption buttons beside the passage and hymn headers: Label7 and Label14 widen and
// narrow the passage and the hymn words ("<---->" while narrow, "--><--" while wide); Label15 and
// Label17 ("POLICE") open the font and colour dialog.

#include <QObject>

class QWidget;

namespace lumora::windows {

class ClickLabel;

inline constexpr const char* kNarrowCaption = "<---->";
inline constexpr const char* kWideCaption = "--><--";

class LayoutLabels final : public QObject {
    Q_OBJECT
  public:
    // Label7 and Label15 under `biblePage`, Label14 and Label17 under `canticlePage`.
    LayoutLabels(QWidget* biblePage, QWidget* canticlePage, QObject* parent = nullptr);

    QWidget* bibleLabels() const { return m_bible; }
    QWidget* canticleLabels() const { return m_canticle; }
    bool isBibleWide() const { return m_bibleWide; }
    bool isCanticleWide() const { return m_canticleWide; }

  public slots:
    void toggleBibleWidth();
    void toggleCanticleWidth();

  signals:
    // The passage (Bible tab) or the hymn words (Canticle tab) became wide or narrow.
    void bibleTextWidened(bool wide);
    void canticleTextWidened(bool wide);
    void fontDialogWanted();

  private:
    // Label7 and Label14 say what their next click does.
    void showWidthTips();
    QWidget* m_bible;
    QWidget* m_canticle;
    ClickLabel* Label7;
    ClickLabel* Label14;
    ClickLabel* Label15;
    ClickLabel* Label17;
    bool m_bibleWide = false;
    bool m_canticleWide = false;
};

} // namespace lumora::windows
