// Requests to end the program that come from outside the window system: a
// desktop session or service manager that ends (SIGTERM), a terminal that
// goes away (SIGHUP), Ctrl+C in the terminal that started it (SIGINT).
// Each becomes a call on the event loop's thread, so the program can close
// its window, and save, as it does when the user closes it, instead of
// being cut off with the user's changes unsaved.
#pragma once

#include <chrono>
#include <functional>

class QObject;

namespace tarvok {

// From now on each such signal calls `onRequest` on `context`'s thread (the
// signal handler itself only wakes the event loop). One handler per
// program: a later call replaces the earlier. After `context` is gone the
// signals are taken but nothing is called.
//
// With `endWithin` above zero the end is bounded: a program still running
// that long after the first request (a save that hangs on a dead disk, a
// question nobody answers) ends as the signal's default action ends it.
// Later requests call `onRequest` again but neither hurry nor delay that
// end, so a session that sends SIGTERM and SIGHUP together still gets its
// save.
void onTerminationRequest(QObject* context, std::function<void()> onRequest,
                          std::chrono::seconds endWithin = std::chrono::seconds::zero());

// How long the navigator and the settings program have to end after a
// request from outside before they are ended as the signal ends them:
// ample for closing the window and saving, short enough that a session
// ending is not held up by a hang.
inline constexpr std::chrono::seconds kEndRequestBound{5};

}  // namespace tarvok
