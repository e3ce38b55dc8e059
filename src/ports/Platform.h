#pragma once

namespace fenwold {

class MainQueue;
class SerialQueue;
class BackgroundTasks;
class PrefsStore;
class Workspace;
class Accessibility;
class WindowServer;
class ScreenCapture;
class Screens;
class Pasteboard;
class Processes;
class InputSources;
class KeyboardLayout;
class PrivateServices;
class KeySender;
class ClickSender;
class EventTapHost;
class SecureInput;
class LoginItems;
class Updates;
class AppShell;
class Log;
class WallClock;

// Every port of one platform, as the composition root hands them out. Not owning.
struct Platform {
    MainQueue* mainQueue = nullptr;
    SerialQueue* clipboardQueue = nullptr;
    BackgroundTasks* background = nullptr;
    PrefsStore* prefs = nullptr;
    Workspace* workspace = nullptr;
    Accessibility* accessibility = nullptr;
    WindowServer* windowServer = nullptr;
    ScreenCapture* screenCapture = nullptr;
    Screens* screens = nullptr;
    Pasteboard* pasteboard = nullptr;
    Processes* processes = nullptr;
    InputSources* inputSources = nullptr;
    KeyboardLayout* keyboardLayout = nullptr;
    PrivateServices* privateServices = nullptr;
    KeySender* keySender = nullptr;
    ClickSender* clickSender = nullptr;
    EventTapHost* eventTap = nullptr;
    SecureInput* secureInput = nullptr;
    LoginItems* loginItems = nullptr;
    Updates* updates = nullptr;
    AppShell* appShell = nullptr;
    Log* log = nullptr;
    WallClock* clock = nullptr;
};

} // namespace fenwold
