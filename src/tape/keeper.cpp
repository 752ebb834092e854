#include "tape/keeper.h"

#include <cstdio>

namespace {
// Bursts of keys are kept as one; a power cut loses at most this and one write.
constexpr int kSettleMs = 250;
// While keeping fails it is tried again this often, and at every change.
constexpr auto kRetry = std::chrono::seconds(5);
} // namespace

TapeKeeper::TapeKeeper(std::string folder, std::function<std::string()> snapshot, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), snapshot_(std::move(snapshot)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { hand(); });
    worker_ = std::thread(run, shared_, folder_, this);
}

TapeKeeper::~TapeKeeper() {
    finish();
}

void TapeKeeper::changed() {
    dirty_ = true;
    if (!settle_.isActive())
        settle_.start();
}

void TapeKeeper::hand() {
    settle_.stop();
    if (!dirty_)
        return;
    dirty_ = false;
    std::string bytes = snapshot_();
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->pending = std::move(bytes);
        ++shared_->handed;
    }
    shared_->wake.notify_one();
}

bool TapeKeeper::flush(std::chrono::milliseconds wait) {
    hand();
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    s.done.wait_for(lock, wait, [&s] { return s.tried == s.handed || s.stop; });
    return s.kept == s.handed;
}

std::string TapeKeeper::problem() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->kept == shared_->handed ? std::string() : shared_->problem;
}

void TapeKeeper::finish() {
    if (!worker_.joinable())
        return;
    // A folder on a lost network share may not answer: the end waits for it only so long.
    const bool kept = flush(std::chrono::seconds(10));
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->wake.notify_one();
    if (kept)
        worker_.join();
    else
        worker_.detach(); // a hung write finishes on its own, on the state it shares
    if (!kept)
        std::fprintf(stderr, "tallyroll: the tape could not be kept in %s: %s\n", folder_.c_str(), problem().c_str());
}

void TapeKeeper::run(std::shared_ptr<Shared> shared, std::string folder, TapeKeeper* keeper) {
    Shared& s = *shared;
    tally::KeptSession session(folder);
    std::string bytes;
    unsigned long generation = 0;
    bool pruned = false;
    std::unique_lock lock(s.mutex);
    for (;;) {
        const bool failing = s.tried != s.kept;
        auto ready = [&s] { return s.stop || s.pending.has_value(); };
        if (failing)
            s.wake.wait_for(lock, kRetry, ready);
        else
            s.wake.wait(lock, ready);
        if (s.pending) {
            bytes = std::move(*s.pending);
            s.pending.reset();
            generation = s.handed;
        } else if (s.stop || !failing) {
            break;
        }
        lock.unlock();
        const tally::Result<> result = session.keep(bytes);
        if (result && !pruned)
            tally::pruneKeptTapes(folder), pruned = true;
        lock.lock();
        s.tried = generation;
        if (result) {
            s.kept = generation;
        } else {
            s.problem = result.reason();
            // Under the lock and before the end: the keeper still exists to tell it.
            if (!s.stop && !std::exchange(s.told, true))
                QMetaObject::invokeMethod(
                    keeper, [keeper, why = QString::fromStdString(s.problem)] { emit keeper->failed(why); },
                    Qt::QueuedConnection);
        }
        s.done.notify_all();
        if (s.stop && !s.pending)
            break;
    }
}
