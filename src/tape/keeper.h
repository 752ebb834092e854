#pragma once
// Keeping the tape: after every change the tape on view is written to this session's own file in
// the state folder, on a thread of its own, so a key press never waits for the disk. Changes close
// together are kept as one, at most a quarter of a second after the first; the end of the program
// waits until the last change is kept.
#include <QObject>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "files/keptfiles.h"

class TapeKeeper : public QObject {
    Q_OBJECT

public:
    // `snapshot` gives the tape file's bytes of the tape on view; it runs on the caller's thread.
    TapeKeeper(std::string folder, std::function<std::string()> snapshot, QObject* parent = nullptr);
    // Keeps what is still pending, as finish() does.
    ~TapeKeeper() override;

    const std::string& folder() const { return folder_; }
    // The tape changed; it is kept shortly on the keeping thread.
    void changed();
    // Keeps the tape now and waits at most `wait` for it; true when the tape on view is kept.
    bool flush(std::chrono::milliseconds wait);
    // The program ends: keeps the tape, stops the thread, and lets other programs take this
    // session's tape for an ended one. A tape that could not be kept is said on standard error.
    void finish();
    // Why the last keep failed; empty when the tape on view is kept.
    std::string problem() const;

signals:
    // The first time keeping fails, with the reason; later failures are retried quietly.
    void failed(const QString& why);

private:
    std::string folder_;
    std::function<std::string()> snapshot_;
    QTimer settle_;
    bool dirty_ = false;

    // What the keeping thread shares; it outlives this object should the end not wait for a
    // write that hangs.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake, done;
        std::optional<std::string> pending;
        std::string problem;
        unsigned long handed = 0, tried = 0, kept = 0;
        bool stop = false, told = false;
    };
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::thread worker_;

    void hand();
    static void run(std::shared_ptr<Shared> shared, std::string folder, TapeKeeper* keeper);
};
