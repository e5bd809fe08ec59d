#include "hymns/ui/hymnselection.h"

#include "common/decimal.h"
#include "common/paths.h"
#include "common/text.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnfiles.h"
#include "hymns/hymnstore.h"
#include "hymns/shortcut.h"
#include "platform/backdropbox.h"
#include "platform/clicks.h"
#include "platform/findkey.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumora::hymns {

namespace {

const QString kHoverBorder = QStringLiteral("QComboBox { border: 1px solid palette(dark); }");

// Refills a list without running its handler; no row is selected afterwards, so selecting row 0
// is a change that runs the handler.
void refill(QComboBox* list, const QStringList& rows) {
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(rows);
    list->setCurrentIndex(-1);
}

void clearList(QComboBox* list) {
    refill(list, {});
}

QString counter(int index, int count) {
    return QString::number(index + 1) + QStringLiteral(" / ") + QString::number(count);
}

QLabel* iconLabel(QWidget* page, const char* name, QStyle::StandardPixmap pixmap, const QString& tip) {
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(page->style()->standardIcon(pixmap).pixmap(24, 24));
    label->setToolTip(tip);
    // Icons come and go with each hymn; their places stay so that the lists never move.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

// Cantiques holds hymn content when it has a file, or a folder other than the favourite-list
// folder that the program creates there itself before this test.
bool holdsHymnContent(const QString& cantiques) {
    if (common::folderHasFile(cantiques)) return true;
    const QStringList folders = QDir(cantiques).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& f : folders)
        if (f.compare(QLatin1String("Favori"), Qt::CaseInsensitive) != 0) return true;
    return false;
}

} // namespace

void PickList::showPopup() {
    indexAtPopup = currentIndex();
    QComboBox::showPopup();
}

HymnSelection::HymnSelection(const session::Session& session, QWidget* page, QObject* parent)
    : QObject(parent), m_session(session), m_page(page) {
    buildWidgets(page);
    connectPicks(ComboBox_Receuil, &HymnSelection::onBookPicked);
    connectPicks(ComboBox_theme1, &HymnSelection::onThemePicked);
    connectPicks(ComboBox_theme2, &HymnSelection::onSubThemePicked);
    connectPicks(ComboBox_Chant, &HymnSelection::onHymnPicked);
    connectPicks(ComboBox_cantique_trouve, &HymnSelection::onResultPicked);
    connect(Cmd_cherche_cantique, &QPushButton::clicked, this, &HymnSelection::searchHymns);
    connect(Cantique_achercher, &QLineEdit::returnPressed, this, &HymnSelection::searchHymns);
    connect(Text_Cantique, &QTextEdit::selectionChanged, this, [this] {
        // The clone window checks that it shows this hymn on the Canticle tab.
        emit hymnSelectionChanged(m_words->selectionStart(), m_words->selectionLength());
    });
    for (QComboBox* list :
         {static_cast<QComboBox*>(ComboBox_Receuil), static_cast<QComboBox*>(ComboBox_theme1),
          static_cast<QComboBox*>(ComboBox_theme2)})
        list->installEventFilter(this);
    page->setMouseTracking(true);
    page->installEventFilter(this);
    for (QLabel* icon : {Image_Diapo, Image_Video, Image_Musique}) {
        icon->setCursor(Qt::PointingHandCursor);
        icon->setFocusPolicy(Qt::StrongFocus);
        icon->setAccessibleName(icon->toolTip());
        icon->installEventFilter(this);
    }
}

