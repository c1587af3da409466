#pragma once
// The application object: chooses the resource set, runs the main dialog, and ends the process
// when the dialog ends.

#include <QStringList>

class CProgrammerApp {
  public:
    // Command line: [FILE] opens FILE at start-up as Open would; --screenshot OUT.png [FILE]
    // renders the main window to a PNG and returns without waiting for a person.
    int InitInstance(const QStringList& arguments);
};
