#include "shell/endsignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int pipeEnds[2] = {-1, -1};
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

void onSignal(int number) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}
} // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(pipeEnds[0], &byte, 1) == 1)
            emit endRequested(byte);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: should the normal end hang, the same signal again ends the program.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int number : kEndSignals)
        ::sigaction(number, &action, nullptr);
}

EndSignals::~EndSignals() {
    for (int number : kEndSignals)
        std::signal(number, SIG_DFL);
}
