#include "app/frmsplash.h"

#include "platform/clicks.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

#include <cstdlib>

namespace lumora::app {

namespace {

constexpr QSize kPictureSize(560, 340);

// Night blue with an open book giving light, the program's name under it.
QPixmap drawPicture() {
    QPixmap pixmap(kPictureSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPictureSize.height());
    sky.setColorAt(0, QColor(0x14, 0x24, 0x4a));
    sky.setColorAt(1, QColor(0x3a, 0x1f, 0x5c));
    p.fillRect(pixmap.rect(), sky);

    const QPointF centre(kPictureSize.width() / 2.0, 150);
    QRadialGradient glow(centre, 170);
    glow.setColorAt(0, QColor(255, 230, 160, 170));
    glow.setColorAt(1, QColor(255, 230, 160, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, 170, 170);
    p.setPen(QPen(QColor(255, 236, 180, 90), 2));
    for (int i = -5; i <= 5; ++i) {
        const double x = centre.x() + i * 34;
        p.drawLine(QPointF(centre.x(), centre.y() - 10), QPointF(x, 20));
    }

    // The open book: two pages curving away from the spine.
    auto page = [&](double side) {
        QPainterPath path;
        const double x0 = centre.x(), y0 = centre.y() + 36;
        path.moveTo(x0, y0);
        path.cubicTo(x0 + side * 40, y0 - 22, x0 + side * 90, y0 - 18, x0 + side * 120, y0 - 6);
        path.lineTo(x0 + side * 120, y0 - 70);
        path.cubicTo(x0 + side * 90, y0 - 82, x0 + side * 40, y0 - 86, x0, y0 - 64);
        path.closeSubpath();
        p.setPen(QPen(QColor(0x8a, 0x6d, 0x3b), 2));
        p.setBrush(QColor(0xfb, 0xf4, 0xe2));
        p.drawPath(path);
        p.setPen(QPen(QColor(0xb9, 0xa7, 0x86), 1.2));
        for (int line = 1; line <= 4; ++line) {
            const double y = y0 - 64 + line * 11;
            p.drawLine(QPointF(x0 + side * 18, y - 2), QPointF(x0 + side * 104, y + 2));
        }
    };
    page(-1);
    page(1);

    QFont title(QStringLiteral("Serif"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0xff, 0xf3, 0xd6));
    p.drawText(QRect(0, 200, kPictureSize.width(), 70), Qt::AlignCenter, QStringLiteral("Lumora"));
    QFont sub = title;
    sub.setPixelSize(18);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(QColor(0xd9, 0xcf, 0xf0));
    p.drawText(QRect(0, 264, kPictureSize.width(), 30), Qt::AlignCenter, QStringLiteral("Bible · Cantiques"));
    return pixmap;
}

// A small golden star on a transparent ground.
QPixmap drawSprite() {
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath star;
    const QPointF c(11, 11);
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 10.5 : 4.2;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0x9c, 0x6b, 0x00), 1));
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawPath(star);
    return pixmap;
}

const QString kSkipStyle =
    QStringLiteral("QLabel { color: #fff3d6; background: rgba(0,0,0,90); padding: 4px; }");
const QString kSkipHighlight =
    QStringLiteral("QLabel { color: #14244a; background: #ffd54f; padding: 4px; }");

} // namespace

