// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal, so that a logout closes the program
// like "終了(&X)" does (settings saved, tray icon removed) instead of killing it. A signal that
// arrives before the event loop runs is kept until it does; one ignored at start stays ignored.
// Defined per platform build; it never fires where there are no such signals.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignal : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

signals:
    void received();

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};
