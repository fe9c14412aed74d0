#pragma once
// Message boxes of the output routing: the synchronous box with icon prefixes in its caption, the
// asynchronous error box, and the box that fatal file problems show once per process.
#include <atomic>

// Formats the text (at most 1,023 characters) and shows it with the desktop as owner; answers the button
// pressed, 0 when nothing was formatted. With `type` 0 a caption beginning with "*", "!" or "?" chooses the
// error icon, the warning icon, or the question icon with Yes and No; that character is not shown.
int mMessageBox(int type, const char* caption, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Shows `text` in a system-modal error box on a thread of its own and returns at once (the text is copied).
void showAsyncErrorBox(char* text);

// Waits until every asynchronous error box shown so far is closed.
void waitForAsyncErrorBoxes();

// An error box that a fatal file problem (a missing definition or grid file) shows the first time only in the
// process; each kind of problem keeps its own instance.
class OncePerProcessBox {
public:
    // Shows `text` as text and caption the first time; answers whether the box was shown.
    bool show(const char* text);

private:
    std::atomic<unsigned> shownInGeneration_{0};
};

// Lets every OncePerProcessBox show its box again (tests).
void resetOncePerProcessBoxes();
