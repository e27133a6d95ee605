#include "platform/linux/x11/X11KeyboardHook.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "platform/linux/x11/X11KeyMap.h"

namespace orvane {

namespace {

constexpr const char* kNoDisplay =
    "no X11 display: global key capture needs an X11 or XWayland session";

// Connections of ours on which a lost server must not end the process.
std::mutex ourDisplaysLock;
std::set<Display*>& ourDisplays() {
    static std::set<Display*> displays;
    return displays;
}
XIOErrorHandler previousIOErrorHandler = nullptr;

// Xlib's default answer to a lost server is to end the process. On our
// connections we return instead, so that the per-connection exit handler
// runs and the listener stops; every other connection keeps what it had.
int ioErrorHandler(Display* display) {
    {
        std::lock_guard lock(ourDisplaysLock);
        if (ourDisplays().count(display) != 0) {
            return 0;
        }
    }
    return previousIOErrorHandler != nullptr ? previousIOErrorHandler(display) : 0;
}

// Our connection is used by one thread at a time, but the toolkit may talk to
// Xlib on its own connections meanwhile.
void initXlib() {
    static std::once_flag once;
    std::call_once(once, [] {
        XInitThreads();
        previousIOErrorHandler = XSetIOErrorHandler(ioErrorHandler);
    });
}

struct Connection {
    Display* display = nullptr;
    int xiOpcode = 0;
    int xkbEventBase = 0;
};

// Opens `displayName` and makes sure it speaks XInput 2 and XKB; on failure
// closes it again and says why.
Connection openConnection(const std::string& displayName, std::string& error) {
    initXlib();
    Connection connection;
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        error = "cannot open the X11 display \"" + displayName +
                "\": global key capture needs an X11 or XWayland session";
        return connection;
    }
    int event = 0;
    int errorBase = 0;
    int xiOpcode = 0;
    // Raw events reach clients that announce 2.1 or later even while another
    // client grabs the keyboard, so ask for 2.2 and take any 2.x.
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode, &event, &errorBase) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        XCloseDisplay(display);
        error = "the X server on \"" + displayName +
                "\" has no XInput 2 extension: global key capture is not available";
        return connection;
    }
    int xkbOpcode = 0;
    int xkbEventBase = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &xkbOpcode, &xkbEventBase, &errorBase, &xkbMajor, &xkbMinor)) {
        XCloseDisplay(display);
        error = "the X server on \"" + displayName +
                "\" has no XKB extension: global key capture is not available";
        return connection;
    }
    connection.display = display;
    connection.xiOpcode = xiOpcode;
    connection.xkbEventBase = xkbEventBase;
    return connection;
}

// Stands in when there is no X server to listen to, and says why.
class UnavailableKeyboardHook final : public KeyboardHook {
  public:
    UnavailableKeyboardHook(Post post, std::string reason)
        : KeyboardHook(std::move(post)), reason(std::move(reason)) {}
    ~UnavailableKeyboardHook() override { detachBackend(); }

    bool available() const override { return false; }
    std::string startError() const override { return reason; }

  protected:
    bool startListening() override { return false; }
    void stopListening() override {}

  private:
    const std::string reason;
};

}  // namespace

struct X11KeyboardHook::Listener {
    Connection connection;
    int stopFd = -1;
    // Set by Xlib's exit handler when the server goes away; the thread then
    // ends instead of letting Xlib end the process.
    std::atomic<bool> lost{false};
    // Kept once the server has taken the event selection.
    std::promise<void> selected;
    std::thread thread;
};

X11KeyboardHook::X11KeyboardHook(Post post, std::string displayName)
    : KeyboardHook(std::move(post)), displayName(std::move(displayName)) {}

std::unique_ptr<X11KeyboardHook> X11KeyboardHook::create(Post post, const std::string& displayName,
                                                         std::string& error) {
    // A look at the server now, so that the application can tell the user
    // before anyone subscribes; the connection for listening opens later.
    const Connection probe = openConnection(displayName, error);
    if (probe.display == nullptr) {
        return nullptr;
    }
    XCloseDisplay(probe.display);
    return std::unique_ptr<X11KeyboardHook>(new X11KeyboardHook(std::move(post), displayName));
}

X11KeyboardHook::~X11KeyboardHook() {
    detachBackend();
}

bool X11KeyboardHook::available() const {
    std::lock_guard lock(errorLock);
    return error.empty();
}

std::string X11KeyboardHook::startError() const {
    std::lock_guard lock(errorLock);
    return error;
}

