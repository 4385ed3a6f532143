// Helpers shared by the shader tests: log lines with their level tag, and
// files written into the test's temporary folder.
#pragma once

#include <string>
#include <vector>

#include "orv_test_log.h"

// "<!>[WARNING]#" followed by the message.
std::string warningLine(const std::string& message);
// "<*>[DEBUG]#" followed by the message.
std::string debugLine(const std::string& message);

// The lines of the log, each as its level tag followed directly by the
// message (the time text between them dropped). A message that holds a line
// break (a compiler log) goes on as lines of its own.
std::vector<std::string> taggedLines(const OrvTestLog& log);
// How many of those lines start with prefix.
int countStartingWith(const OrvTestLog& log, const std::string& prefix);

// Writes bytes into the file name in folder and returns the file's path.
std::string writeFile(const std::string& folder, const std::string& name, const std::string& bytes);
