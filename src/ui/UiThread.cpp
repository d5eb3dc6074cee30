#include "ui/UiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace vpsdesk::ui {
namespace {

// Whether calls may be posted, and where to. Never destroyed: detached workers may still
// ask after static destruction has begun.
struct Gate {
    std::mutex mutex;
    QObject* dispatcher = nullptr;
    std::thread::id ui_thread;
};

Gate& TheGate() {
    static Gate* gate = new Gate;
    return *gate;
}

// One posted call as the waiting worker sees it.
struct Completion {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool ran = false;

    void Finish(bool has_run) {
        std::lock_guard lock(mutex);
        if (done) return;
        done = true;
        ran = has_run;
        finished.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(mutex);
        finished.wait(lock, [this] { return done; });
        return ran;
    }
};

// Travels inside the posted event. If Qt discards the event unrun (its receiver is being
// destroyed), the ticket's destruction still releases the worker.
struct Ticket {
    explicit Ticket(std::shared_ptr<Completion> c) : completion(std::move(c)) {}
    ~Ticket() { completion->Finish(false); }
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;
    std::shared_ptr<Completion> completion;
};

class Dispatcher : public QObject {
public:
    explicit Dispatcher(QObject* parent) : QObject(parent) {}
    ~Dispatcher() override { Close(); }

    // Stops accepting calls and drops the ones still queued, which releases their workers.
    void Close() {
        {
            Gate& gate = TheGate();
            std::lock_guard lock(gate.mutex);
            if (gate.dispatcher == this) {
                gate.dispatcher = nullptr;
                gate.ui_thread = {};
            }
        }
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    }
};

// Runs in the QCoreApplication constructor, on the thread that becomes the UI thread.
void InstallDispatcher() {
    auto* dispatcher = new Dispatcher(QCoreApplication::instance());
    {
        Gate& gate = TheGate();
        std::lock_guard lock(gate.mutex);
        gate.dispatcher = dispatcher;
        gate.ui_thread = std::this_thread::get_id();
    }
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, dispatcher,
                     [dispatcher] { dispatcher->Close(); });
}

Q_COREAPP_STARTUP_FUNCTION(InstallDispatcher)

}  // namespace

bool IsUiThread() {
    Gate& gate = TheGate();
    std::lock_guard lock(gate.mutex);
    return gate.dispatcher != nullptr && gate.ui_thread == std::this_thread::get_id();
}

bool OnUiThread(const std::function<void()>& fn) {
    if (!fn) return false;
    Gate& gate = TheGate();
    std::unique_lock lock(gate.mutex);
    if (gate.dispatcher == nullptr) return false;
    if (gate.ui_thread == std::this_thread::get_id()) {
        lock.unlock();
        fn();
        return true;
    }
    // Not Qt::BlockingQueuedConnection: the call is posted under the gate's lock, so it is
    // either posted before shut-down (and then run or dropped) or refused; and the worker
    // waits on our own completion, which a dropped call also signals.
    // The ticket must live only in the posted functor, or a dropped call would never
    // release its worker.
    auto completion = std::make_shared<Completion>();
    QMetaObject::invokeMethod(
        gate.dispatcher,
        [ticket = std::make_shared<Ticket>(completion), &fn] {
            // Pairs with the worker's unlock after posting: everything the worker wrote
            // before the call is visible here.
            { std::lock_guard sync(TheGate().mutex); }
            fn();
            ticket->completion->Finish(true);
        },
        Qt::QueuedConnection);
    lock.unlock();
    return completion->Wait();
}

}  // namespace vpsdesk::ui
