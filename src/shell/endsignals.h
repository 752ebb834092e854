#pragma once
// SIGTERM (a logout, a shutdown), SIGHUP (a closed terminal) and SIGINT (Ctrl+C) turned into a
// signal of the event loop, so the program ends through its normal end and keeps its tape. The
// handler only writes to a pipe; a second such signal while ending ends the program at once.
#include <QObject>

class QSocketNotifier;

class EndSignals : public QObject {
    Q_OBJECT

public:
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;

signals:
    void endRequested(int signalNumber);

private:
    QSocketNotifier* notifier_ = nullptr;
};
