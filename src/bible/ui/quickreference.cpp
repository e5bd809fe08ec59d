#include "bible/ui/quickreference.h"

#include "bible/reference.h"
#include "bible/ui/biblenavigation.h"
#include "common/text.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStringListModel>
#include <QVBoxLayout>

namespace lumora::bible {

QuickReference::QuickReference(BibleNavigation& navigation, QWidget* parent)
    : QObject(parent), m_navigation(navigation) {
    setObjectName(QStringLiteral("quickReference"));
    m_widget = new QWidget(parent);
    m_widget->setObjectName(QStringLiteral("quickReferenceRow"));
    Txt_Reference = new QLineEdit(m_widget);
    Txt_Reference->setObjectName(QStringLiteral("Txt_Reference"));
    Txt_Reference->setPlaceholderText(QStringLiteral("Go to: John 3:16"));
    Txt_Reference->setToolTip(QStringLiteral("Go to a reference (Ctrl+L): Enter selects it, Shift+Enter also "
                                             "shows it on the clone; Up and Down recall the last ones."));
    Txt_Reference->setAccessibleName(QStringLiteral("Go to reference"));
    Lbl_Reference = new QLabel(m_widget);
    Lbl_Reference->setObjectName(QStringLiteral("Lbl_Reference"));
    Lbl_Reference->setAccessibleName(QStringLiteral("Reference not found"));
    Lbl_Reference->setWordWrap(true);
    Lbl_Reference->setStyleSheet(QStringLiteral("color: #b00000"));
    Lbl_Reference->hide();
    auto* layout = new QVBoxLayout(m_widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(Txt_Reference);
    layout->addWidget(Lbl_Reference);

    m_names = new QStringListModel(this);
    m_completer = new QCompleter(m_names, this);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchStartsWith);
    Txt_Reference->setCompleter(m_completer);
    Txt_Reference->installEventFilter(this);
    connect(Txt_Reference, &QLineEdit::textEdited, this, [this] {
        m_recalled = -1;
        Lbl_Reference->hide();
    });
    connect(&m_navigation, &BibleNavigation::versionLoaded, this, &QuickReference::onVersionLoaded);
    onVersionLoaded();
}

QString QuickReference::answer() const {
    return Lbl_Reference->isHidden() ? QString() : Lbl_Reference->text();
}

QStringList QuickReference::completions() const {
    return m_names->stringList();
}

void QuickReference::installShortcut(QWidget* page) {
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), page);
    connect(key, &QShortcut::activated, this, [this] {
        Txt_Reference->setFocus(Qt::ShortcutFocusReason);
        Txt_Reference->selectAll();
    });
}

void QuickReference::onVersionLoaded() {
    // "43 Jean" is offered as "Jean": the number is the list's, not the name people type.
    QStringList names;
    for (const Book& b : m_navigation.tables().books) {
        const QString name = displayedBookName(b.name);
        if (!name.isEmpty() && !names.contains(name)) names << name;
    }
    m_names->setStringList(names);
}

bool QuickReference::open(const QString& text, bool toClone) {
    const QString versionEntry = m_navigation.selection().versionEntry;
    const QByteArray code = common::Utf8Encode(common::VersionCode(versionEntry).value_or(QString()));
    const BookTables& tables = m_navigation.tables();
    const ParsedReference parsed = ParseReference(text, code, tables);
    auto refuse = [this](const QString& why) {
        Lbl_Reference->setText(why);
        Lbl_Reference->show();
        return false;
    };
    if (!parsed.ref) return refuse(parsed.error);
    session::PassageRef ref = *parsed.ref;
    // The lists select verses: a whole chapter is its first verse to its last.
    if (ref.isWholeChapter()) {
        const Book* book = tables.bookByNumber(ref.book);
        ref.firstVerse = 1;
        ref.lastVerse = book ? tables.verseCount(*book, ref.chapter) : 0;
    }
    if (ref.lastVerse < ref.firstVerse || !m_navigation.openPassage(ref))
        return refuse(QStringLiteral("\"%1\" is not in the lists of this version.").arg(text.trimmed()));
    Lbl_Reference->hide();
    remember(text.trimmed());
    emit referenceOpened(ref, toClone);
    return true;
}

void QuickReference::remember(const QString& text) {
    m_history.removeAll(text);
    m_history.prepend(text);
    while (m_history.size() > kHistorySize)
        m_history.removeLast();
    m_recalled = -1;
}

void QuickReference::recall(int step) {
    if (m_history.isEmpty()) return;
    const int next = std::clamp(m_recalled + step, -1, int(m_history.size()) - 1);
    m_recalled = next;
    Txt_Reference->setText(next < 0 ? QString() : m_history.at(next));
}

bool QuickReference::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Txt_Reference && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool popup = m_completer->popup() && m_completer->popup()->isVisible();
        if (!popup && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (open(Txt_Reference->text(), key->modifiers().testFlag(Qt::ShiftModifier)))
                Txt_Reference->selectAll();
            return true;
        }
        if (!popup && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            recall(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumora::bible
