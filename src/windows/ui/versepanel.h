#pragma once
// The clone's verse-by-verse face: one verse, or a group of verses that fits, as large as the
// screen allows, with a reference line below; or, covering whatever the clone shows, black or
// the logo picture.
//
// The steps are made once per passage and size: a step takes the verses after it while the
// group still fits at a readable size (the middle of the font range); a verse alone takes the
// largest size from the minimum to the maximum at which it fits. A second version's text goes
// under each verse (stacked) or beside it (side by side), each text in its own direction.

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace lumora::windows {

struct VerseCell {
    QString label;  // "3.16"
    QString text;   // the verse in the version shown
    QString second; // the same verse in the second version ("" when it has none or none is chosen)
    friend bool operator==(const VerseCell&, const VerseCell&) = default;
};

enum class Cover { None, Black, Logo };
enum class SecondLayout { Stacked, SideBySide };

struct VerseLook {
    QString family;
    QColor text = Qt::white;
    QColor back = Qt::black;
    int minPixels = 24;
    int maxPixels = 160;
};

// Columns of paragraphs, side by side in equal shares of a width.
using Columns = QList<QStringList>;

// The largest pixel size from `minPixels` to `maxPixels` at which every column, its paragraphs
// wrapped in its share of `area`'s width one under the other, fits in `area`'s height;
// `minPixels` when none does.
int fitPixelSize(const Columns& columns, const QString& family, QSize area, int minPixels, int maxPixels);

class VersePanel final : public QWidget {
    Q_OBJECT
  public:
    explicit VersePanel(QWidget* parent = nullptr);

    // `reference` begins the reference line ("John" gives "John 3:16-18").
    void setVerses(const QList<VerseCell>& verses, const QString& reference);
    void setLook(const VerseLook& look);
    void setSecondLayout(SecondLayout layout);
    void setCover(Cover cover);
    void setLogo(const QPixmap& logo);
    Cover cover() const { return m_cover; }
    const QPixmap& logo() const { return m_logo; }

    // The step holding the verse labelled `label`; false (nothing moved) when no verse has it.
    bool showVerse(const QString& label);
    // The next or previous step; false at either end.
    bool step(int direction);

    // What the panel shows now, for tests and the accessible description.
    int stepCount() const;
    int stepIndex() const { return m_step; }
    QStringList shownLabels() const;
    QString referenceLine() const;
    int pixelSize() const { return m_pixels; }
    const QList<VerseCell>& verses() const { return m_verses; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Step {
        int first = 0, last = 0;
    };
    QRect textArea() const;
    QRect referenceArea() const;
    Columns columnsOf(int first, int last) const;
    void makeSteps();
    void fit();

    QList<VerseCell> m_verses;
    QString m_reference;
    VerseLook m_look;
    SecondLayout m_layout = SecondLayout::Stacked;
    Cover m_cover = Cover::None;
    QPixmap m_logo;
    QList<Step> m_steps;
    int m_step = 0;
    int m_pixels = 0;
};

} // namespace lumora::windows
