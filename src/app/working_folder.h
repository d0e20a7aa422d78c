// The working folder: where the program keeps its state between runs.
//
// At start-up the main window settles the folder <application data>/Snapord/<version>, provides the
// catalogue there, makes it the current directory for the rest of the run and honours the first-run
// marker. These functions are those steps; failures are silent, as the program goes on in whatever
// the current directory then is. Called on the UI thread before any state file is opened.
#pragma once

#include <string>
#include <string_view>

#include "platform/app_data.h"

// <base>/<product>/<version>, joined with the platform's separator.
std::string workingFolderPath(std::string_view base);

// Creates the base folder (with its parents, when missing), <base>/<product> and the working folder in
// it, ignoring failures (the folders may exist).
// Returns the working folder's path.
std::string createWorkingFolder(std::string_view base);

// When the working folder's catalogue cannot be opened for reading, copies the catalogue of
// `startFolder` (the directory the program was started in) over it. A readable catalogue is kept.
void provideCatalogue(std::string_view workingFolder, std::string_view startFolder);

// First-run marker: when it exists, the order in progress is emptied and, only if that worked, the
// marker is deleted. Runs in the current directory. Returns true when the order was emptied.
bool honourFirstRunMarker();

// Steps 2 to 6 of the main window's start-up, in order: find the base folder, create the working
// folder, provide the catalogue from the current directory or else from the program's data folder
// (where an installed program keeps it), change into the working folder and
// honour the first-run marker. Records the working folder (see workingFolder()) and returns it.
std::string settleWorkingFolder(const platform::EnvironmentLookup& environment = platform::systemEnvironment);

// The working folder recorded by settleWorkingFolder; empty before.
const std::string& workingFolder();
