// Requests to end the program that come from outside the window system: a
// desktop session or service manager that ends (SIGTERM), a terminal that
// goes away (SIGHUP), Ctrl+C in the terminal that started it (SIGINT).
// Each becomes a call on the event loop's thread, so the program can close
// its window, and save, as it does when the user closes it, instead of
// being cut off with the user's changes unsaved.
#pragma once

#include <functional>

class QObject;

namespace tarvok {

// From now on each such signal calls `onRequest` on `context`'s thread (the
// signal handler itself only wakes the event loop). One handler per
// program: a later call replaces the earlier. After `context` is gone the
// signals are taken but nothing is called.
void onTerminationRequest(QObject* context, std::function<void()> onRequest);

}  // namespace tarvok