void HymnSelection::buildWidgets(QWidget* page) {
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    Label5 = new QLabel(QStringLiteral("Hymn book"), page);
    named(Label5, "Label5");
    ComboBox_Receuil = new PickList(page);
    named(ComboBox_Receuil, "ComboBox_Receuil");
    Label6 = new QLabel(QStringLiteral("Themecle "), page);
    named(Label6, "Label6");
    ComboBox_theme1 = new PickList(page);
    named(ComboBox_theme1, "ComboBox_theme1");
    ComboBox_theme2 = new PickList(page);
    named(ComboBox_theme2, "ComboBox_theme2");
    Label8 = new QLabel(QStringLiteral("Canticle"), page);
    named(Label8, "Label8");
    ComboBox_Chant = new PickList(page);
    named(ComboBox_Chant, "ComboBox_Chant");
    Lbl_Nbr_cantique = new QLabel(page);
    named(Lbl_Nbr_cantique, "Lbl_Nbr_cantique");
    for (QComboBox* list :
         {static_cast<QComboBox*>(ComboBox_Receuil), static_cast<QComboBox*>(ComboBox_theme1),
          static_cast<QComboBox*>(ComboBox_theme2), static_cast<QComboBox*>(ComboBox_Chant)}) {
        // Book and hymn names are long; the lists share the row's width.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(list == ComboBox_Chant || list == ComboBox_Receuil ? 24 : 16);
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // The hymn list hides for a theme without hymns; the lists beside it keep their widths.
        policy.setRetainSizeWhenHidden(true);
        list->setSizePolicy(policy);
    }

    Image_Diapo = iconLabel(page, "Image_Diapo", QStyle::SP_FileDialogDetailedView, QStringLiteral("Slides"));
    Image_Video = iconLabel(page, "Image_Video", QStyle::SP_MediaPlay, QStringLiteral("Video"));
    Image_Musique = iconLabel(page, "Image_Musique", QStyle::SP_MediaVolume, QStringLiteral("Music"));

    Text_Cantique = new QTextEdit(page);
    named(Text_Cantique, "Text_Cantique");
    // Shown to the congregation: read-only like the passage, and in the passage's default size so
    // that plain-text words are as large as rich-text ones.
    Text_Cantique->setReadOnly(true);
    Text_Cantique->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont wordsFont = Text_Cantique->font();
    wordsFont.setPointSizeF(platform::kTextBoxPointSize);
    Text_Cantique->document()->setDefaultFont(wordsFont);
    m_words = new platform::RichTextBox(Text_Cantique);
    m_wordsBox = new QWidget(page);
    m_backdrop = new platform::BackdropBox(Text_Cantique, QStringLiteral("Image_Cantique"), m_wordsBox);
    auto* wordsLayout = new QVBoxLayout(m_wordsBox);
    wordsLayout->setContentsMargins(0, 0, 0, 0);
    m_titleRow = new QWidget(m_wordsBox);
    m_titleTools = new QHBoxLayout(m_titleRow);
    m_titleTools->setContentsMargins(0, 0, 0, 0);
    wordsLayout->addWidget(m_titleRow);
    wordsLayout->addWidget(m_backdrop, 1);
    Text_info = new QTextEdit(page);
    named(Text_info, "Text_info");
    Text_info->setReadOnly(true);
    // The hymn's label heads the words, right-aligned with them as Labe16 heads the passage; the
    // title tools come to its left.
    Label9 = new QLabel(m_titleRow);
    named(Label9, "Label9");
    Label9->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label9->setWordWrap(true);
    QFont titleFont = Label9->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    Label9->setFont(titleFont);
    m_titleTools->addWidget(Label9, 1);
    Label16 = new QLabel(QStringLiteral("\"Cantiques\" folder not found"), page);
    named(Label16, "Label16");
    Label16->hide();

    Cantique_achercher = new QLineEdit(page);
    named(Cantique_achercher, "Cantique_achercher");
    Cmd_cherche_cantique = new QPushButton(QStringLiteral("Search"), page);
    named(Cmd_cherche_cantique, "Cmd_cherche_cantique");
    ComboBox_cantique_trouve = new PickList(page);
    named(ComboBox_cantique_trouve, "ComboBox_cantique_trouve");
    ComboBox_cantique_trouve->setMinimumContentsLength(16);
    Lbl_Nbr_cantique_trouve = new QLabel(page);
    named(Lbl_Nbr_cantique_trouve, "Lbl_Nbr_cantique_trouve");
    // The counters have room for their widest text from the start: the rows never reflow.
    for (QLabel* count : {Lbl_Nbr_cantique, Lbl_Nbr_cantique_trouve})
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("0000 / 0000")));

    m_bookLists = new QWidget(page);
    auto* lists = new QGridLayout(m_bookLists);
    lists->setContentsMargins(0, 0, 0, 0);
    lists->addWidget(Label5, 0, 0);
    lists->addWidget(ComboBox_Receuil, 1, 0);
    lists->addWidget(Label6, 0, 1);
    lists->addWidget(ComboBox_theme1, 1, 1);
    lists->addWidget(ComboBox_theme2, 1, 2);
    lists->addWidget(Label8, 0, 3);
    lists->addWidget(ComboBox_Chant, 1, 3);
    lists->addWidget(Lbl_Nbr_cantique, 1, 4);
    auto* icons = new QHBoxLayout;
    icons->addWidget(Image_Diapo);
    icons->addWidget(Image_Video);
    icons->addWidget(Image_Musique);
    icons->addStretch();
    lists->addLayout(icons, 1, 5);

    m_searchRow = new QWidget(page);
    auto* search = new QHBoxLayout(m_searchRow);
    search->setContentsMargins(0, 0, 0, 0);
    search->addWidget(Cantique_achercher, 1);
    search->addWidget(Cmd_cherche_cantique);
    search->addWidget(ComboBox_cantique_trouve, 2);
    search->addWidget(Lbl_Nbr_cantique_trouve);

    m_details = new QWidget(page);
    auto* side = new QVBoxLayout(m_details);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(Text_info, 1);
    side->addStretch();
}

