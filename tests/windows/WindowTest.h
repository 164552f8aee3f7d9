// Helpers shared by the window tests: acting on a modal dialog while its run is going on.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs the action on the dialog of the given class as soon as it is up, once.
template <typename Dialog> void whenModal(std::function<void(Dialog&)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        Dialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && qobject_cast<Dialog*>(window))
                dialog = qobject_cast<Dialog*>(window);
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        action(*dialog);
    });
    poll->start();
}
