#pragma once

#include <QObject>
#include <atomic>
#include <functional>

#include "engine/ProgressSink.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

// A benchmark thread's messages delivered on the receiver's (the GUI)
// thread: `send` waits until the handler has run, as the window messages
// always did; `post` queues and returns. The receiver must outlive the run:
// its owner calls detach() and waits for ended() before it goes.
class QtProgressSink final : public engine::ProgressSink {
public:
    using Handler = std::function<void(engine::WindowMessage, std::int64_t, std::int64_t)>;

    QtProgressSink(QObject& receiver, Handler onSend, Handler onPost);

    // A post handler that hands the message to the main frame as a request.
    static Handler sendingTo(FrameRequests& frame) {
        return [&frame](engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) {
            frame.sendRequest(static_cast<int>(message), wParam, lParam);
        };
    }

    void send(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override;
    void post(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) override;

    // A new run begins: the end has not been posted yet.
    void rearm() { ended_.store(false); }
    // The run has posted its end; its thread sends nothing more.
    bool ended() const { return ended_.load(); }
    // From now on nothing reaches the handlers; sends return at once.
    void detach() { detached_.store(true); }

private:
    // A raw pointer on purpose: it is read from the benchmark threads, and
    // the owner keeps the receiver alive until the run has ended.
    QObject* receiver_;
    Handler onSend_;
    Handler onPost_;
    std::atomic<bool> ended_{true};
    std::atomic<bool> detached_{false};
};

// For a window that goes away with a run still going: detaches the sink and
// serves the GUI thread's events until the run has posted its end, so no
// benchmark thread is left blocked in a send.
void drainRun(QtProgressSink& sink, const std::function<bool()>& inProgress);

}  // namespace veltrane::shell
