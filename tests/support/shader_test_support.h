// Helpers shared by the shader tests: counting log lines by their start, and
// files written into the test's temporary folder.
#pragma once

#include <string>
#include <vector>

#include "orv_test_log.h"

// How many of the log's tagged lines start with prefix.
int countStartingWith(const OrvTestLog& log, const std::string& prefix);

// Writes bytes into the file name in folder and returns the file's path.
std::string writeFile(const std::string& folder, const std::string& name, const std::string& bytes);
