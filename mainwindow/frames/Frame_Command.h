#pragma once
// A command of a frame's toolbar, run the one way every frame runs them.

#include <QString>
#include <functional>

class Key_Toolbar;
class Pending_Edits;

// Runs the command once the shown contact's edits are stored, with the
// toolbar off meanwhile: a posting's pause handles clicks, and a second click
// must not post again. A database failure is shown as "Error on " +
// Operation + ": " + its description.
void Run_Frame_Command(Key_Toolbar& Toolbar, Pending_Edits& Edits, const QString& Operation,
                       const std::function<void()>& Command);