bool X11KeyboardHook::startListening() {
    std::string failure;
    Connection connection = openConnection(displayName, failure);
    int stopFd = -1;
    if (connection.display != nullptr) {
        stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (stopFd < 0) {
            XCloseDisplay(connection.display);
            connection.display = nullptr;
            failure = "cannot start the keyboard hook: out of file descriptors";
        }
    }
    {
        std::lock_guard lock(errorLock);
        error = failure;
    }
    if (connection.display == nullptr) {
        return false;
    }

    {
        std::lock_guard lock(ourDisplaysLock);
        ourDisplays().insert(connection.display);
    }
    listener = std::make_unique<Listener>();
    listener->connection = connection;
    listener->stopFd = stopFd;
    XSetIOErrorExitHandler(
        connection.display, [](Display*, void* data) { static_cast<Listener*>(data)->lost = true; },
        listener.get());
    std::future<void> selected = listener->selected.get_future();
    listener->thread = std::thread([this, state = listener.get()] { run(*state); });
    // A key pressed right after subscribing must not be missed: wait until the
    // server has the selection (bounded, for a server that stopped answering).
    selected.wait_for(std::chrono::seconds(2));
    return true;
}

void X11KeyboardHook::stopListening() {
    if (!listener) {
        return;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(listener->stopFd, &one, sizeof one);
    listener->thread.join();
    ::close(listener->stopFd);
    listener.reset();
}

void X11KeyboardHook::run(Listener& state) {
    // Writing to a server that has gone raises SIGPIPE, which would end the
    // process. Blocked here, it stays pending on this thread and is dropped
    // with it; so every request on our connection, to the last, goes from here.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    Display* display = state.connection.display;
    unsigned char maskBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(maskBits, XI_RawKeyPress);
    XISetMask(maskBits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof maskBits), maskBits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    // A new layout changes which keysym a key carries.
    XkbSelectEvents(display, XkbUseCoreKbd, XkbMapNotifyMask, XkbMapNotifyMask);
    // The round trip makes sure the server acts on the selection before the
    // subscriber is told it is listening.
    XSync(display, False);
    state.selected.set_value();
    const int numLockMask = static_cast<int>(XkbKeysymToModifiers(display, XK_Num_Lock));

    const auto keyOf = [&](int keycode) {
        const auto code = static_cast<KeyCode>(keycode);
        const auto level0 = static_cast<std::uint32_t>(XkbKeycodeToKeysym(display, code, 0, 0));
        const auto level1 = static_cast<std::uint32_t>(XkbKeycodeToKeysym(display, code, 0, 1));
        bool numLock = false;
        if (level0 != keysymForKey(level0, level1, true)) {
            XkbStateRec keyboard{};
            numLock = XkbGetState(display, XkbUseCoreKbd, &keyboard) == Success &&
                      (keyboard.locked_mods & numLockMask) != 0;
        }
        return virtualKeyOfKeysym(keysymForKey(level0, level1, numLock));
    };

    const auto handle = [&](XEvent& event) {
        if (event.type == state.connection.xkbEventBase) {
            auto& xkb = reinterpret_cast<XkbEvent&>(event);
            if (xkb.any.xkb_type == XkbMapNotify) {
                XkbRefreshKeyboardMapping(&xkb.map);
            }
            return;
        }
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != state.connection.xiOpcode ||
            !XGetEventData(display, &cookie)) {
            return;
        }
        if (cookie.evtype == XI_RawKeyPress || cookie.evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
            if (const int virtualKey = keyOf(raw->detail); virtualKey != 0) {
                deliver({virtualKey, cookie.evtype == XI_RawKeyRelease, systemClock().now()});
            }
        }
        XFreeEventData(display, &cookie);
    };

    const int serverFd = ConnectionNumber(display);
    while (!state.lost) {
        // Xlib may already hold events it read with an earlier reply; poll
        // only once its queue is empty.
        while (!state.lost && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            handle(event);
        }
        if (state.lost) {
            break;
        }
        pollfd waits[2] = {{serverFd, POLLIN, 0}, {state.stopFd, POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0 && errno != EINTR) {
            break;
        }
        if (waits[1].revents != 0) {
            break;
        }
        if ((waits[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            state.lost = true;
        }
    }
    XCloseDisplay(display);
    {
        std::lock_guard lock(ourDisplaysLock);
        ourDisplays().erase(display);
    }
    if (state.lost) {
        {
            std::lock_guard lock(errorLock);
            error = "the X server on \"" + displayName + "\" went away";
        }
        // A recording must not go on looking as if it heard keys.
        deliverLoss();
    }
}

std::unique_ptr<KeyboardHook> createKeyboardHook(KeyboardHook::Post post) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        return std::make_unique<UnavailableKeyboardHook>(std::move(post), kNoDisplay);
    }
    std::string error;
    if (auto hook = X11KeyboardHook::create(post, display, error)) {
        return hook;
    }
    return std::make_unique<UnavailableKeyboardHook>(std::move(post), error);
}

}  // namespace orvane
