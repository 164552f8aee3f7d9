// Helpers shared by the window tests: acting on a modal dialog while its run is going on.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// The visible dialog made from the layout of that name ("FormConfig", "FormAbout", ...).
inline QDialog* visibleDialog(const QString& layout)
{
    QDialog* found = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->objectName() == layout && qobject_cast<QDialog*>(window))
            found = qobject_cast<QDialog*>(window);
    return found;
}

// Runs the action on the dialog of the given layout as soon as it is up, once.
inline void whenModal(const QString& layout, std::function<void(QDialog&)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, layout, action] {
        QDialog* dialog = visibleDialog(layout);
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        action(*dialog);
    });
    poll->start();
}