SpriteMotion nextSpriteMotion(const SpriteMotion& now, QSize sprite, QSize bounds) {
    SpriteMotion next = now;
    auto axis = [](int pos, int& step, int size, int bound) {
        const int ahead = pos + step;
        if (ahead + size > bound)
            step = -std::abs(step);
        else if (ahead < 0)
            step = std::abs(step);
        return pos + step;
    };
    next.position.setX(axis(now.position.x(), next.step.rx(), sprite.width(), bounds.width()));
    next.position.setY(axis(now.position.y(), next.step.ry(), sprite.height(), bounds.height()));
    return next;
}

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_picture(drawPicture()), m_sprite(drawSprite()), tmrBounce(new QTimer(this)), tmr(new QTimer(this)),
      Lbl_PasserIntro(new QLabel(QStringLiteral(" Passez l'intro "), this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Lumora"));
    setAccessibleName(QStringLiteral("Lumora is starting"));
    setFixedSize(kPictureSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    tmrBounce->setObjectName(QStringLiteral("tmrBounce"));
    tmrBounce->setInterval(1);
    connect(tmrBounce, &QTimer::timeout, this, &FrmSplash::bounceTick);
    tmr->setObjectName(QStringLiteral("tmr"));
    tmr->setInterval(1000);
    connect(tmr, &QTimer::timeout, this, &FrmSplash::secondTick);

    Lbl_PasserIntro->setObjectName(QStringLiteral("Lbl_PasserIntro"));
    Lbl_PasserIntro->setAccessibleName(QStringLiteral("Skip the introduction"));
    Lbl_PasserIntro->setCursor(Qt::PointingHandCursor);
    Lbl_PasserIntro->setFocusPolicy(Qt::StrongFocus);
    Lbl_PasserIntro->setStyleSheet(kSkipStyle);
    Lbl_PasserIntro->adjustSize();
    Lbl_PasserIntro->move(width() - Lbl_PasserIntro->width() - 12, height() - Lbl_PasserIntro->height() - 10);
    Lbl_PasserIntro->installEventFilter(this);
    Lbl_PasserIntro->hide();

    toggleAnimation();
}

void FrmSplash::CloseAfter(int seconds) {
    m_limit = seconds;
    tmr->start();
}

void FrmSplash::showSkipLabel() {
    Lbl_PasserIntro->show();
}

void FrmSplash::toggleAnimation() {
    if (m_bounceRunning) {
        tmrBounce->stop();
        m_bounceRunning = false;
        update(spriteRect());
        return;
    }
    m_motion.step = {1, 1};
    m_bounceRunning = true;
    if (!isMinimized()) tmrBounce->start();
    update(spriteRect());
}

void FrmSplash::bounceTick() {
    const QRect before = spriteRect();
    m_motion = nextSpriteMotion(m_motion, m_sprite.size(), size());
    update(before.united(spriteRect()));
}

void FrmSplash::secondTick() {
    ++m_seconds;
    if (m_seconds >= m_limit) close();
}

void FrmSplash::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawPixmap(event->rect(), m_picture, event->rect());
    if (m_bounceRunning) p.drawPixmap(m_motion.position, m_sprite);
}

void FrmSplash::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) toggleAnimation();
}

void FrmSplash::mouseDoubleClickEvent(QMouseEvent*) {
    close();
}

void FrmSplash::mouseMoveEvent(QMouseEvent*) {
    setSkipHighlight(false);
}

void FrmSplash::changeEvent(QEvent* event) {
    // The sprite rests while the window is minimised and goes on where it was when it comes back.
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized() && tmrBounce->isActive()) {
            tmrBounce->stop();
            m_pausedByMinimise = true;
        } else if (!isMinimized() && m_pausedByMinimise) {
            m_pausedByMinimise = false;
            if (m_bounceRunning) tmrBounce->start();
        }
    }
    QWidget::changeEvent(event);
}

void FrmSplash::closeEvent(QCloseEvent* event) {
    tmr->stop();
    tmrBounce->stop();
    m_bounceRunning = false;
    QWidget::closeEvent(event);
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Lbl_PasserIntro) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            setSkipHighlight(true);
            break;
        case QEvent::MouseButtonRelease:
            if (platform::isClickRelease(watched, event)) close();
            return true;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                close();
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmSplash::setSkipHighlight(bool on) {
    Lbl_PasserIntro->setStyleSheet(on ? kSkipHighlight : kSkipStyle);
}

} // namespace lumora::app
