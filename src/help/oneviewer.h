#pragma once
// One help window per user: a viewer started while another is open hands over to it, and the open
// one comes to the front, so F1 pressed twice shows the same window.
#include <QLocalServer>
#include <QObject>

namespace tally {

class OneViewer : public QObject {
    Q_OBJECT
public:
    // `address`: the local socket the viewers meet at; oneViewerAddress() for the user's own.
    explicit OneViewer(QString address, QObject* parent = nullptr);

    // True when this process is to show the manual; false when an open viewer was found and asked
    // to come to the front. A viewer that cannot listen shows its window all the same.
    bool claim();

signals:
    void raiseRequested();

private:
    bool askOpenViewer();
    QString address_;
    QLocalServer server_;
};

// A socket in the user's runtime folder, which only the user may enter.
QString oneViewerAddress();

} // namespace tally
