#pragma once
// Process-wide state has owners. GlobalVariables holds the paths and the
// hand-over flags; everything else the engine keeps between calls lives in a
// few objects, one per concern (the settings, the engine's hooks, the outbox
// senders, the mail intake, the lead import), each made at first use by
// Owned_State and told by Reset_Process_State to go back to a new start.

// Everything back to the state of a new start: GlobalVariables and every
// owned object (the test fixtures call it before and after each test).
void Reset_Process_State();

// Adds a reset that Reset_Process_State runs; returns true.
bool Register_State_Reset(void (*reset)());

// The one object of type T, made at first use; its Reset() runs at every
// Reset_Process_State.
template <typename T>
T& Owned_State()
{
    static T state;
    [[maybe_unused]] static const bool registered = Register_State_Reset([] { state.Reset(); });
    return state;
}
