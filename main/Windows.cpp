#include "main/Windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <map>

namespace Windows {

namespace {

struct Registry {
    std::map<Kind, Factory> factories;
    std::map<Kind, QPointer<QWidget>> loaded;
    std::function<void(QWidget*)> host;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void Register(Kind kind, Factory factory) { TheRegistry().factories[kind] = std::move(factory); }

QWidget* Find(Kind kind) {
    auto& loaded = TheRegistry().loaded;
    auto it = loaded.find(kind);
    return it == loaded.end() ? nullptr : it->second.data();
}

QWidget* Open(Kind kind) {
    Registry& registry = TheRegistry();
    if (QWidget* window = Find(kind)) {
        QWidget* frame = window->parentWidget();
        if (auto* sub = qobject_cast<QMdiSubWindow*>(frame)) {
            sub->showNormal();
            sub->raise();
            if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
        } else {
            window->show();
            window->raise();
        }
        return window;
    }
    auto factory = registry.factories.find(kind);
    if (factory == registry.factories.end() || !factory->second) return nullptr;
    QWidget* window = factory->second();
    if (!window) return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    registry.loaded[kind] = window;
    if (registry.host)
        registry.host(window);
    else
        window->show();
    return window;
}

void Close(QWidget* window) {
    if (!window) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

void UnloadAll() {
    for (auto& [kind, window] : TheRegistry().loaded) {
        if (!window) continue;
        QWidget* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        QPointer<QWidget> target = frame ? frame : window.data();
        // A close that a window refuses would leave it behind a dead link; unload regardless.
        // A closed window would only be deleted once the event loop runs again, which it does
        // not on the way out of the program: unload it now, so its unload handler runs.
        target->close();
        delete target.data();
    }
    TheRegistry().loaded.clear();
}

void SetHost(std::function<void(QWidget*)> showInside) { TheRegistry().host = std::move(showInside); }

}  // namespace Windows
