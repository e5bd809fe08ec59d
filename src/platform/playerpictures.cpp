#include "platform/playerpictures.h"

#include <QKeySequence>
#include <QLayout>
#include <QPointer>
#include <QShortcut>
#include <QToolButton>

#include <QAbstractButton>
#include <QVariant>

#include <array>

// The pictures live in the program's resources, linked from a static library: their registration
// must be asked for by name.
static void registerResources() {
    Q_INIT_RESOURCE(lumora);
}

namespace lumora::platform {

namespace {

struct Picture {
    const char* file;
    const char* action;
};

constexpr std::array<Picture, 10> kPictures{{
    {"play", "Play"},
    {"pause", "Pause"},
    {"stop-active", "Stop"},
    {"stop-idle", "Stop"},
    {"repeat-off", "Repeat on"},
    {"repeat-on", "Repeat off"},
    {"continuous-off", "Continuous on"},
    {"continuous-on", "Continuous off"},
    {"sound-on", "Sound off"},
    {"sound-off", "Sound on"},
}};

bool inRange(int index) {
    return index >= 1 && index <= static_cast<int>(kPictures.size());
}

} // namespace

QIcon playerPicture(int index) {
    if (!inRange(index)) return {};
    static const bool registered = (registerResources(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/lumora/player/%1.svg").arg(QLatin1String(kPictures[index - 1].file)));
}

QString playerPictureAction(int index) {
    return inRange(index) ? QString::fromLatin1(kPictures[index - 1].action) : QString();
}

void showPlayerPicture(QAbstractButton* button, int index) {
    // Each picture is an SVG drawn anew for a new icon: a button that already shows it keeps it.
    if (shownPlayerPicture(button) != index || button->icon().isNull()) button->setIcon(playerPicture(index));
    const QString hint = button->property("shortcutHint").toString();
    button->setToolTip(hint.isEmpty()
                           ? playerPictureAction(index)
                           : playerPictureAction(index) + QStringLiteral(" (") + hint + QLatin1Char(')'));
    button->setAccessibleName(playerPictureAction(index));
    button->setProperty("picture", index);
}

void setPlayerShortcutHint(QAbstractButton* button, const QKeySequence& keys) {
    button->setProperty("shortcutHint", keys.toString(QKeySequence::NativeText));
    showPlayerPicture(button, shownPlayerPicture(button));
}

int shownPlayerPicture(const QAbstractButton* button) {
    return button->property("picture").toInt();
}

QToolButton* makePlayerButton(QWidget* parent, const char* name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setIconSize(QSize(24, 24));
    return b;
}

void showPlayerState(const std::array<QAbstractButton*, 5>& b, const playback::State& s) {
    const int pictures[] = {s.playPause, s.stop, s.repeat, s.continuous, s.sound};
    const bool enabled[] = {s.playEnabled, s.stopEnabled, s.modesEnabled, s.modesEnabled, true};
    for (std::size_t i = 0; i < b.size(); ++i) {
        showPlayerPicture(b[i], pictures[i]);
        b[i]->setEnabled(enabled[i]);
    }
}

void installPlayerKeys(QWidget* page, QObject* context, const QAbstractButton* playButton,
                       const QAbstractButton* stopButton, const std::function<void()>& playPause,
                       const std::function<void()>& stop, const std::function<bool()>& isPlaying) {
    const QPointer<const QAbstractButton> play(playButton), halt(stopButton);
    const auto add = [&](const QKeySequence& keys, const QPointer<const QAbstractButton>& button,
                         const std::function<void()>& action) {
        auto* s = new QShortcut(keys, page);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(s, &QShortcut::activated, context, [button, action] {
            if (button && button->isEnabled()) action();
        });
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_Space), play, playPause);
    add(QKeySequence(Qt::Key_MediaTogglePlayPause), play, playPause);
    add(QKeySequence(Qt::CTRL | Qt::Key_Period), halt, stop);
    add(QKeySequence(Qt::Key_MediaStop), halt, stop);
    // The plain play and pause keys only ever play, or only ever pause.
    add(QKeySequence(Qt::Key_MediaPlay), play, [=] {
        if (!isPlaying()) playPause();
    });
    add(QKeySequence(Qt::Key_MediaPause), play, [=] {
        if (isPlaying()) playPause();
    });
}

PlayerButtons::PlayerButtons(QWidget* parent, QLayout* row, QObject* context,
                             const std::array<const char*, 5>& names, PlayerHandlers handlers)
    : m_context(context), m_handlers(std::move(handlers)) {
    for (size_t i = 0; i < names.size(); ++i) {
        m_buttons[i] = makePlayerButton(parent, names[i]);
        row->addWidget(m_buttons[i]);
    }
    const PlayerHandlers& h = m_handlers;
    QObject::connect(m_buttons[0], &QToolButton::clicked, context, pressedThen(h.playPause));
    QObject::connect(m_buttons[1], &QToolButton::clicked, context, pressedThen(h.stop));
    QObject::connect(m_buttons[2], &QToolButton::clicked, context, h.repeat);
    QObject::connect(m_buttons[3], &QToolButton::clicked, context, h.continuous);
    QObject::connect(m_buttons[4], &QToolButton::clicked, context, h.sound);
}

void PlayerButtons::installKeys(QWidget* page) const {
    setPlayerShortcutHint(m_buttons[0], QKeySequence(Qt::CTRL | Qt::Key_Space));
    setPlayerShortcutHint(m_buttons[1], QKeySequence(Qt::CTRL | Qt::Key_Period));
    installPlayerKeys(page, m_context, m_buttons[0], m_buttons[1], pressedThen(m_handlers.playPause),
                      pressedThen(m_handlers.stop), m_handlers.isPlaying);
}

std::function<void()> PlayerButtons::pressedThen(const std::function<void()>& action) const {
    return [userPressed = m_handlers.userPressed, action] {
        userPressed();
        action();
    };
}

void PlayerButtons::show(const playback::State& state) const {
    showPlayerState({m_buttons[0], m_buttons[1], m_buttons[2], m_buttons[3], m_buttons[4]}, state);
}

} // namespace lumora::platform
