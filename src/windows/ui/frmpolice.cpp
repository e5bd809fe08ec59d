#include "windows/ui/frmpolice.h"

#include "platform/commondialog.h"
#include "platform/richtextbox.h"
#include "windows/ui/clicklabel.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QTextEdit>
#include <QVBoxLayout>

namespace lumora::windows {

namespace {
void setBack(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}
} // namespace

FrmPolice::FrmPolice(platform::CommonDialog& dialogs, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("FrmPolice"));
    setWindowTitle(QStringLiteral("POLICE"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildWidgets();
    open();
}

void FrmPolice::buildWidgets() {
    ComboBox_Police = new QComboBox(this);
    ComboBox_Police->setObjectName(QStringLiteral("ComboBox_Police"));
    ComboBox_Taille = new QComboBox(this);
    ComboBox_Taille->setObjectName(QStringLiteral("ComboBox_Taille"));
    auto picture = [this](const char* name, const QString& caption, const QString& tip) {
        auto* p = new ClickLabel(QString::fromLatin1(name), caption, this);
        p->setToolTip(tip);
        p->setAlignment(Qt::AlignCenter);
        p->setMinimumSize(26, 26);
        return p;
    };
    Im_gras = picture("Im_gras", QStringLiteral("<b>B</b>"), QStringLiteral("Bold"));
    Im_italic = picture("Im_italic", QStringLiteral("<i>I</i>"), QStringLiteral("Italic"));
    Im_souligne = picture("Im_souligne", QStringLiteral("<u>U</u>"), QStringLiteral("Underline"));
    Im_AGauche = picture("Im_AGauche", QStringLiteral("\u2261\u2190"), QStringLiteral("Left"));
    Im_center = picture("Im_center", QStringLiteral("\u2261"), QStringLiteral("Centre"));
    Im_droite = picture("Im_droite", QStringLiteral("\u2192\u2261"), QStringLiteral("Right"));
    Im_couleurText = picture("Im_couleurText", QStringLiteral("<u>A</u>"), QStringLiteral("Couleur texte"));
    Im_remplissage = picture("Im_remplissage", QStringLiteral("\u25A7"), QStringLiteral("Couleur de fond"));
    Lbl_font = picture("Lbl_font", QString(), QStringLiteral("Couleur texte"));
    Lbl_remplissage = picture("Lbl_remplissage", QString(), QStringLiteral("Couleur de fond"));
    for (ClickLabel* l : {Lbl_font, Lbl_remplissage})
        l->setFrameShape(QFrame::Panel);
    setBack(Lbl_font, Qt::black);
    setBack(Lbl_remplissage, Qt::white);

    Frame_couleur = new QGroupBox(QStringLiteral("Couleur :"), this);
    Frame_couleur->setObjectName(QStringLiteral("Frame_couleur"));
    auto* grid = new QGridLayout(Frame_couleur);
    grid->setSpacing(2);
    for (int i = 0; i < 48; ++i) {
        auto* swatch = new ClickLabel(QStringLiteral("Couleur%1").arg(i), QString(), Frame_couleur);
        swatch->setFixedSize(18, 18);
        swatch->setFrameShape(QFrame::Box);
        setBack(swatch, swatchColours()[i]);
        // Six shades of a hue in a column.
        grid->addWidget(swatch, i % 6, i / 6);
        connect(swatch, &ClickLabel::pressed, this, [this, i] { previewSwatch(i); });
        connect(swatch, &ClickLabel::clicked, this, [this, i] { applySwatch(i); });
        Couleur[i] = swatch;
    }
    Lbl_Arriere_plan =
        new ClickLabel(QStringLiteral("Lbl_Arriere_plan"), QStringLiteral("Arriere plan ..."), this);
    Text_Appercu = new QTextEdit(this);
    Text_Appercu->setObjectName(QStringLiteral("Text_Appercu"));
    Text_Appercu->setFixedHeight(70);
    m_preview = new platform::RichTextBox(Text_Appercu);
    m_preview->setText(QStringLiteral("Bible -Cantique - Solfa"));

    // The pictures and the colour frame share one panel, so that the mouse going from a colour
    // picture down to the swatches never passes over the dialog itself (which hides the frame).
    auto* layout = new QVBoxLayout(this);
    auto* fonts = new QHBoxLayout;
    fonts->addWidget(ComboBox_Police, 1);
    fonts->addWidget(ComboBox_Taille);
    layout->addLayout(fonts);
    auto* panel = new QWidget(this);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    auto* tools = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(Im_gras), static_cast<QWidget*>(Im_italic),
                       static_cast<QWidget*>(Im_souligne), static_cast<QWidget*>(Im_AGauche),
                       static_cast<QWidget*>(Im_center), static_cast<QWidget*>(Im_droite),
                       static_cast<QWidget*>(Im_couleurText), static_cast<QWidget*>(Lbl_font),
                       static_cast<QWidget*>(Im_remplissage), static_cast<QWidget*>(Lbl_remplissage)}) {
        w->setParent(panel);
        tools->addWidget(w);
    }
    tools->addStretch();
    panelLayout->addLayout(tools);
    Frame_couleur->setParent(panel);
    panelLayout->addWidget(Frame_couleur);
    layout->addWidget(panel);
    layout->addWidget(Lbl_Arriere_plan);
    layout->addWidget(Text_Appercu);

