#include "bible/ui/passageview.h"

#include "bible/biblestore.h"
#include "bible/passagedocument.h"
#include "bible/ui/biblenavigation.h"
#include "common/text.h"
#include "platform/waitcursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumora::bible {

PassageView::PassageView(const session::Session& session, BibleNavigation& nav, QWidget* page,
                         QObject* parent)
    : QObject(parent), m_session(session), m_nav(nav) {
    m_view = new QWidget(page);
    Text_Passage = new QTextEdit(m_view);
    Text_Passage->setObjectName(QStringLiteral("Text_Passage"));
    Text_Passage->setReadOnly(true);
    Text_Passage->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont f = Text_Passage->font();
    f.setFamily(QString::fromLatin1(kPassageFontFamily));
    f.setPointSizeF(kPassageFontSizePt);
    Text_Passage->document()->setDefaultFont(f);
    m_box = new platform::RichTextBox(Text_Passage);
    Labe16 = new QLabel(QStringLiteral("Versets en cours"), m_view);
    Labe16->setObjectName(QStringLiteral("Labe16"));
    Labe16->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont headingFont = Labe16->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    Labe16->setFont(headingFont);
    auto* viewLayout = new QVBoxLayout(m_view);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    m_headerRow = new QWidget(m_view);
    m_header = new QHBoxLayout(m_headerRow);
    m_header->setContentsMargins(0, 0, 0, 0);
    m_header->addStretch(1);
    m_header->addWidget(Labe16);
    viewLayout->addWidget(m_headerRow);
    m_backdrop = new platform::BackdropBox(Text_Passage, QStringLiteral("Image_Passage"), m_view);
    viewLayout->addWidget(m_backdrop, 1);

    m_options = new QWidget(page);
    auto* optionsLayout = new QHBoxLayout(m_options);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    // The designer's spaced-out tip, then what a click does in plain words.
    auto check = [this, optionsLayout](const char* name, const char* caption, const char* tip,
                                       const QString& click) {
        auto* c = new QCheckBox(QString::fromUtf8(caption), m_options);
        optionsLayout->addWidget(c);
        c->setObjectName(QString::fromLatin1(name));
        c->setToolTip(QString::fromUtf8(tip) + QLatin1Char('\n') + click);
        return c;
    };
    Check_With_Title = check("Check_With_Title", "With", " W I T H  T I T L E  ",
                             tr("Ticked, the section titles show above their verses"));
    Check_Uppercase = check("Check_Uppercase", "Uc", " U P P E R C A S E  ",
                            tr("Ticked, the section titles are in capitals (with \"With\" ticked)"));
    Check_Version = check("Check_Version", "Show", "  C H E C K  T O  S H O W   B I B L E  V E R S I O N",
                          tr("Ticked, the version's name heads the passage"));
    Chec_Order = check("Chec_Order", "Order", "  C H E C K  T O  O R D E R   L I S T  V E R S I O N ",
                       tr("Ticked, the versions can be put in order with the arrows; untick to keep the "
                          "order"));
    Check_Shop = check("Check_Shop", "Capture", " C H E C K  T O  C A P T U R E   P O S I T I O N",
                       tr("Ticked, the hymn tab shows the tools that capture a position in the recording"));
    Check_With_Title->setChecked(true);

    Frame_Order_Version = new QGroupBox(QStringLiteral("Order"), page);
    Frame_Order_Version->setObjectName(QStringLiteral("Frame_Order_Version"));
    auto* frameLayout = new QVBoxLayout(Frame_Order_Version);
    List_version_Order = new QListWidget(Frame_Order_Version);
    List_version_Order->setObjectName(QStringLiteral("List_version_Order"));
    Img_UP_ListVersion = new QToolButton(Frame_Order_Version);
    Img_UP_ListVersion->setObjectName(QStringLiteral("Img_UP_ListVersion"));
    Img_UP_ListVersion->setArrowType(Qt::UpArrow);
    Img_DN_ListVersion = new QToolButton(Frame_Order_Version);
    Img_DN_ListVersion->setObjectName(QStringLiteral("Img_DN_ListVersion"));
    Img_DN_ListVersion->setArrowType(Qt::DownArrow);
    Img_UP_ListVersion->setToolTip(tr("Move the chosen version up the list"));
    Img_DN_ListVersion->setToolTip(tr("Move the chosen version down the list"));
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(Img_UP_ListVersion);
    arrows->addWidget(Img_DN_ListVersion);
    arrows->addStretch();
    frameLayout->addWidget(List_version_Order);
    frameLayout->addLayout(arrows);
    Frame_Order_Version->hide();

    // The boxes keep the options value; a click builds the passage shown again with it.
    connect(Check_With_Title, &QCheckBox::toggled, this, [this](bool on) { m_display.withTitles = on; });
    connect(Check_Uppercase, &QCheckBox::toggled, this, [this](bool on) { m_display.titlesUppercase = on; });
    connect(Check_Version, &QCheckBox::toggled, this, [this](bool on) { m_display.showHeader = on; });
    connect(Check_With_Title, &QCheckBox::clicked, this, [this](bool on) {
        Check_Uppercase->setEnabled(on);
        onOptionClicked();
    });
    connect(Check_Uppercase, &QCheckBox::clicked, this, &PassageView::onOptionClicked);
    connect(Check_Version, &QCheckBox::clicked, this, &PassageView::onOptionClicked);
    connect(Chec_Order, &QCheckBox::clicked, this, &PassageView::onOrderToggled);
    connect(&m_nav, &BibleNavigation::passageSelected, this, &PassageView::PreparePassage);
    connect(&m_nav, &BibleNavigation::choiceCleared, this, &PassageView::onChoiceCleared);
    connect(Img_UP_ListVersion, &QToolButton::clicked, this, [this] { moveVersion(-1); });
    connect(Img_DN_ListVersion, &QToolButton::clicked, this, [this] { moveVersion(+1); });
    connect(Check_Shop, &QCheckBox::clicked, this, [this](bool on) { emit captureToolsToggled(on); });
}

