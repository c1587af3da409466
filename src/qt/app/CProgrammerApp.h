#pragma once
// The application object: chooses the resource set, runs the main dialog, and ends the process
// when the dialog ends.

#include <QStringList>

#include <string>
#include <vector>

class CProgrammerApp {
  public:
    // Command line: [FILE] opens FILE at start-up as Open would; --screenshot OUT.png [FILE]
    // renders the main window to a PNG and returns without waiting for a person. rawArguments
    // are the same arguments as the system's bytes (UTF-8 on Windows): FILE is opened as given,
    // also when its name is no valid UTF-8.
    int InitInstance(const QStringList& arguments, const std::vector<std::string>& rawArguments);
};