void HymnSelection::setCaptureRowShown(bool shown) {
    Text_info->setMaximumHeight(shown ? 2265 / 15 : 2985 / 15);
}

void HymnSelection::installShortcuts(QWidget* page) {
    platform::installFindKey(page, Cantique_achercher, Cmd_cherche_cantique,
                             QStringLiteral("Search the hymns (Enter; %1 goes to the words)"));
}

void HymnSelection::setSearchHalves(int textWidth, int resultsWidth) {
    Cantique_achercher->setFixedWidth(std::max(textWidth, 0));
    ComboBox_cantique_trouve->setMaximumWidth(std::max(resultsWidth, 0));
}

void HymnSelection::selectNextHymn() {
    const int next = ComboBox_Chant->currentIndex() + 1;
    select(ComboBox_Chant, next < ComboBox_Chant->count() ? next : 0);
}

QWidget* HymnSelection::notFoundLabel() const {
    return Label16;
}
QWidget* HymnSelection::wordsBox() const {
    return m_wordsBox;
}

void HymnSelection::addTitleTool(QWidget* tool) {
    m_titleTools->insertWidget(m_titleTools->count() - 1, tool);
}

QString HymnSelection::shownLabel() const {
    return Label9->text();
}

QColor HymnSelection::shownLabelColor() const {
    return Label9->palette().color(QPalette::WindowText);
}

void HymnSelection::showIcon(QLabel* icon, bool hasFile) {
    icon->setProperty("hasFile", hasFile);
    icon->setVisible(hasFile && m_iconsShown);
}

void HymnSelection::setFileIconsShown(bool shown) {
    m_iconsShown = shown;
    for (QLabel* icon : {Image_Diapo, Image_Video, Image_Musique})
        icon->setVisible(shown && icon->property("hasFile").toBool());
}

std::optional<QString> HymnSelection::entryOnDisplay() const {
    return m_shownEntry;
}

void HymnSelection::connectPicks(PickList* list, void (HymnSelection::*handler)(int)) {
    connect(list, &QComboBox::currentIndexChanged, this, handler);
    // Choosing the row already selected changes no index but is still a pick.
    connect(list, &QComboBox::activated, this, [this, list, handler](int index) {
        const bool samePick = index == list->indexAtPopup;
        list->indexAtPopup = -2;
        if (samePick) (this->*handler)(index);
    });
}

void HymnSelection::select(QComboBox* list, int i) {
    if (i >= 0 && i < list->count()) list->setCurrentIndex(i);
}

void HymnSelection::setValue(QComboBox* list, const QString& text) {
    const int row = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row >= 0 && row != list->currentIndex()) list->setCurrentIndex(row);
}

