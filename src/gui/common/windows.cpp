#include "gui/common/windows.h"

namespace kalvado {

Windows::~Windows() {
    destroyAll();
}

QWidget *Windows::load(WindowId id) {
    QPointer<QWidget> &slot = m_windows[id];
    if (!slot) {
        const auto factory = m_factories.constFind(id);
        if (factory == m_factories.constEnd()) return nullptr;
        slot = (*factory)();
    }
    return slot.data();
}

bool Windows::isLoaded(WindowId id) const {
    const auto it = m_windows.constFind(id);
    return it != m_windows.constEnd() && !it->isNull();
}

QWidget *Windows::show(WindowId id) {
    QWidget *w = load(id);
    if (!w) return nullptr;
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void Windows::destroyAll() {
    const auto windows = m_windows;
    m_windows.clear();
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
}

} // namespace kalvado
