#include "shell/QtProgressSink.h"

#include <QCoreApplication>
#include <QThread>

namespace veltrane::shell {

QtProgressSink::QtProgressSink(QObject& receiver, Handler onSend, Handler onPost)
    : receiver_(&receiver), onSend_(std::move(onSend)), onPost_(std::move(onPost)) {}

void QtProgressSink::send(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) {
    if (detached_.load()) {
        return;
    }
    auto deliver = [this, message, wParam, lParam] {
        if (!detached_.load()) {
            onSend_(message, wParam, lParam);
        }
    };
    if (QThread::currentThread() == receiver_->thread()) {
        deliver();
        return;
    }
    QMetaObject::invokeMethod(receiver_, deliver, Qt::BlockingQueuedConnection);
}

void QtProgressSink::post(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam) {
    auto deliver = [this, message, wParam, lParam] {
        if (!detached_.load()) {
            onPost_(message, wParam, lParam);
        }
    };
    if (message == engine::WM_BENCH_DONE) {
        ended_.store(true);
    }
    QMetaObject::invokeMethod(receiver_, deliver, Qt::QueuedConnection);
}

void drainRun(QtProgressSink& sink, const std::function<bool()>& inProgress) {
    sink.detach();
    while (inProgress() && !sink.ended()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

}  // namespace veltrane::shell