    connect(ComboBox_Police, &QComboBox::currentIndexChanged, this, &FrmPolice::onFontPicked);
    connect(ComboBox_Taille, &QComboBox::currentIndexChanged, this, &FrmPolice::onSizePicked);
    connect(Im_gras, &ClickLabel::clicked, this, [this] { toggle(StyleEdit::Property::Bold); });
    connect(Im_italic, &ClickLabel::clicked, this, [this] { toggle(StyleEdit::Property::Italic); });
    connect(Im_souligne, &ClickLabel::clicked, this, [this] { toggle(StyleEdit::Property::Underline); });
    connect(Im_AGauche, &ClickLabel::clicked, this, [this] { align(0); });
    connect(Im_center, &ClickLabel::clicked, this, [this] { align(2); });
    connect(Im_droite, &ClickLabel::clicked, this, [this] { align(1); });
    connect(Lbl_Arriere_plan, &ClickLabel::clicked, this, &FrmPolice::chooseBackground);

    // The mouse over each part reports to the colour table; moves over a child never count as
    // moves over the dialog itself.
    setMouseTracking(true);
    for (QWidget* w : findChildren<QWidget*>())
        w->setAttribute(Qt::WA_NoMousePropagation);
    for (QWidget* w : {static_cast<QWidget*>(Im_gras), static_cast<QWidget*>(Im_italic),
                       static_cast<QWidget*>(Im_souligne), static_cast<QWidget*>(Im_AGauche),
                       static_cast<QWidget*>(Im_center), static_cast<QWidget*>(Im_droite),
                       static_cast<QWidget*>(Im_couleurText), static_cast<QWidget*>(Im_remplissage),
                       static_cast<QWidget*>(Lbl_font), static_cast<QWidget*>(Lbl_remplissage),
                       static_cast<QWidget*>(ComboBox_Police), static_cast<QWidget*>(ComboBox_Taille),
                       Text_Appercu->viewport()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void FrmPolice::open() {
    Frame_couleur->hide();
    m_textColourMode = m_fillColourMode = m_ready = false;
    ComboBox_Police->clear();
    ComboBox_Police->addItems(QFontDatabase::families().mid(1));
    ComboBox_Taille->clear();
    for (int size = 8; size <= 72; ++size)
        ComboBox_Taille->addItem(QString::number(size));
    ComboBox_Police->setCurrentIndex(ComboBox_Police->findText(QStringLiteral("Arial")));
    ComboBox_Taille->setCurrentIndex(ComboBox_Taille->findText(QStringLiteral("22")));
    m_ready = true;
}

void FrmPolice::showFontSize(double points) {
    ComboBox_Taille->setCurrentIndex(ComboBox_Taille->findText(QString::number(qRound(points))));
}

void FrmPolice::selectAllInPreview() {
    m_preview->select(0, static_cast<int>(m_preview->plainText().size()));
}

void FrmPolice::onFontPicked(int row) {
    if (!m_ready || row < 0) return;
    const QString name = ComboBox_Police->itemText(row);
    selectAllInPreview();
    m_preview->setSelectionFontName(name);
    StyleEdit e;
    e.property = StyleEdit::Property::FontName;
    e.fontName = name;
    emit styleEdited(e);
}

void FrmPolice::onSizePicked(int row) {
    if (!m_ready || row < 0) return;
    const double size = ComboBox_Taille->itemText(row).toDouble();
    selectAllInPreview();
    m_preview->setSelectionFontSize(size);
    StyleEdit e;
    e.property = StyleEdit::Property::FontSize;
    e.fontSize = size;
    emit styleEdited(e);
}

void FrmPolice::toggle(StyleEdit::Property property) {
    if (!m_ready) return;
    selectAllInPreview();
    StyleEdit e;
    e.property = property;
    switch (property) {
    case StyleEdit::Property::Bold:
        e.on = !m_preview->selectionBold();
        m_preview->setSelectionBold(e.on);
        break;
    case StyleEdit::Property::Italic:
        e.on = !m_preview->selectionItalic();
        m_preview->setSelectionItalic(e.on);
        break;
    default:
        e.on = !m_preview->selectionUnderline();
        m_preview->setSelectionUnderline(e.on);
        break;
    }
    emit styleEdited(e);
}

void FrmPolice::align(qint32 value) {
    if (!m_ready) return;
    selectAllInPreview();
    m_preview->setSelectionAlignment(value == 2   ? platform::Alignment::Centre
                                     : value == 1 ? platform::Alignment::Right
                                                  : platform::Alignment::Left);
    if (ComboBox_Police->currentIndex() < 0) return;
    StyleEdit e;
    e.property = StyleEdit::Property::Alignment;
    e.alignment = value;
    emit styleEdited(e);
}

void FrmPolice::previewSwatch(int i) {
    selectAllInPreview();
    const QColor c = swatchColours()[i];
    if (m_fillColourMode) m_preview->setBackColor(c);
    if (m_textColourMode) m_preview->setSelectionColor(c);
}

void FrmPolice::applySwatch(int i) {
    selectAllInPreview();
    const QColor c = swatchColours()[i];
    StyleEdit e;
    e.color = c;
    if (m_fillColourMode) {
        setBack(Lbl_remplissage, c);
        m_preview->setBackColor(c);
        e.property = StyleEdit::Property::BackColor;
        emit styleEdited(e);
    } else if (m_textColourMode) {
        setBack(Lbl_font, c);
        m_preview->setSelectionColor(c);
        e.property = StyleEdit::Property::TextColor;
        emit styleEdited(e);
    }
}

void FrmPolice::chooseBackground() {
    platform::FileDialogRequest request;
    request.title = QStringLiteral("Restore from ...");
    request.filter = QStringLiteral("Fichier Image (*.jpg,*.jepg,*.bmp,*.gif)|*.bmp;*.jpg;*.jepg;*.gif");
    const std::optional<QString> path = m_dialogs.openFile(request);
    if (!path) return;
    emit backgroundPictureChosen(*path);
}

void FrmPolice::pointer(PointerEvent event, QWidget* pointed) {
    const ColourFrameStep step = colourFrameStep(event);
    m_textColourMode = step.TextColourMode;
    m_fillColourMode = step.FillColourMode;
    Frame_couleur->setVisible(step.frameShown);
    if (step.caption) Frame_couleur->setTitle(QString::fromLatin1(step.caption));
    const std::array<ClickLabel*, 8> pictures{Im_gras,   Im_italic, Im_souligne,    Im_AGauche,
                                              Im_center, Im_droite, Im_couleurText, Im_remplissage};
    auto outline = [](QWidget* w) {
        if (auto* label = qobject_cast<QLabel*>(w)) label->setFrameShape(QFrame::Box);
    };
    switch (step.outline) {
    case Outline::TextPicture:
        outline(Im_couleurText);
        break;
    case Outline::FillPicture:
        outline(Im_remplissage);
        break;
    case Outline::Pointed:
        outline(pointed);
        break;
    case Outline::ClearAll:
        for (ClickLabel* p : pictures)
            p->setFrameShape(QFrame::NoFrame);
        break;
    case Outline::None:
        break;
    }
}

bool FrmPolice::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto* w = static_cast<QWidget*>(watched);
    if (type == QEvent::MouseMove || type == QEvent::Enter) {
        if (watched == Im_couleurText)
            pointer(PointerEvent::OverTextColourPicture, w);
        else if (watched == Im_remplissage)
            pointer(PointerEvent::OverFillPicture, w);
        else if (watched == ComboBox_Police || watched == ComboBox_Taille ||
                 watched == Text_Appercu->viewport())
            pointer(PointerEvent::OverListOrPreview, w);
        else if (watched != Lbl_font && watched != Lbl_remplissage)
            pointer(PointerEvent::OverOtherPicture, w);
    } else if (type == QEvent::MouseButtonPress) {
        if (watched == Lbl_font)
            pointer(PointerEvent::PressOnTextLabel, w);
        else if (watched == Lbl_remplissage)
            pointer(PointerEvent::PressOnFillLabel, w);
    }
    return QWidget::eventFilter(watched, event);
}

void FrmPolice::mouseMoveEvent(QMouseEvent* event) {
    pointer(PointerEvent::OverForm);
    QWidget::mouseMoveEvent(event);
}

} // namespace lumora::windows