bool HymnSelection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image_Musique || watched == Image_Diapo || watched == Image_Video) {
        // The icons are buttons for the keyboard too: Tab reaches them, Space or Enter clicks.
        const bool keyClick = event->type() == QEvent::KeyPress &&
                              QList<int>{Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}.contains(
                                  static_cast<QKeyEvent*>(event)->key());
        if (platform::isClickRelease(watched, event) || keyClick) {
            if (watched == Image_Musique) emit musicIconClicked();
            if (watched == Image_Diapo) emit slidesIconClicked();
            if (watched == Image_Video) emit videoIconClicked();
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Enter && watched != m_page) {
        static_cast<QWidget*>(watched)->setStyleSheet(kHoverBorder);
    } else if (event->type() == QEvent::MouseMove && watched == m_page) {
        clearHoverBorders();
    }
    return QObject::eventFilter(watched, event);
}

void HymnSelection::clearHoverBorders() {
    for (QComboBox* list :
         {static_cast<QComboBox*>(ComboBox_Receuil), static_cast<QComboBox*>(ComboBox_theme1),
          static_cast<QComboBox*>(ComboBox_theme2), static_cast<QComboBox*>(ComboBox_Chant)})
        if (!list->styleSheet().isEmpty()) list->setStyleSheet(QString());
}

void HymnSelection::startUp() {
    m_cantiques = cantiquesFolder(m_session.DataPath);
    if (holdsHymnContent(m_cantiques)) {
        LoadHymnBooks();
        Label16->hide();
        Text_Cantique->show();
    } else {
        Label16->show();
        m_words->setText(QStringLiteral("FOLDER \"Cantiques\" NOT FOND"));
        Text_Cantique->hide();
    }
}

void HymnSelection::showImported(const QString&, const QString& entry) {
    startUp();
    if (m_hymnBooksLoaded && !entry.isEmpty()) ShowPlaylistHymn(entry);
}

void HymnSelection::LoadHymnBooks() {
    m_hymnBooksLoaded = false;
    m_cantiques = cantiquesFolder(m_session.DataPath);
    clearList(ComboBox_Receuil);
    refill(ComboBox_Receuil, hymns::LoadHymnBooks(m_cantiques));
    m_hymnBooksLoaded = true;
    select(ComboBox_Receuil, 0);
}

void HymnSelection::onBookPicked(int) {
    emit pickStarted();
    if (!m_hymnBooksLoaded) return;
    m_themesLoaded = false;
    clearList(ComboBox_theme1);
    m_currentBook = ComboBox_Receuil->currentText();
    const auto themes = readThemes(m_cantiques, m_currentBook);
    if (!themes) {
        // Nothing of the previous book may stay below an unreadable one.
        m_subThemesLoaded = false;
        m_hymnListLoaded = false;
        clearList(ComboBox_theme2);
        clearList(ComboBox_Chant);
        m_infoChant.clear();
        Text_info->clear();
        Lbl_Nbr_cantique->clear();
        return;
    }
    refill(ComboBox_theme1, *themes);
    m_themesLoaded = true;
    ComboBox_theme1->show();
    select(ComboBox_theme1, 0);
}

void HymnSelection::onThemePicked(int) {
    emit pickStarted();
    if (!m_themesLoaded) return;
    m_hymnListLoaded = false;
    clearList(ComboBox_Chant);
    m_infoChant.clear();
    Text_info->clear();
    Lbl_Nbr_cantique->clear();
    m_subThemesLoaded = false;
    clearList(ComboBox_theme2);

    m_currentBook = ComboBox_Receuil->currentText();
    refill(ComboBox_theme2, subThemes(m_cantiques, m_currentBook, ComboBox_theme1->currentText()));
    m_subThemesLoaded = true;
    if (ComboBox_theme2->count() > 0) {
        select(ComboBox_theme2, 0);
    } else {
        // A theme without sub-themes lists its own hymns (those with no sub-theme), or none; no
        // other hymn may stay on display.
        showHymnList(hymnsWithoutSubTheme(m_cantiques, m_currentBook, ComboBox_theme1->currentText()));
    }
}

void HymnSelection::onSubThemePicked(int) {
    emit pickStarted();
    if (!m_subThemesLoaded) return;
    m_hymnListLoaded = false;
    clearList(ComboBox_Chant);
    m_infoChant.clear();

    m_currentBook = ComboBox_Receuil->currentText();
    showHymnList(
        hymnList(m_cantiques, m_currentBook, ComboBox_theme1->currentText(), ComboBox_theme2->currentText()));
}

