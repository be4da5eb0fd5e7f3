#pragma once
// What every text box of every form does, whichever pane built it:
// - a one-line box shows the start of a text the program puts in (the typed
//   end of a long address or subject tells the user least);
// - a read-only box looks read-only, so typing into it is not silently lost;
// - Tab moves on from a multi-line box to the next control, and Ctrl+Tab
//   types the tab character where one belongs in the text.
// Installed once on the application; windows built before or after keep it.

void Install_Form_Conventions();
