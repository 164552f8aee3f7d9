// An up-down spinner attached to an edit box: two arrow buttons that step a position within a
// range (no wrap-around) and write it into the box as plain decimal.
#include "windows/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

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

void UpDown::setMinimum(int minimum)
{
    m_minimum = minimum;
    setPosition(m_position);
}

void UpDown::setMaximum(int maximum)
{
    m_maximum = maximum;
    setPosition(m_position);
}

void UpDown::setIncrement(int increment)
{
    m_increment = increment;
}

void UpDown::setPosition(int position)
{
    m_position = std::clamp(position, m_minimum, std::max(m_minimum, m_maximum));
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
    adoptBuddyText();
    const long long next = static_cast<long long>(m_position) +
                           (direction > 0 ? m_increment : -static_cast<long long>(m_increment));
    m_position =
        static_cast<int>(std::clamp<long long>(next, m_minimum, std::max(m_minimum, m_maximum)));
    if (m_buddy)
        m_buddy->setText(QString::number(m_position));
}

// A number the user typed into the box is where the next step starts from, as long as it is
// plain decimal within the range; anything else leaves the position as it was.
void UpDown::adoptBuddyText()
{
    if (!m_buddy)
        return;
    bool ok = false;
    const int typed = m_buddy->text().trimmed().toInt(&ok, 10);
    if (ok && typed >= m_minimum && typed <= m_maximum)
        m_position = typed;
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