void HymnSelection::showHymnList(const HymnList& list) {
    m_hymnListLoaded = false;
    clearList(ComboBox_Chant);
    refill(ComboBox_Chant, list.labels);
    m_infoChant = list.entries;
    m_hymnListLoaded = true;
    if (ComboBox_Chant->count() > 0) {
        select(ComboBox_Chant, 0);
        ComboBox_Chant->show();
        Lbl_Nbr_cantique->setText(counter(0, ComboBox_Chant->count()));
    } else {
        ComboBox_Chant->hide();
        Lbl_Nbr_cantique->clear();
        clearHymnDisplay();
    }
}

void HymnSelection::onHymnPicked(int index) {
    emit hymnPicked();
    if (!m_hymnListLoaded) return;
    if (index < 0 || index >= m_infoChant.size()) return;
    Lbl_Nbr_cantique->setText(counter(index, ComboBox_Chant->count()));
    displayHymn(m_infoChant.at(index), ComboBox_Chant->currentText(), ComboBox_Receuil->currentText(),
                ComboBox_Chant->palette());
}

void HymnSelection::displayHymn(const QString& entry, const QString& label, const QString& book,
                                const QPalette& palette) {
    const MediaLookup slides = findSlides(m_cantiques, book, label);
    m_slidePath = slides.path;
    showIcon(Image_Diapo, slides.found);

    const VideoLookup video = findVideo(m_cantiques, book, label);
    if (video.isShortcut) {
        const QFileInfo lnk(video.path);
        m_videoPath = ResolveShortcut(lnk.absolutePath(), lnk.fileName().chopped(4));
    } else {
        m_videoPath = video.path;
    }
    showIcon(Image_Video, !video.extension.isEmpty());

    Text_info->setPalette(palette);
    m_currentEntry = entry;
    m_shownEntry = entry;
    m_wordsReplaced = false;
    showHymnInfo();
    loadHymnFiles(label);
    emit hymnShown(m_currentEntry);
    tellDisplayed(book);
}

void HymnSelection::tellDisplayed(const QString& book) {
    m_shownBook = book;
    emit hymnDisplayed(displayed());
}

session::ShownHymn HymnSelection::displayed() const {
    session::ShownHymn shown;
    if (m_shownEntry || m_wordsReplaced) {
        shown.book = m_shownBook;
        shown.entry = m_shownEntry.value_or(QString());
        shown.label = Label9->text();
        const qsizetype dash = shown.label.indexOf(QStringLiteral(" - "));
        shown.title = dash < 0 ? shown.label : shown.label.mid(dash + 3);
        shown.details = Text_info->toPlainText();
        shown.wordsHtml = m_words->realDocument()->toHtml();
        shown.wordsPlain = m_words->plainText();
    }
    return shown;
}

void HymnSelection::clearHymnDisplay() {
    m_shownEntry.reset();
    m_currentEntry.clear();
    m_slidePath.clear();
    m_videoPath.clear();
    m_words->setText(QString());
    Text_info->clear();
    Label9->clear();
    for (QLabel* icon : {Image_Diapo, Image_Video, Image_Musique})
        showIcon(icon, false);
    // No music either: the player lets the previous hymn's recording go.
    emit hymnFilesLoaded(QString());
    emit hymnShown(QString());
    tellDisplayed(QString());
}

