#pragma once

class FilePicker;
class TMainScreen;

// The handlers of the project bar, the application band, the Accounts page
// and the Select Accounts page, attached to the window once it is built.
void WireProjectHandlers(TMainScreen& window);

// Call points for the window's start-up and shut-down.
void SaveLoadedProject(TMainScreen& window);
void SaveShownAccount(TMainScreen& window);
void FillAvailableAccounts(TMainScreen& window);

// Lets tests answer the application picker from a script.
void SetAppFilePicker(TMainScreen& window, FilePicker& picker);
