// Keys marked as held in this thread's keyboard state (Ctrl for Ctrl+Tab) while the object lives, so that
// a key sent to a window reads them as down; the previous state comes back at the end.
#pragma once
#include <windows.h>

#include <initializer_list>

class THeldKeys {
public:
    explicit THeldKeys(std::initializer_list<BYTE> keys)
    {
        GetKeyboardState(saved_);
        for (BYTE vk : keys) Hold(vk);
    }
    ~THeldKeys() { SetKeyboardState(saved_); }
    THeldKeys(const THeldKeys&) = delete;
    THeldKeys& operator=(const THeldKeys&) = delete;

    void Hold(BYTE vk)
    {
        BYTE state[256];
        GetKeyboardState(state);
        state[vk] = 0x80;
        SetKeyboardState(state);
    }

private:
    BYTE saved_[256];
};
