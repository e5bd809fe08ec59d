#include "app/accessibility.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace lumora::app {

namespace {

// objectName -> what the control is for.
const QHash<QString, QString>& roleNames() {
    static const QHash<QString, QString> names{
        {QStringLiteral("List_version"), QStringLiteral("Bible version")},
        {QStringLiteral("List_version_Order"), QStringLiteral("Order of the versions")},
        {QStringLiteral("List_livre"), QStringLiteral("Books")},
        {QStringLiteral("List_chapitre"), QStringLiteral("Chapters")},
        {QStringLiteral("List_verset"), QStringLiteral("First verse")},
        {QStringLiteral("List_verset_limite"), QStringLiteral("Last verse")},
        {QStringLiteral("Text_Passage"), QStringLiteral("Passage")},
        {QStringLiteral("Text_achercher"), QStringLiteral("Words to search in the Bible")},
        {QStringLiteral("ComboBox_passage_trouve"), QStringLiteral("Verses found")},
        {QStringLiteral("ListView1"), QStringLiteral("Reading marks")},
        {QStringLiteral("ComboBox_Favori_Bible"), QStringLiteral("Verse list")},
        {QStringLiteral("List_Favori_Bible"), QStringLiteral("Verses of the list")},
        {QStringLiteral("Cmd_Favori_Bible"), QStringLiteral("Add the passage to the verse list")},
        {QStringLiteral("Img_BibleNote"), QStringLiteral("Note of the verse list")},
        {QStringLiteral("ComboBox_Receuil"), QStringLiteral("Hymn book")},
        {QStringLiteral("ComboBox_theme1"), QStringLiteral("Theme")},
        {QStringLiteral("ComboBox_theme2"), QStringLiteral("Sub-theme")},
        {QStringLiteral("ComboBox_Chant"), QStringLiteral("Hymn")},
        {QStringLiteral("Text_Cantique"), QStringLiteral("Hymn words")},
        {QStringLiteral("Text_info"), QStringLiteral("Hymn details")},
        {QStringLiteral("Cantique_achercher"), QStringLiteral("Words to search in the hymns")},
        {QStringLiteral("ComboBox_cantique_trouve"), QStringLiteral("Hymns found")},
        {QStringLiteral("ComboBox_Favori_Canticle"), QStringLiteral("Playlist")},
        {QStringLiteral("List_Favori_Canticle"), QStringLiteral("Hymns of the playlist")},
        {QStringLiteral("List_InfoFavori_Canticle"), QStringLiteral("Entries of the playlist")},
        {QStringLiteral("Cmd_Favori_Canticle"), QStringLiteral("Add the hymn to the playlist")},
        {QStringLiteral("Img_CanticleNote"), QStringLiteral("Note of the playlist")},
        {QStringLiteral("Txt_Echantillon"), QStringLiteral("Captured position")},
        {QStringLiteral("up"), QStringLiteral("Up")},
        {QStringLiteral("down"), QStringLiteral("Down")},
    };
    return names;
}

// The editing pictures of both list panels: Img_<ACTION>_ListFavori<Bible|Canticle>.
QString panelPictureName(const QString& objectName) {
    static const QHash<QString, QString> actions{
        {QStringLiteral("New"), QStringLiteral("New list")},
        {QStringLiteral("RENAME"), QStringLiteral("Rename the list")},
        {QStringLiteral("ERASE"), QStringLiteral("Delete the list")},
        {QStringLiteral("EMPTY"), QStringLiteral("Empty the list")},
        {QStringLiteral("REMOVE"), QStringLiteral("Remove the entry")},
        {QStringLiteral("UP"), QStringLiteral("Move the entry up")},
        {QStringLiteral("DN"), QStringLiteral("Move the entry down")},
    };
    if (!objectName.startsWith(QLatin1String("Img_")) || !objectName.contains(QLatin1String("_ListFavori")))
        return {};
    return actions.value(objectName.section(QLatin1Char('_'), 1, 1));
}

// The ring lies over the window's controls, a few pixels outside the focused one.
class FocusRing final : public QWidget {
  public:
    explicit FocusRing(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
        window->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_target && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                                    event->type() == QEvent::Hide || event->type() == QEvent::Show))
            place();
        // The window lays its controls out again after its own resize.
        if (watched == parentWidget() && event->type() == QEvent::Resize)
            QMetaObject::invokeMethod(this, &FocusRing::place, Qt::QueuedConnection);
        return QWidget::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::Highlight), kWidth));
        p.drawRoundedRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0),
                          3, 3);
    }

  private:
    static constexpr int kWidth = 3;

    void follow(QWidget* now) {
        if (m_target) m_target->removeEventFilter(this);
        m_target = now && now->window() == parentWidget() && now != this ? now : nullptr;
        if (m_target) m_target->installEventFilter(this);
        place();
    }
    void place() {
        if (!m_target || !m_target->isVisible()) {
            hide();
            return;
        }
        // A hollow ring: the inside is left to the control, so a click or a caret stays visible.
        const QRect inner(m_target->mapTo(parentWidget(), QPoint(0, 0)), m_target->size());
        const QRect outer = inner.adjusted(-kWidth, -kWidth, kWidth, kWidth);
        setGeometry(outer);
        setMask(QRegion(rect()).subtracted(QRegion(QRect(kWidth, kWidth, inner.width(), inner.height()))));
        raise();
        show();
        update();
    }

    QPointer<QWidget> m_target;
};

} // namespace

void showFocusRing(QWidget* window) {
    if (!window->findChild<QWidget*>(QStringLiteral("focusRing"), Qt::FindDirectChildrenOnly))
        new FocusRing(window);
}

void nameControls(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->accessibleName().isEmpty()) continue;
        const QString name = w->objectName();
        QString role = roleNames().value(name);
        if (role.isEmpty()) role = panelPictureName(name);
        if (role.isEmpty()) {
            // A picture button without a caption says what its tooltip says.
            auto* button = qobject_cast<QAbstractButton*>(w);
            if (button && button->text().isEmpty()) role = button->toolTip();
        }
        if (!role.isEmpty()) w->setAccessibleName(role);
    }
}

} // namespace lumora::app