void PassageView::addHeaderTool(QWidget* tool) {
    m_header->insertWidget(m_header->count() - 2, tool);
}

QWidget* PassageView::orderFrame() const {
    return Frame_Order_Version;
}

void PassageView::onOptionClicked() {
    if (m_selection) PreparePassage(*m_selection);
}

void PassageView::PreparePassage(const PassageSelection& selection) {
    platform::WaitCursor hourglass;
    m_selection = selection;
    m_request = bible::PreparePassage(m_session.DataPath, selection);
    m_request.setOptions(m_display);
    m_passage = BuildPassage(m_request, m_cache);
    // The version's book names are in its language. The box holds the document lumora-cli export
    // writes, so that Save as, which saves the box, writes the same until something changes it.
    const bool rightToLeft = isRightToLeft(m_nav.tables());
    m_box->setDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    m_box->setDocument(passageDocument(m_passage.opened ? m_passage.ShownText : QByteArray(),
                                       passageLook(m_style, rightToLeft)));
    m_box->setCaret(0);
    Labe16->setText(m_passage.heading);
    hourglass.restore();
    emit passageShown(m_passage);
}

PassageLook passageLook(const platform::TextStyle& style, bool rightToLeft) {
    PassageLook look = defaultPassageLook();
    if (!style.PassageFontName.isEmpty()) look.fontFamily = style.PassageFontName;
    if (style.PassageFontSize > 0) look.sizePt = style.PassageFontSize;
    look.bold = style.PassageBold;
    look.italic = style.PassageItalic;
    look.underline = style.PassageUnderline;
    look.alignment = style.PassageAlignment == 2   ? common::rtf::Alignment::Centre
                     : style.PassageAlignment == 1 ? common::rtf::Alignment::Right
                                                   : common::rtf::Alignment::Left;
    if (style.PassageColor.isValid() && style.PassageColor != QApplication::palette().color(QPalette::Text)) {
        const QColor rgb = style.PassageColor.toRgb();
        look.colour = common::rtf::Colour{static_cast<quint8>(rgb.red()), static_cast<quint8>(rgb.green()),
                                          static_cast<quint8>(rgb.blue())};
    }
    look.rightToLeft = rightToLeft;
    return look;
}

void PassageView::saveStartupStyle() {
    const QPalette pal = Text_Passage->palette();
    m_style.PassageBackColor = pal.color(QPalette::Base);
    m_style.PassageColor = pal.color(QPalette::Text);
    const QFont font = Text_Passage->document()->defaultFont();
    m_style.PassageFontName = font.family();
    m_style.PassageFontSize = font.pointSizeF();
    m_style.PassageAlignment = 0;
    m_style.PassageBold = font.bold();
    m_style.PassageItalic = font.italic();
    m_style.PassageUnderline = font.underline();
}

void PassageView::onOrderToggled(bool checked) {
    if (checked) {
        m_versionBeforeOrdering =
            m_nav.rowText(session::NavLevel::Version, m_nav.selectedRow(session::NavLevel::Version));
        Frame_Order_Version->show();
        List_version_Order->clear();
        List_version_Order->addItems(m_nav.versionsComplete());
        if (List_version_Order->count() > 0) List_version_Order->setCurrentRow(0);
        return;
    }
    Frame_Order_Version->hide();
    QStringList ordered;
    for (int i = 0; i < List_version_Order->count(); ++i)
        ordered << List_version_Order->item(i)->text();
    m_nav.refillVersions(ordered, m_versionBeforeOrdering);
    SaveVersionList(versionListPath(m_session.DataPath), m_nav.versionsComplete(),
                    m_nav.versionsIncomplete());
}

void PassageView::moveVersion(int delta) {
    const int s = List_version_Order->currentRow();
    const int t = s + delta;
    if (s < 0 || t < 0 || t >= List_version_Order->count()) return;
    QListWidgetItem* item = List_version_Order->takeItem(s);
    List_version_Order->insertItem(t, item);
    List_version_Order->setCurrentRow(t);
}

} // namespace lumora::bible
