// A key pressed in a control, as the windows' key-down handlers see it.
#pragma once

namespace ui {

enum class Key {
    Other,
    Backspace,
    // Delete: `extended` tells the key of the navigation block (true) from the keypad's (false).
    Delete,
    Enter,
    Escape,
    F1,
    Up,
    Down,
    Space,
};

struct KeyEvent {
    Key key = Key::Other;
    bool extended = false;
    // How many presses this event stands for (auto-repeat may fold several into one).
    int repeatCount = 1;
    // Whether the key was already down before this event: true for every auto-repeated press.
    bool previouslyDown = false;

    // The first press of a key, not a repetition of a held key.
    bool isFirstPress() const { return repeatCount == 1 && !previouslyDown; }
};

}  // namespace ui
