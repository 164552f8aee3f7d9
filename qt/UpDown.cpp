// An up-down spinner attached to an edit box: two arrow buttons that step a position within a
// range (no wrap-around) and write it into the box as plain decimal.
#include "qt/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <string>

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    for (QToolButton* button : {m_up, m_down}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true); // holding an arrow keeps stepping
        button->setIconSize(QSize(6, 6));
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    setFocusPolicy(Qt::NoFocus);
}

void UpDown::setRange(const SpinRange& range)
{
    m_range = range;
    setPosition(m_position);
}

void UpDown::setPosition(int position)
{
    m_position = m_range.clamp(position);
}

void UpDown::setBuddy(QLineEdit* buddy)
{
    if (m_buddy) {
        m_buddy->removeEventFilter(this);
        disconnect(m_buddy, nullptr, this, nullptr);
    }
    m_buddy = buddy;
    m_watched = buddy;
    if (m_buddy) {
        m_buddy->installEventFilter(this);
        connect(m_buddy, &QObject::destroyed, this, [this] {
            m_buddy = nullptr;
            m_watched = nullptr;
        });
    }
}

void UpDown::step(int direction)
{
    const std::string typed = m_buddy ? m_buddy->text().toStdString() : std::string();
    m_position = spinStep(m_range, m_position, typed, direction);
    if (m_buddy)
        m_buddy->setText(QString::number(m_position));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched && m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
