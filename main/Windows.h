#pragma once
// The child windows of the main window: one instance of each kind, created on first use,
// shown modeless inside the main window, unloaded (deleted) when closed. Each window module
// registers how to build its window (WindowCatalog.cpp); menu items and toolbar keys open a
// kind through Open(), and do nothing for a kind nobody registered.

#include <QPointer>
#include <QWidget>
#include <functional>

namespace Windows {

enum class Kind {
    Save,
    Logging,
    RegMap,
    Graph,
    Limits,
    FanConfig,
    PECI,
    GenConfig,
    VoltConfig,
    Therm,
    AutoGraph,
    DynamicTmin,
    ManualControl,
    Heaters,
    Switches,
    About,
};

using Factory = std::function<QWidget*()>;

// Registers how to build a window kind (the window's constructor is its load).
void Register(Kind kind, Factory factory);

// Loads the window if it is not loaded and shows it inside the main window; an open window is
// brought to the front. Returns the window, or nullptr when the kind has no factory.
QWidget* Open(Kind kind);

// The loaded window of a kind, or nullptr.
QWidget* Find(Kind kind);
template <class T>
T* FindAs(Kind kind) {
    return qobject_cast<T*>(Find(kind));
}

// Closes (unloads) one window, with the frame that holds it inside the main window. Windows
// call this from their own "OK", "Close" and "Cancel" buttons.
void Close(QWidget* window);

// Closes (unloads) every loaded child window; each one's destructor runs.
void UnloadAll();

// How a window is shown inside the main window; the main window installs it. Without a host
// (tests) a window is shown on its own.
void SetHost(std::function<void(QWidget*)> showInside);

// Registers every window kind of the program (WindowCatalog.cpp).
void RegisterAllWindows();

}  // namespace Windows
