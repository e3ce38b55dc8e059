#pragma once

#include "BrowserApp.h"
#include "FinderApp.h"
#include "GuestPcApp.h"
#include "ImageViewerApp.h"
#include "PasswordManagerApp.h"
#include "TerminalApp.h"
#include "TextEditorApp.h"
#include "UtilityApp.h"

#include <deque>
#include <memory>
#include <mutex>

namespace fenwold {

// The applications of a playground session and the road keys take to them: keys posted by the
// program to a pid and keys the tap passed to the front application. Posted keys are queued and
// handled by `flush()`, outside the tap callback that posted them, as a real process would.
class SimApps {
public:
    explicit SimApps(SimSession& session);
    SimApps(const SimApps&) = delete;
    SimApps& operator=(const SimApps&) = delete;
    ~SimApps();

    // Open the standard desktop: two editor documents, a terminal, two Finder folders, three
    // browser windows, a picture, the password vault and a guest PC's screen; the editor is in
    // front.
    void populate();

    TextEditorApp& editor() { return editor_; }
    TerminalApp& terminal() { return terminal_; }
    FinderApp& finder() { return finder_; }
    BrowserApp& browser() { return browser_; }
    ImageViewerApp& viewer() { return viewer_; }
    PasswordManagerApp& vault() { return vault_; }
    GuestPcApp& guest() { return guest_; }
    std::vector<SimApplication*> all();
    SimApplication* byPid(int32_t pid);
    SimApplication* front();

    // Act out an address the program opened, as the Mac's workspace would: an application is
    // brought forward with a window (one of the small utilities launched first), a folder opens
    // in Finder. Answers what happened, in words, or nothing when no application opens it.
    std::optional<QString> open(const QUrl& url);

    // A key-down reached a process.
    void deliver(int32_t pid, const AppKey& key);
    // Let applications react to the keys posted to them since the last call; how many.
    int flush();
    // Told about every key posted to a process (down and up), when it is delivered.
    std::function<void(const PostedKey&)> onPosted;

private:
    void focusFront();

    SimSession& session_;
    TextEditorApp editor_;
    TerminalApp terminal_;
    FinderApp finder_;
    BrowserApp browser_;
    ImageViewerApp viewer_;
    PasswordManagerApp vault_;
    GuestPcApp guest_;
    std::vector<std::unique_ptr<UtilityApp>> utilities_; // launched when first opened
    std::mutex mutex_;
    std::deque<PostedKey> pending_;
    Subscription workspaceSub_;
};

} // namespace fenwold