void HymnSelection::showHymnInfo() {
    // An entry that does not split shows no details rather than those of the previous hymn.
    QString info = ShowHymnInfo(m_currentEntry).value_or(QString());
    Text_info->setPlainText(info.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HymnSelection::loadHymnFiles(const QString& label) {
    const HymnFiles files = LoadHymnFiles(m_cantiques, m_currentEntry);
    emit hymnFilesLoaded(files.hasMusic ? files.musicPath : QString());
    showIcon(Image_Musique, files.hasMusic);
    Label9->setText(label);

    switch (files.words) {
    case WordsKind::None:
        m_words->setText(QStringLiteral("A SAISIR"));
        break;
    case WordsKind::Rtf:
        if (!m_words->loadRtf(files.wordsPath)) m_words->setText(QString());
        break;
    case WordsKind::Text:
        m_words->setText(readTextWords(files.wordsPath));
        break;
    }
    // The words keep the direction of their language as a whole.
    m_words->setDirection(common::dominantDirection(m_words->plainText()));
    if (files.words == WordsKind::Text) {
        m_words->select(0, Text_Cantique->document()->characterCount());
        m_words->setSelectionAlignment(platform::Alignment::Centre);
        m_words->setCaret(0);
    }
}

void HymnSelection::searchHymns() {
    const platform::WaitCursor wait;
    m_hymnSearchReady = false;
    clearList(ComboBox_cantique_trouve);
    m_infoTrouve.clear();
    m_cantiques = cantiquesFolder(m_session.DataPath);

    QStringList books;
    for (int i = 0; i < ComboBox_Receuil->count(); ++i)
        books << ComboBox_Receuil->itemText(i);
    const HymnList hits = hymns::searchHymns(m_cantiques, books, Cantique_achercher->text());
    if (!hits.labels.isEmpty()) {
        refill(ComboBox_cantique_trouve, hits.labels);
        m_infoTrouve = hits.entries;
        m_hymnSearchReady = true;
        select(ComboBox_cantique_trouve, 0);
        emit searchSucceeded();
    } else {
        refill(ComboBox_cantique_trouve, {QStringLiteral("N O T H I N G")});
        {
            const QSignalBlocker block(ComboBox_cantique_trouve);
            ComboBox_cantique_trouve->setCurrentIndex(0);
        }
        Lbl_Nbr_cantique_trouve->clear();
    }
}

void HymnSelection::onResultPicked(int index) {
    if (!m_hymnSearchReady) return;
    if (index < 0 || index >= m_infoTrouve.size()) return;
    Text_info->setPalette(ComboBox_cantique_trouve->palette());
    m_currentEntry = m_infoTrouve.at(index);
    if (!showEntry(m_currentEntry, ComboBox_cantique_trouve->palette())) return;
    Text_info->setPalette(ComboBox_cantique_trouve->palette());
    Lbl_Nbr_cantique_trouve->setText(counter(index, ComboBox_cantique_trouve->count()));
}

QStringList HymnSelection::bookNames() const {
    QStringList books;
    for (int i = 0; i < ComboBox_Receuil->count(); ++i)
        books << ComboBox_Receuil->itemText(i);
    return books;
}

void HymnSelection::ShowPlaylistHymn(const QString& entry) {
    const platform::WaitCursor wait;
    m_currentEntry = entry;
    showEntry(entry, ComboBox_Chant->palette());
}

bool HymnSelection::showEntry(QString entry, const QPalette& palette) {
    const QByteArray bytes = common::Utf8Encode(entry);
    const auto tabs = tabPositions(bytes);
    const QString book = common::Utf8Decode(fromField(bytes, tabs, 9));
    if (ComboBox_Receuil->findText(book, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        m_words->setText(QStringLiteral("??????"));
        m_wordsReplaced = true;
        tellDisplayed(book);
        return false;
    }
    setValue(ComboBox_Receuil, book);
    setValue(ComboBox_theme1, common::Utf8Decode(fieldAt(bytes, tabs, 6)));
    const QString sub = common::Utf8Decode(fieldAt(bytes, tabs, 7));
    if (!sub.isEmpty()) setValue(ComboBox_theme2, sub);
    const QString label = common::Utf8Decode(bytes.left(tabs[1]));
    setValue(ComboBox_Chant, label);

    // Values equal to the current ones run no pick, and a hymn without a sub-theme is in no hymn
    // list: either way the words on display may still be another hymn's. This hymn is shown.
    const int row = ComboBox_Chant->currentIndex();
    if (!ComboBox_Chant->isHidden() && row >= 0 && row < m_infoChant.size() &&
        ComboBox_Chant->currentText() == label) {
        if (m_wordsReplaced || m_shownEntry != m_infoChant.at(row)) onHymnPicked(row);
        return true;
    }
    emit hymnPicked();
    {
        // The lists cannot name this hymn: none of their rows claims to be on display.
        const QSignalBlocker block(ComboBox_Chant);
        ComboBox_Chant->setCurrentIndex(-1);
    }
    Lbl_Nbr_cantique->clear();
    displayHymn(entry, label, book, palette);
    return true;
}

} // namespace lumora::hymns
