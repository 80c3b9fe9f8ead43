#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace kalvado {

enum class WindowId { Splash, Kalv, Pro, Tims, New, Data, Stat, Finans, Opt, ForAs, Pazar, Istoria, Proverka };

// Creates each window on first use, keeps it, and brings it forward when it
// is shown again. A window that deletes itself on closing is made afresh by
// its next use, which runs its load behaviour again.
class Windows final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Windows)

public:
    using Factory = std::function<QWidget *()>;

    explicit Windows(QObject *parent = nullptr) : QObject(parent) {}
    ~Windows() override;

    void setFactory(WindowId id, Factory factory) { m_factories.insert(id, std::move(factory)); }

    // The window, created hidden when it is not loaded yet.
    QWidget *load(WindowId id);
    bool isLoaded(WindowId id) const;
    // Loads, shows without blocking, and brings the window to the front.
    QWidget *show(WindowId id);
    // Closes every loaded window without running closing handlers.
    void destroyAll();

    template <class T> T *get(WindowId id) { return qobject_cast<T *>(load(id)); }
    // Only when already loaded; never creates.
    template <class T> T *ifLoaded(WindowId id) const {
        return isLoaded(id) ? qobject_cast<T *>(m_windows.value(id).data()) : nullptr;
    }

private:
    QHash<WindowId, Factory> m_factories;
    QHash<WindowId, QPointer<QWidget>> m_windows;
};

} // namespace kalvado
