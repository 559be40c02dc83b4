// The main window's references to its sub-windows.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <typeindex>
#include <unordered_map>

namespace sonoria {

// Clears the reference, then closes the window. Qt deletes a closed window
// later, so a reference cleared only at its deletion would still point at it
// when the next opener looks.
template <typename Window>
void CloseAndForget(QPointer<Window>& reference) {
    Window* window = reference.data();
    reference.clear();
    if (window != nullptr) window->close();
}

// The window behind the reference, unless it is already closing (hidden for
// good and waiting for its deletion); a closing window's reference is cleared.
template <typename Window>
Window* LiveWindow(QPointer<Window>& reference) {
    if (!reference.isNull() && !reference->isVisible()) reference.clear();
    return reference.data();
}

// One reference per kind of sub-window (the main window opens at most one of
// each): a reference is found by the window's type and cleared when the
// window is deleted.
class SubWindowRegistry {
public:
    // The reference to the window of this type, made empty on first use; it
    // stays where it is for the registry's lifetime.
    template <typename Window>
    QPointer<Window>& Ref() {
        std::unique_ptr<Slot>& slot = slots_[std::type_index(typeid(Window))];
        if (!slot) slot = std::make_unique<TypedSlot<Window>>();
        return static_cast<TypedSlot<Window>&>(*slot).reference;
    }
    // The window of this type, or null.
    template <typename Window>
    Window* Find() const {
        const auto found = slots_.find(std::type_index(typeid(Window)));
        return found == slots_.end() ? nullptr : static_cast<const TypedSlot<Window>&>(*found->second).reference.data();
    }

    // Clears the reference first (Qt deletes a closed window later) and hands
    // the window over to be closed.
    template <typename Window>
    Window* Take() {
        QPointer<Window>& reference = Ref<Window>();
        Window* window = reference.data();
        reference.clear();
        return window;
    }
    template <typename Window>
    void CloseAndForget() {
        if (Window* window = Take<Window>()) window->close();
    }

private:
    struct Slot {
        virtual ~Slot() = default;
    };
    template <typename Window>
    struct TypedSlot : Slot {
        QPointer<Window> reference;
    };
    std::unordered_map<std::type_index, std::unique_ptr<Slot>> slots_;
};

}  // namespace sonoria
